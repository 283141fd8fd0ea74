#!/usr/bin/env bash
# voxa_bench writes Google Benchmark's output in the format asked and the
# ratio table after it: on the standard output after the console table, on
# the standard error with json and csv, so that their readers keep working.
# Usage: test_output_formats.sh VOXA_BENCH
set -euo pipefail
bench=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { # FORMAT
    QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter='^BM_LogFloor$' \
        --benchmark_min_time=0.01 --benchmark_format="$1" >"$work/$1.out" 2>"$work/$1.err"
}

for format in json csv console; do
    run "$format"
done
/usr/bin/python3 - "$work" <<'PY' || fail "the output is not in the format asked"
import csv, json, sys
work = sys.argv[1]
runs = json.load(open(f"{work}/json.out"))["benchmarks"]
assert [r["name"] for r in runs] == ["BM_LogFloor"], runs
rows = list(csv.reader(open(f"{work}/csv.out")))
assert rows[0][0] == "name" and rows[-1][0].strip('"') == "BM_LogFloor", rows
PY
for format in json csv; do
    grep -q 'ratio to BM_LogFloor' "$work/$format.err" || fail "no ratio table on stderr with $format"
done
tail -3 "$work/console.out" | grep -q 'BM_LogFloor .*1.00x' || fail "the console output does not end with the ratios"
echo "output formats: ok"
