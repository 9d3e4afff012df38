#!/usr/bin/env bash
# The translations against the source (Chinese): `update` brings every
# translations/svterminal_<code>.ts up to date with every text in src/ and
# app/ (new texts come in unfinished, for a translator to fill in with Qt
# Linguist); `add CODE` starts the file of a new language; `check` fails,
# naming them, when a text has no translation yet or a file still holds
# texts the source no longer has.
# Usage: scripts/translations.sh update|check [LUPDATE] | add CODE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-check}
lupdate=${2:-lupdate}
run_lupdate()
{
    local code
    code=$(basename "$1" .ts)
    code=${code##*_}
    "$lupdate" -silent -locations none -no-ui-lines -source-language zh_CN -target-language "$code" \
        "$root/src" "$root/app" -ts "$@"
}
case $mode in
add)
    [ -n "${2:-}" ] || { echo "usage: $0 add CODE" >&2; exit 2; }
    lupdate=lupdate
    run_lupdate "$root/translations/svterminal_$2.ts"
    echo "translations/svterminal_$2.ts: translate it with linguist, add $2 to SVT_LANGUAGES in resources/CMakeLists.txt"
    ;;
update)
    # Texts the source no longer has go; new ones come in unfinished.
    for ts in "$root"/translations/svterminal_*.ts; do run_lupdate "$ts" -no-obsolete; done
    ;;
check)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    for ts in "$root"/translations/svterminal_*.ts; do
        cp "$ts" "$work/"
        run_lupdate "$work/$(basename "$ts")"
    done
    python3 - "$work"/*.ts <<'PY'
import sys, xml.etree.ElementTree as tree
problems = []
for path in sys.argv[1:]:
  for context in tree.parse(path).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        kind = message.find('translation').get('type')
        if kind in ('unfinished', 'vanished', 'obsolete'):
            problems.append('%s: %s: %s: %s' % (path.rsplit('/', 1)[-1], kind, name,
                                               message.findtext('source')))
for line in problems:
    print(line)
if problems:
    print('%d text(s) without translation or no longer in the source: '
          'bash scripts/translations.sh update, then translate them' % len(problems))
    sys.exit(1)
PY
    ;;
*)
    sed -n '2,7p' "$0" >&2
    exit 2
    ;;
esac
