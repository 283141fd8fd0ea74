#!/usr/bin/env bash
# Runs one end-to-end test script in a private X server with a window manager;
# a script with the line "# e2e: no window manager" gets a bare X server, one
# with "# e2e: screen WIDTHxHEIGHT" a screen of that size (default 1024x768).
# Usage: run_in_xvfb.sh TEST_SCRIPT VIEWER_BINARY
set -euo pipefail
script=$1
export VIEWER_BINARY=$2
export E2E_DIR=$(cd "$(dirname "$0")" && pwd)

source "$E2E_DIR/session.sh"
start_xvfb "$(sed -n 's/^# e2e: screen \([0-9]*x[0-9]*\)$/\1/p' "$script")"
export DISPLAY=$XVFB_DISPLAY
if ! grep -qx '# e2e: no window manager' "$script"; then
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi
unset QT_QPA_PLATFORM
bash "$script"
