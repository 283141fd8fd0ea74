#!/usr/bin/env bash
# Runs one Wayland test script against the viewer under weston, Debian's
# reference compositor, with a private runtime directory and socket.
#
# Weston's headless backend has no input devices at all (no wl_seat), so no
# key can reach a client there. A script that drives the viewer by keys runs
# weston's X11 backend inside a private Xvfb instead: the compositor then owns
# a seat with a keyboard and a pointer, and xdotool's key presses on that X
# display reach the viewer as Wayland input. The viewer itself never sees an
# X display. A script with the line "# weston: headless" gets the headless
# backend. Both render with pixman, so weston-screenshooter takes pictures.
# Usage: run_in_weston.sh TEST_SCRIPT VIEWER_BINARY
set -euo pipefail
script=$1
export VIEWER_BINARY=$2
export E2E_DIR=$(cd "$(dirname "$0")/../e2e" && pwd)
export WAYLAND_TEST_DIR=$(cd "$(dirname "$0")" && pwd)

source "$E2E_DIR/session.sh"
on_failure() {
    echo "--- viewer's output" >&2
    cat "$work/viewer.log" >&2 2>/dev/null || true
    echo "--- weston log" >&2
    cat "$work/weston.log" >&2 || true
}

# No panel (its clock would change the pictures), a plain background, no
# on-screen keyboard popping up over the viewer's edit fields, and no key
# repeat for keys held down while a menu opens.
cat >"$work/weston.ini" <<'INI'
[core]
idle-time=0
[keyboard]
repeat-rate=0
[shell]
panel-position=none
background-color=0xff203040
[input-method]
path=
INI

backend=(--backend=x11-backend.so)
if grep -qx '# weston: headless' "$script"; then
    backend=(--backend=headless-backend.so)
else
    start_xvfb
    export INPUT_DISPLAY=$XVFB_DISPLAY
fi

# --debug lets weston-screenshooter take pictures and weston-debug list the
# windows on the screen.
export WAYLAND_DISPLAY=wayland-voxa
DISPLAY=${INPUT_DISPLAY:-} weston "${backend[@]}" --socket="$WAYLAND_DISPLAY" --use-pixman \
    --width=1024 --height=768 --config="$work/weston.ini" --debug \
    --log="$work/weston.log" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    weston-debug scene-graph 2>/dev/null | grep -q 'background for output' && break
    sleep 0.05
done
weston-debug scene-graph 2>/dev/null | grep -q 'background for output' \
    || { echo "FAIL: weston did not start" >&2; exit 1; }

# The viewer must speak Wayland only: no X display to fall back to.
unset DISPLAY
export QT_QPA_PLATFORM=wayland
bash "$script"
