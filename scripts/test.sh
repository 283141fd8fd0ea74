#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite: unit,
# widget, sound and end-to-end tests (one of them under Valgrind), the soak of
# 10,000 loads, a bounded run of each fuzz target, and last the unit and
# widget tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
jobs=$(nproc)

bash "$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j "$jobs" -LE soak)
(cd "$root/build" && ctest --output-on-failure -L soak)

bash "$root/scripts/fuzz.sh" --bounded "${FUZZ_SECONDS:-60}"

bash "$root/scripts/build.sh" "$root/build-asan" -DVOXA_SANITIZE=ON -DVOXA_BENCHMARKS=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" -LE 'e2e|soak')

