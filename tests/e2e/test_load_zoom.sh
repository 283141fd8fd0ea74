# Load an example response and impedance curve through F1 and F2 and the file
# box, find both curves where the drawing rules put them, zoom both axes with
# the buttons and find the redrawn curve at its new place; the read-out shows
# under the pointer.
source "$E2E_DIR/lib.sh"

start_fresh_viewer --examples
dir=$DIR wid=$WID

choose_first_file() {  # in the file box: to the list, first file, Enter
    local box
    box=$(wait_window '^File Name Selection$')
    sleep 0.3
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key Tab Down Up Return
    sleep 0.5
}

xdotool key F1
choose_first_file        # SPEAKER.EA, the first of the *.EA files
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key F2
choose_first_file        # SPEAKER.OHM
shot=$E2E_WORK/loaded.png
import -window root "$shot"
client_origin "$wid" 450
find_sigwin "$shot"
sig() { pixel_at "$1" $((SIGWIN_X + $2)) $((SIGWIN_Y + $3)); }
predict() { python3 "$E2E_DIR/predict_pixel.py" "$@"; }

read -r x y < <(predict "$dir/SPEAKER.EA" level 1000 528 290 20 20000 60 100)
[ "$(sig "$shot" "$x" "$y")" = 00FF00 ] || fail "no lime response at ($x, $y): $(sig "$shot" "$x" "$y")"
read -r x y < <(predict "$dir/SPEAKER.OHM" ohm 200 528 290 20 20000 50 0)
[ "$(sig "$shot" "$x" "$y")" = 00FFFF ] || fail "no aqua impedance at ($x, $y): $(sig "$shot" "$x" "$y")"

# After F2 the y buttons act on the impedance axis: ZoomYButton makes its
# step 2.0 Ohm instead of 5.0.
# ZoomXButton: 20 Hz - 20 kHz -> 30 Hz - 10 kHz. The buttons lie in the second
# row of the client area, whose origin is 52, 68 above-left of the data window.
cx=$((SIGWIN_X - 52)); cy=$((SIGWIN_Y - 68))
xdotool mousemove $((cx + 136 + 13)) $((cy + 24 + 10)) click 1
sleep 0.5
xdotool mousemove $((cx + 245 + 13)) $((cy + 24 + 10)) click 1
sleep 0.5
shot=$E2E_WORK/zoomed.png
import -window root "$shot"
read -r x y < <(predict "$dir/SPEAKER.EA" level 1000 528 290 30 10000 60 100)
[ "$(sig "$shot" "$x" "$y")" = FFFF00 ] || fail "no yellow response at ($x, $y) after zooming"
read -r x y < <(predict "$dir/SPEAKER.OHM" ohm 200 528 290 30 10000 20 0)
[ "$(sig "$shot" "$x" "$y")" = 00FF00 ] || fail "no lime impedance at ($x, $y) after zooming"

# The read-out above the data window: empty, then text under the pointer.
readout() { convert "$1" -crop "300x14+$((SIGWIN_X - 2))+$((SIGWIN_Y - 22))" -format '%[fx:minima.r]' info:; }
before=$(readout "$shot")
xdotool mousemove $((SIGWIN_X + 100)) $((SIGWIN_Y + 100))
sleep 0.5
import -window root "$E2E_WORK/readout.png"
after=$(readout "$E2E_WORK/readout.png")
awk "BEGIN { exit !($before > 0.5 && $after < 0.3) }" || fail "no read-out text ($before, $after)"

quit_viewer "$wid"
echo "load and zoom: ok"
