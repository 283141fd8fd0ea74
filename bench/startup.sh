#!/usr/bin/env bash
# Start-up time of the viewer against a bare Qt Widgets window of the same
# size with a menu bar, both built alike: from just before the start to the
# map of the first window, in one private X server without a window manager,
# started in turn; the fastest of RUNS starts of each counts (the machine's
# noise only ever adds time). Prints both times and their ratio.
# Usage: bench/startup.sh [BUILD_DIR [RUNS]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-15}
for program in voxa32vw bare_window wait_mapped; do
    [ -x "$build/$program" ] || { echo "missing $build/$program: build it first" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

fifo=$work/display.fifo
mkfifo "$fifo"
# -noreset: the server would otherwise reset whenever its last client leaves,
# refusing connections meanwhile.
Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp -noreset 7>"$fifo" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r display <"$fifo"
export DISPLAY=:$display

# The viewer in a program directory of its own, with the configuration its
# first start writes.
program_dir=$work/program
mkdir "$program_dir"
cp "$build/voxa32vw" "$program_dir/"
cd "$program_dir"
"$build/wait_mapped" ./voxa32vw /Init /: >/dev/null
[ -f VOXA32VW.CFG ] || { echo "the viewer wrote no configuration" >&2; exit 1; }

start_bare() { "$build/wait_mapped" "$build/bare_window"; }
start_viewer() { "$build/wait_mapped" ./voxa32vw /:; }

start_bare >/dev/null # one start each to fill the caches
start_viewer >/dev/null
bare_times=()
viewer_times=()
for _ in $(seq "$runs"); do
    bare_times+=("$(start_bare)")
    viewer_times+=("$(start_viewer)")
done

fastest() { printf '%s\n' "$@" | sort -n | head -1; }
bare=$(fastest "${bare_times[@]}")
viewer=$(fastest "${viewer_times[@]}")
awk -v b="$bare" -v v="$viewer" -v n="$runs" 'BEGIN {
    printf "bare Qt window: %.1f ms (fastest of %d)\n", b / 1000, n
    printf "viewer:         %.1f ms (fastest of %d)\n", v / 1000, n
    printf "ratio:          %.2f\n", v / b
}'
