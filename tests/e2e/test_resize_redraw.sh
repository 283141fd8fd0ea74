# After every change of size the data window shows its grid laid out for the
# new size: after a resize, a maximise and a restore (where the window
# manager maximises), and after a resize below the minimum snaps back.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 1
# The menu bar's height: Qt's window holds it above the 404 rows of the client
# area of a fresh 640 x 450 configuration.
eval "$(xdotool getwindowgeometry --shell "$wid")"
menubar=$((HEIGHT - 404))

# Screenshot, then the grid for the data window of the window's current size:
# SigWin is 104 pixels narrower and 114 rows lower than the client area.
check_grid_now() {
    local what=$1 shot=$E2E_WORK/grid.png
    sleep 1
    import -window root "$shot"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    client_origin "$wid" $((HEIGHT - menubar + 46))
    find_sigwin "$shot"
    convert "$shot" -depth 8 "$E2E_WORK/grid.ppm"
    python3 "$E2E_DIR/check_grid.py" "$E2E_WORK/grid.ppm" "$SIGWIN_X" "$SIGWIN_Y" \
        $((WIDTH - 104)) $((HEIGHT - menubar - 114)) || fail "$what"
}

check_grid_now "at start"
xdotool windowsize "$wid" 760 560
check_grid_now "after a resize to 760 x 560"

# A double click on the title bar, above the menu bar, maximises in openbox
# and restores.
title_double_click() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove $((X + 200)) $((Y - menubar - 10)) click --repeat 2 --delay 80 1
    sleep 1
}
title_double_click
eval "$(xdotool getwindowgeometry --shell "$wid")"
if [ "$WIDTH" -gt 900 ]; then
    check_grid_now "after maximising"
    title_double_click
    check_grid_now "after restoring"
else
    echo "the window manager did not maximise; maximise not checked"
fi

xdotool windowsize "$wid" 400 250
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 492 ] || fail "width $WIDTH after the snap back (492 expected)"
check_grid_now "after the snap back to 500 x 300"

quit_viewer "$wid"
echo "resize redraw: ok"
