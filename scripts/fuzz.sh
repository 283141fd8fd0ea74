#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz (apart from the
# normal and the sanitizer builds): the core they call is compiled with
# coverage instrumentation, AddressSanitizer and UndefinedBehaviorSanitizer,
# so libFuzzer is guided by the code under test. Then fuzzes each target.
#
#   scripts/fuzz.sh --bounded [SECONDS] [TARGET...]
#       the test suite's run: one process per target for SECONDS (default 60)
#       on a copy of its seed corpus; the corpus in the tree is not changed.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#       a campaign by hand on all cores (libFuzzer -fork) for SECONDS per
#       target (default 3600); what raises the coverage is merged into the
#       seed corpus fuzz/corpus/<target>.
#
# Prints for each target the executions, the edges covered (cov), the
# features (ft) and the corpus size at the end. Fails when a target covers
# fewer edges than its floor in fuzz/coverage-floors (lost instrumentation or
# seeds), or when it finds a crash, leak or timeout: the input is then copied
# into fuzz/regressions/<target>/, which core_tests replays.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bounded=0
if [ "${1:-}" = --bounded ]; then
    bounded=1
    shift
fi
seconds=${1:-$([ $bounded = 1 ] && echo 60 || echo 3600)}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(curve_file settings_layout file_names box_texts curve_text stats_partial
    limit_text stats_csv file_list)
build=$root/build-fuzz
cores=$(nproc)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DVOXA_FUZZ=ON -DVOXA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j "$cores" $(printf 'fuzz_%s ' "${targets[@]}")

# The largest input each target needs: a curve file with 32768 values, a
# configuration file with a few bytes beyond its 6808, short texts, and a
# curve text, a limit text or a statistics CSV of a few hundred lines, a partial of a few curves on a
# coarse grid, a file list of some dozen names.
declare -A max_len=([curve_file]=131100 [settings_layout]=7000 [file_names]=600 [box_texts]=4096
    [curve_text]=8192 [limit_text]=8192 [stats_partial]=4096
    [stats_csv]=8192 [file_list]=4096)
declare -A floor
while read -r name edges; do
    [ -n "$name" ] && [ "${name:0:1}" != "#" ] && floor[$name]=$edges
done <"$root/fuzz/coverage-floors"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
# The box target makes files for every input: in memory where it can.
files_dir=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && files_dir=/dev/shm
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The last status line of a libFuzzer log, as "EXECS COV FT CORPUS"; both the
# single-process form "#123 DONE cov: 4 ft: 5 corp: 6/7b" and the fork form
# "#123: cov: 4 ft: 5 corp: 6 exec/s ..." are read.
final_figures() {
    grep -aE '^#[0-9]+:?[[:space:]].*cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$1" | tail -1 |
        sed -E 's/^#([0-9]+):?[[:space:]].*cov: ([0-9]+) ft: ([0-9]+) corp: ([0-9]+).*/\1 \2 \3 \4/'
}

keep_findings() {
    local t=$1 artifacts=$2 found
    for found in "$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* \
        "$artifacts"/oom-* "$artifacts"/slow-unit-*; do
        [ -e "$found" ] || continue
        mkdir -p "$root/fuzz/regressions/$t"
        cp "$found" "$root/fuzz/regressions/$t/"
        echo "fuzz_$t: input kept as fuzz/regressions/$t/$(basename "$found")"
    done
}

status=0
for t in "${targets[@]}"; do
    work=$(mktemp -d)
    artifacts=$(mktemp -d)
    cp -r "$root/fuzz/corpus/$t/." "$work/"
    options=("$work" -max_total_time="$seconds" -max_len="${max_len[$t]}" -timeout=10
        -rss_limit_mb=2048 -artifact_prefix="$artifacts/")
    if [ $bounded = 1 ]; then
        echo "== fuzz_$t: ${seconds} s, 1 process"
    else
        echo "== fuzz_$t: ${seconds} s, -fork=$cores"
        options+=(-fork="$cores")
    fi
    ok=1
    TMPDIR=$files_dir "$build/fuzz/fuzz_$t" "${options[@]}" >"$artifacts/log" 2>&1 || ok=0
    read -r execs cov ft corpus <<<"$(final_figures "$artifacts/log")" || true
    if [ $ok = 0 ] || [ -z "${cov:-}" ]; then
        status=1
        tail -n 40 "$artifacts/log"
        keep_findings "$t" "$artifacts"
    else
        echo "fuzz_$t: executions $execs, cov: $cov, ft: $ft, corpus $corpus inputs"
        if [ "$cov" -lt "${floor[$t]}" ]; then
            echo "fuzz_$t: FAIL: $cov edges covered, fewer than the floor ${floor[$t]}"
            status=1
        fi
        if [ $bounded = 0 ]; then
            before=$(ls "$root/fuzz/corpus/$t" | wc -l)
            "$build/fuzz/fuzz_$t" -merge=1 -max_len="${max_len[$t]}" \
                "$root/fuzz/corpus/$t" "$work" >"$artifacts/merge.log" 2>&1
            echo "fuzz_$t: seed corpus $before -> $(ls "$root/fuzz/corpus/$t" | wc -l) inputs"
        fi
    fi
    cov=""
    rm -rf "$work" "$artifacts"
done
exit $status
