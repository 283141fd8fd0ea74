# e2e: screen 1280x1024
# A stored window size larger than the screen (from a larger screen, or
# damaged) is fitted to the screen when the window is shown: the window with
# its frame and title bar lies on the screen. A quit with "yes" without a
# change of the window writes the stored size back unchanged; once the user
# resizes the window, its new size is saved.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
quit_viewer "$(wait_window '^ Sonivex$')"

for size in 4000x3000 32767x32767; do
    width=${size%x*} height=${size#*x}
    set_config_int16 "$dir/VOXA32VW.CFG" 54 "$width"
    set_config_int16 "$dir/VOXA32VW.CFG" 56 "$height"
    start_viewer "$dir" /:
    wid=$(wait_window '^ Sonivex$')
    sleep 1
    absolute_geometry "$wid"
    frame_extents "$wid"
    # The title bar and the side frames on the screen, and the window's own
    # area down to its bottom edge (the program's frame model has a bottom
    # border of 4 pixels; the window manager's may be a pixel thicker).
    left=$((ABS_X - FRAME_LEFT)) top=$((ABS_Y - FRAME_TOP))
    right=$((ABS_X + ABS_WIDTH + FRAME_RIGHT)) bottom=$((ABS_Y + ABS_HEIGHT))
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le 1280 ] && [ "$bottom" -le 1024 ] \
        || fail "$size: the framed window ($left, $top)-($right, $bottom) is not on the screen"
    # The resident size stays that of a window of the screen's size.
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$VIEWER_PID/status")
    [ "$rss" -lt 400000 ] || fail "$size: $rss kB resident"
    quit_viewer "$wid"
    [ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = "$width" ] \
        || fail "$size: saved width $(config_int16 "$dir/VOXA32VW.CFG" 54)"
    [ "$(config_int16 "$dir/VOXA32VW.CFG" 56)" = "$height" ] \
        || fail "$size: saved height $(config_int16 "$dir/VOXA32VW.CFG" 56)"
done

# Resized by the user, the window's own size is saved.
start_viewer "$dir" /:
wid=$(wait_window '^ Sonivex$')
sleep 1
xdotool windowsize --sync "$wid" 900 700 >/dev/null 2>&1 || true
sleep 1
quit_viewer "$wid"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = 908 ] || fail "saved width $(config_int16 "$dir/VOXA32VW.CFG" 54) after a resize"
echo "window fitted to the screen: ok"
