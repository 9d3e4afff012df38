#!/usr/bin/env bash
# Installs what is needed, checks the formatting, builds and runs every test,
# then builds and runs them all again under AddressSanitizer and
# UndefinedBehaviorSanitizer, failing on any report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/deps.sh
bash scripts/format.sh --check

bash scripts/build.sh "$root/build"
(cd build && ctest --output-on-failure -j"$(nproc)")

bash scripts/build.sh "$root/build-asan" -DSVT_SANITIZE=ON -DSVT_BUILD_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
