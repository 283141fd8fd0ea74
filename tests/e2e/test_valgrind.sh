# The start, load, zoom and quit path of the real binary under Valgrind's
# memcheck: no invalid read or write, no use of an undefined value, no bad
# free. Leaks are not counted (the windows live until the process ends).
# Qt's own known reports are suppressed by tests/valgrind.supp.
source "$E2E_DIR/lib.sh"

command -v valgrind >/dev/null || fail "valgrind is not installed"
make_examples=$(dirname "$VIEWER_BINARY")/make_examples
[ -x "$make_examples" ] || fail "build the make_examples target first ($make_examples)"

dir=$(make_program_dir)
"$make_examples" "$dir"
log=$E2E_WORK/memcheck.log
(cd "$dir" && exec valgrind --tool=memcheck --error-exitcode=99 --track-origins=yes \
    --suppressions="$E2E_DIR/../valgrind.supp" --gen-suppressions=all --log-file="$log" \
    ./voxa32vw /Init /: >"$E2E_WORK/viewer.log" 2>&1) &
VIEWER_PID=$!

# Everything runs ten to fifty times slower under memcheck.
slow_wait_window() {
    local pattern=$1 wid=""
    for _ in $(seq 1200); do
        wid=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        kill -0 "$VIEWER_PID" 2>/dev/null || break
        sleep 0.1
    done
    tail -n 30 "$log" >&2
    fail "no window named '$pattern' appeared"
}
activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
    sleep 2
}

wid=$(slow_wait_window '^ Sonivex$')
activate "$wid"
xdotool key F1                              # load a frequency response
box=$(slow_wait_window '^File Name Selection$')
activate "$box"
xdotool key Tab Down Return                 # the first listed file, SPEAKER.EA
sleep 5
activate "$wid"
import -window root "$E2E_WORK/loaded.png"
lime=$(convert "$E2E_WORK/loaded.png" -depth 8 txt:- | grep -c '#00FF00' || true)
[ "$lime" -gt 50 ] || fail "the loaded curve is not drawn ($lime lime pixels)"
xdotool key ctrl+Up                         # ZoomYButton: a finer level range
sleep 5
activate "$wid"
xdotool key Escape
quit=$(slow_wait_window '^Sonivex$')
activate "$quit"
xdotool key Return

EXIT_CODE=0
for _ in $(seq 1200); do
    kill -0 "$VIEWER_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$VIEWER_PID" 2>/dev/null && fail "the viewer did not end"
wait "$VIEWER_PID" || EXIT_CODE=$?

[ "$EXIT_CODE" = 0 ] || { cat "$log" >&2; fail "exit code $EXIT_CODE"; }
summary=$(grep 'ERROR SUMMARY' "$log" | tail -1)
echo "memcheck: $summary"
echo "$summary" | grep -q 'ERROR SUMMARY: 0 errors' || { cat "$log" >&2; fail "memcheck reported errors"; }
[ "$(stat -c %s "$dir/VOXA32VW.CFG")" = 6808 ] || fail "configuration is not 6808 bytes"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 4284)" != 60 ] || fail "the zoom did not change the level range"
echo "valgrind: ok"
