#!/usr/bin/env bash
# Formats every C and C++ source with the project's .clang-format;
# with --check, only reports files that differ and fails if any do.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run -Werror "${files[@]}"
    echo "format check passed (${#files[@]} files)"
else
    clang-format -i "${files[@]}"
fi
