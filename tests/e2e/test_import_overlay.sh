# A measurement exported by another tool as FRD text is imported with
# voxacurve into the viewer's curve directory, loaded through the file box
# over an example curve, and drawn where its levels say.
source "$E2E_DIR/lib.sh"

voxacurve=$(dirname "$VIEWER_BINARY")/voxacurve
start_fresh_viewer --examples
dir=$DIR wid=$WID
client_origin "$wid" 450

# Four plateaus of level, each a whole pixel row of the default 40 ... 100 dB
# window (row = 290 * (100 - dB) / 60), checked at a bin of 48000 / 16384 Hz
# inside the plateau and in the unthinned part of the trace (below 2 kHz).
bin() { awk -v k="$1" 'BEGIN { printf "%.7f", k * 48000 / 16384 }'; }
checks="$(bin 34) 70
$(bin 119) 88
$(bin 307) 52
$(bin 614) 76"
cat >"$E2E_WORK/measured.frd" <<'FRD'
* Measured elsewhere; frequency, SPL, phase
20 70 0
150 70 0
200 88 0
600 88 0
700 52 0
1200 52 0
1400 76 0
20000 76 0
FRD
"$voxacurve" import "$E2E_WORK/measured.frd" -o "$dir/IMPORTED.EA" --rate 48000 --length 16384 \
    || fail "import failed"

xdotool key F1
type_into_file_box SPEAKER
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key F1
type_into_file_box IMPORTED
shot=$E2E_WORK/overlay.png
import -window root "$shot"
find_sigwin "$shot"
sig() { pixel_at "$shot" $((SIGWIN_X + $1)) $((SIGWIN_Y + $2)); }

# The imported curve, second in the colour cycle: aqua at each level's row.
while read -r f db; do
    row=$(awk -v db="$db" 'BEGIN { printf "%d", 290 * (100 - db) / 60 }')
    read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$dir/IMPORTED.EA" level "$f" 528 290 20 20000 60 100)
    [ "$y" = "$row" ] || fail "the file puts $db dB at $f Hz on row $y, not $row"
    [ "$(sig "$x" "$y")" = 00FFFF ] || fail "no aqua imported curve at $f Hz, $db dB ($x, $y): $(sig "$x" "$y")"
done <<<"$checks"

# The example curve below it is still there in lime.
read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$dir/SPEAKER.EA" level 500 528 290 20 20000 60 100)
[ "$(sig "$x" "$y")" = 00FF00 ] || fail "no lime example curve at 500 Hz ($x, $y): $(sig "$x" "$y")"

quit_viewer "$wid"
echo "import overlay: ok"
