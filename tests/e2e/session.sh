# Sourced by the test runners: a private work directory (E2E_WORK) holding a
# runtime directory of mode 0700 (XDG_RUNTIME_DIR). At the end every process
# whose PID is in pids is ended and the directory removed; a runner may
# define on_failure to show its logs first.
work=$(mktemp -d)
export E2E_WORK=$work
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
pids=()
on_failure() { :; }
cleanup() {
    local status=$?
    [ "$status" = 0 ] || on_failure
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a private X server on a free display, with a screen of the size
# given (WIDTHxHEIGHT; 1024x768 without); sets XVFB_DISPLAY (":N").
# -noreset: without a window manager the server would reset whenever its
# last client leaves, and a program starting just then finds no display.
start_xvfb() {
    local fifo=$work/display.fifo number
    mkfifo "$fifo"
    Xvfb -displayfd 7 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 7>"$fifo" 2>"$work/xvfb.log" &
    pids+=($!)
    read -r number <"$fifo"
    XVFB_DISPLAY=:$number
}
