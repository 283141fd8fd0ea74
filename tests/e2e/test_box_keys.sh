# Keys in the quit question: Space answers nothing (no focused button), F2
# and the arrow keys start nothing underneath; the box has no resize handle.
# The main window's own keys still step the scales.
source "$E2E_DIR/lib.sh"

start_fresh_viewer
config_before=$(md5sum <"$DIR/VOXA32VW.CFG")

# The left part of the data window with the frequency labels under it; the
# quit question, centred on the data window, does not cover it.
import -window root "$E2E_WORK/before.png"
client_origin "$WID" 450
find_sigwin "$E2E_WORK/before.png"
plot_part() {
    convert "$1" -crop "160x320+$((SIGWIN_X - 20))+$SIGWIN_Y" +repage rgb:- | md5sum
}
plot_before=$(plot_part "$E2E_WORK/before.png")

box=$(open_by_keys '^Sonivex$' Escape)

# A message box is not resizable: no handle along its bottom edge.
frame_extents "$box"
[ "$FRAME_BOTTOM" -le "$FRAME_LEFT" ] || fail "the box has a bottom strip of $FRAME_BOTTOM pixels"

xdotool key space
sleep 0.5
kill -0 "$VIEWER_PID" 2>/dev/null || fail "Space in the quit question ended the viewer"
xdotool search --onlyvisible --name '^Sonivex$' >/dev/null || fail "Space closed the quit question"
[ "$(md5sum <"$DIR/VOXA32VW.CFG")" = "$config_before" ] || fail "Space saved the configuration"

xdotool key F2
expect_no_window '^File Name Selection$' 1
xdotool key Right Up ctrl+Right
sleep 0.5
import -window root "$E2E_WORK/in-box.png"
[ "$(plot_part "$E2E_WORK/in-box.png")" = "$plot_before" ] || fail "keys in the box changed the plot"

xdotool key Escape
wait_window_gone '^Sonivex$'
kill -0 "$VIEWER_PID" 2>/dev/null || fail "the viewer ended"
[ "$(md5sum <"$DIR/VOXA32VW.CFG")" = "$config_before" ] || fail "Esc saved the configuration"

# In the main window itself the arrow key scrolls.
xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
xdotool key Right
sleep 0.5
import -window root "$E2E_WORK/scrolled.png"
[ "$(plot_part "$E2E_WORK/scrolled.png")" != "$plot_before" ] || fail "Right in the main window did not scroll"

quit_viewer "$WID"
echo "keys in a box: ok"
