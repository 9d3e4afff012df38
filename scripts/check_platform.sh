#!/usr/bin/env bash
# Fails when a header only POSIX systems have is included in src/ or app/
# outside a platform/posix/ folder: what needs one goes behind a seam (a
# platform-neutral header beside its layer, implemented in
# platform/posix/*.cpp), so a Windows build replaces files, never edits layers.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
headers='unistd\.h|sys/[^>"]+|poll\.h|termios\.h|fcntl\.h|csignal|signal\.h|arpa/[^>"]+'
headers+='|netinet/[^>"]+|netdb\.h|net/[^>"]+|pthread\.h|dlfcn\.h|dirent\.h|pwd\.h|grp\.h'
headers+='|semaphore\.h|spawn\.h|syslog\.h|ifaddrs\.h|pty\.h|utmp\.h|termio\.h|linux/[^>"]+'
headers+='|sched\.h|strings\.h|libgen\.h|glob\.h|mqueue\.h|aio\.h|err\.h|execinfo\.h'
found=$(find src app -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) \
            -not -path '*/platform/posix/*' -print0 \
        | xargs -0 grep -nHE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($headers)[>\"]" \
        || true)
if [ -n "$found" ]; then
    echo "POSIX headers outside platform/posix/ (put the call behind a seam):"
    echo "$found"
    exit 1
fi
echo "platform check passed: no POSIX header outside platform/posix/ in src/ and app/"
