#!/usr/bin/env bash
# The English translation against the source: `update` brings
# translations/svterminal_en.ts up to date with every text in src/ and app/
# (new texts come in unfinished, for a translator to fill in with Qt
# Linguist); `check` fails, naming them, when a text has no English yet or
# the file still holds texts the source no longer has.
# Usage: scripts/translations.sh update|check [LUPDATE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-check}
lupdate=${2:-lupdate}
ts=$root/translations/svterminal_en.ts
run_lupdate()
{
    "$lupdate" -silent -locations none -no-ui-lines -source-language zh_CN -target-language en \
        "$root/src" "$root/app" -ts "$1"
}
case $mode in
update)
    run_lupdate "$ts"
    ;;
check)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$ts" "$work/check.ts"
    run_lupdate "$work/check.ts"
    python3 - "$work/check.ts" <<'PY'
import sys, xml.etree.ElementTree as tree
problems = []
for context in tree.parse(sys.argv[1]).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        kind = message.find('translation').get('type')
        if kind in ('unfinished', 'vanished', 'obsolete'):
            problems.append('%s: %s: %s' % (kind, name, message.findtext('source')))
for line in problems:
    print(line)
if problems:
    print('%d text(s) without English or no longer in the source: '
          'bash scripts/translations.sh update, then translate them' % len(problems))
    sys.exit(1)
PY
    ;;
*)
    sed -n '2,7p' "$0" >&2
    exit 2
    ;;
esac
