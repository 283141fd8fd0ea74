# A response file whose level factor is negative: its drawing fails with the
# fatal-error box; once that is dismissed the curve is gone, and a zoom and a
# scroll redraw the empty grid without any further box.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
python3 - "$dir/BAD.EA" <<'PY'
import struct, sys
values = [10000.0] * 2048
with open(sys.argv[1], "wb") as f:
    f.write(struct.pack("<fiiff", -1.0, 48000, 4096, 20000.0, 20.0))
    f.write(struct.pack("<2048f", *values))
PY
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 1
eval "$(xdotool getwindowgeometry --shell "$wid")"
menubar=$((HEIGHT - 404))
shot=$E2E_WORK/start.png
import -window root "$shot"
client_origin "$wid" 450
find_sigwin "$shot"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key F1
box=$(wait_window '^File Name Selection$')
sleep 0.3
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
# a click on BAD.EA, the only *.EA file and the first row of the list, then Enter
xdotool mousemove --window "$box" 40 50 click 1
sleep 0.3
xdotool key Return
fatal=$(wait_window '^FATAL ERROR$')
sleep 0.3
xdotool windowactivate --sync "$fatal" >/dev/null 2>&1 || true
xdotool key Return
sleep 0.5

# ZoomXButton (20 Hz - 20 kHz -> 30 Hz - 10 kHz), then LeftButton (-> 20 Hz
# - 6666.67 Hz); the buttons lie in the second row of the client area, whose
# origin is 52, 68 above-left of the data window.
cx=$((SIGWIN_X - 52)); cy=$((SIGWIN_Y - 68))
for left in 245 219; do
    xdotool mousemove $((cx + left + 13)) $((cy + 24 + 10)) click 1
    sleep 0.7
    boxes=$(xdotool search --onlyvisible --name '^(FATAL ERROR|VOXA 32 Curve Viewer|Error)$' 2>/dev/null || true)
    [ -z "$boxes" ] || fail "a box after the button at $left: $(xdotool getwindowname "$(echo "$boxes" | head -1)")"
done

shot=$E2E_WORK/scrolled.png
import -window root "$shot"
convert "$shot" -depth 8 "$E2E_WORK/scrolled.ppm"
python3 "$E2E_DIR/check_grid.py" "$E2E_WORK/scrolled.ppm" "$SIGWIN_X" "$SIGWIN_Y" 528 290 \
    20 6666.6665 || fail "no grid for 20 Hz - 6.7 kHz after the zoom and the scroll"

quit_viewer "$wid"
echo "faulty curve: ok"
