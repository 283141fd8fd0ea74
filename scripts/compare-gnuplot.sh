#!/usr/bin/env bash
# Renders the same generated curves (default 1,000 responses of N = 4096) as
# 640 x 450 PNG pictures with `voxacurve render --each` (all cores) and with
# gnuplot's pngcairo terminal in one gnuplot process (a `do for` loop), and
# prints both wall times and their ratio, measured in the same run.
#
#   scripts/compare-gnuplot.sh [COUNT [BUILD_DIR]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-1000}
build=${2:-$root/build}
voxacurve=$build/voxacurve
command -v gnuplot >/dev/null || { echo "gnuplot is missing: bash scripts/install-deps.sh" >&2; exit 1; }
[ -x "$voxacurve" ] || { echo "$voxacurve is missing: bash scripts/build.sh" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make_curves.py" "$count" "$work/curves"
mkdir -p "$work/voxacurve" "$work/gnuplot"

now() { date +%s.%N; }
seconds() { python3 -c "print(f'{$2 - $1:.3f}')"; }

# The picture gnuplot draws: the curve over a logarithmic frequency axis with
# its grid, the level axis of the viewer's fresh scale (40 to 100 dB).
cat >"$work/plot.gp" <<GP
set terminal pngcairo size 640,450
set logscale x
set xrange [20:20000]
set yrange [40:100]
set grid
set xlabel "Hz"
set ylabel "dB"
do for [i=1:$count] {
    set output sprintf("$work/gnuplot/CURVE%04d.png", i)
    plot sprintf("$work/curves/CURVE%04d.dat", i) with lines notitle
}
GP

start=$(now)
"$voxacurve" render --each "$work"/curves/*.EA -o "$work/voxacurve" --size 640x450 2>"$work/voxacurve.log"
end=$(now)
ours=$(seconds "$start" "$end")

start=$(now)
gnuplot "$work/plot.gp"
end=$(now)
theirs=$(seconds "$start" "$end")

made=$(find "$work/voxacurve" -name '*.png' | wc -l)
plotted=$(find "$work/gnuplot" -name '*.png' | wc -l)
[ "$made" = "$count" ] && [ "$plotted" = "$count" ] ||
    { echo "pictures made: voxacurve $made, gnuplot $plotted of $count" >&2; exit 1; }
echo "pictures: $count, 640 x 450 PNG, N = 4096, $(nproc) cores"
echo "voxacurve render --each: $ours s ($(python3 -c "print(f'{$ours / $count * 1000:.2f}')") ms a picture)"
echo "gnuplot pngcairo loop:   $theirs s ($(python3 -c "print(f'{$theirs / $count * 1000:.2f}')") ms a picture)"
echo "ratio gnuplot / voxacurve: $(python3 -c "print(f'{$theirs / $ours:.2f}')")"
