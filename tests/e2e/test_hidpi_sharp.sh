# e2e: screen 1600x1200
# On a screen of device pixel ratio 2 the data window and the axis strips are
# drawn at the screen's resolution, not blown up: after a response is loaded
# the data window is the rules' picture for a data window of twice the size,
# its grid lines one device pixel wide, and the "dBxx" label has the glyphs of
# its font at twice the pixel size.
source "$E2E_DIR/lib.sh"

voxacurve=$(dirname "$VIEWER_BINARY")/voxacurve
font=$(fc-match -f '%{file}' 'Liberation Sans:style=Regular')
export QT_SCALE_FACTOR=2
start_fresh_viewer --examples
dir=$DIR wid=$WID
xdotool key F1
type_into_file_box SPEAKER
xdotool mousemove 0 0 # no pointer over the picture
sleep 0.3
import -window root -depth 8 "$E2E_WORK/screen.ppm"

# The fresh window is 640 x 450 window pixels: its client area is 632 x 404
# and its data window 528 x 290, here 1056 x 580 device pixels. A data window
# frame of 1160 x 628 holds a data window of that size at (52, 24).
eval "$(xdotool getwindowgeometry --shell "$wid")"
client_y=$((Y + HEIGHT - 2 * (450 - 46)))
env -u QT_SCALE_FACTOR "$voxacurve" render "$dir/SPEAKER.EA" --size 1160x628 -o "$E2E_WORK/rendered.png" \
    || fail "render failed"
convert "$E2E_WORK/rendered.png" -depth 8 "$E2E_WORK/rendered.ppm"
# The strips' font is Liberation Sans at 11 pixels: the label drawn at 22
# pixels, and at 11 pixels blown up to twice its size.
convert -density 72 -font "$font" -pointsize 22 label:dBxx -depth 8 "$E2E_WORK/sharp.pgm"
convert -density 72 -font "$font" -pointsize 11 label:dBxx -scale 200% -depth 8 "$E2E_WORK/blown.pgm"
python3 "$E2E_DIR/check_sharp.py" "$E2E_WORK/screen.ppm" "$E2E_WORK/rendered.ppm" \
    "$E2E_WORK/sharp.pgm" "$E2E_WORK/blown.pgm" "$X" "$client_y" 1056 580 \
    || fail "the viewer at device pixel ratio 2 is not drawn at the screen's resolution"

quit_viewer "$wid"
echo "sharp at device pixel ratio 2: ok"
