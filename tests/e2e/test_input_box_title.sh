# The "Device Under Test" input box is wide enough for the window manager to
# show its whole title: the title's text is as wide in the box as it opens as
# in the same box made 300 pixels wider.
source "$E2E_DIR/lib.sh"

start_fresh_viewer
box=$(open_by_keys '^Device Under Test$' alt+i r)

# The width of the light title text on the title bar, between the window
# icon on the left and the buttons on the right.
title_text_width() {
    local shot=$E2E_WORK/title-$1.png
    import -window root "$shot"
    absolute_geometry "$box"
    frame_extents "$box"
    convert "$shot" -crop "${ABS_WIDTH}x$FRAME_TOP+$ABS_X+$((ABS_Y - FRAME_TOP))" +repage ppm:- \
        | python3 -c '
import sys
data = sys.stdin.buffer.read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pix = parts[4]
light = [x for x in range(30, w - 70)
         if any(min(pix[(y * w + x) * 3:(y * w + x) * 3 + 3]) > 200 for y in range(h))]
print(light[-1] - light[0] + 1 if light else 0)
'
}

opened=$(title_text_width opened)
absolute_geometry "$box"
xdotool windowsize "$box" $((ABS_WIDTH + 300)) "$ABS_HEIGHT"
sleep 0.5
wide=$(title_text_width wide)
[ "$wide" -gt 50 ] || fail "no title text found ($wide pixels)"
[ "$opened" = "$wide" ] || fail "the title is cut: $opened of $wide pixels shown"

xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
xdotool key Escape
sleep 0.3
quit_viewer "$WID"
echo "input box title: ok"
