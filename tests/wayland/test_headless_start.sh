# weston: headless
# A start with the splash picture under a compositor without any input
# device (no seat at all): the main window shows the data window of a fresh
# configuration, the configuration is written, the viewer prints nothing.
source "$WAYLAND_TEST_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init
wl_wait_window ' Sonivex' >/dev/null
found_data_window() { box=$(data_window "$1") && [ "${box#* * }" = "528 290" ]; }
wait_picture "no data window of 528 x 290 on the screen" found_data_window
[ "$(stat -c %s "$dir/VOXA32VW.CFG")" = 6808 ] || fail "no fresh configuration"
kill -0 "$VIEWER_PID" 2>/dev/null || fail "the viewer ended"
expect_quiet_viewer
kill "$VIEWER_PID"
wait "$VIEWER_PID" 2>/dev/null || true
echo "headless start: ok"
