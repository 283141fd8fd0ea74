#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz and runs each for a bounded time
# on a copy of its seed corpus. A crash, leak, timeout or broken property
# copies the input into fuzz/regressions/<target>/ (replayed by core_tests)
# and makes the script exit non-zero.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]    (default 60, all three)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(curve_file settings_layout file_names)
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DVOXA_FUZZ=ON -DVOXA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j "${JOBS:-1}" $(printf 'fuzz_%s ' "${targets[@]}")

# The largest input each target needs: a curve file with 32768 values, a
# configuration file with a few bytes beyond its 6808, and short texts.
declare -A max_len=([curve_file]=131100 [settings_layout]=7000 [file_names]=600)

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  artifacts=$(mktemp -d)
  cp -r "$root/fuzz/corpus/$t/." "$work/"
  echo "== fuzz_$t: ${seconds} s"
  if "$build/fuzz/fuzz_$t" "$work" -max_total_time="$seconds" -max_len="${max_len[$t]}" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      >"$artifacts/log" 2>&1; then
    grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$artifacts/log" || true
  else
    status=1
    tail -n 40 "$artifacts/log"
    for crash in "$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* \
        "$artifacts"/oom-* "$artifacts"/slow-unit-*; do
      [ -e "$crash" ] || continue
      cp "$crash" "$root/fuzz/regressions/$t/"
      echo "fuzz_$t: input kept as fuzz/regressions/$t/$(basename "$crash")"
    done
  fi
  rm -rf "$work" "$artifacts"
done
exit $status
