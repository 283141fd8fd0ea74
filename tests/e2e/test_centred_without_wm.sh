# The viewer centres its window on the screen itself: without a window
# manager, the outer 640 x 450 of a fresh configuration lies in the middle of
# the 1024 x 768 screen, so the client area starts at (196, 201) and the data
# window at (248, 269).
# e2e: no window manager
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 0.8
client_origin "$wid" 450
[ "$CLIENT_X,$CLIENT_Y" = 196,201 ] || fail "client area at $CLIENT_X,$CLIENT_Y"

shot=$E2E_WORK/centred.png
import -window root "$shot"
find_sigwin "$shot"
[ "$SIGWIN_X,$SIGWIN_Y" = 248,269 ] || fail "data window at $SIGWIN_X,$SIGWIN_Y on the screen"

kill "$VIEWER_PID"
wait "$VIEWER_PID" 2>/dev/null || true
echo "centred without a window manager: ok"
