# voxacurve render draws the viewer's picture: after two responses and an
# impedance curve are loaded through the file box, the data window on the
# screen is, pixel for pixel, the data window of the picture voxacurve
# renders from the same files at the size of the viewer's data window frame.
source "$E2E_DIR/lib.sh"

voxacurve=$(dirname "$VIEWER_BINARY")/voxacurve
start_fresh_viewer --examples
dir=$DIR wid=$WID
client_origin "$wid" 450

load() {
    xdotool key "$1"
    type_into_file_box "$2"
}
load F1 SPEAKER
load F1 WOOFER
load F2 SPEAKER
xdotool mousemove 0 0 # no pointer over the picture
sleep 0.3
shot=$E2E_WORK/viewer.png
import -window root "$shot"
find_sigwin "$shot"

# The fresh window is 640 x 450: its data window frame is 632 x 338 with the
# 528 x 290 data window 52 pixels right of and 24 below its corner.
"$voxacurve" render "$dir/SPEAKER.EA" "$dir/WOOFER.EA" "$dir/SPEAKER.OHM" \
    --size 632x338 -o "$E2E_WORK/rendered.png" || fail "render failed"
convert "$shot" -crop "528x290+$SIGWIN_X+$SIGWIN_Y" +repage "$E2E_WORK/viewer-data.png"
convert "$E2E_WORK/rendered.png" -crop 528x290+52+24 +repage "$E2E_WORK/rendered-data.png"
differing=$(compare -metric AE "$E2E_WORK/viewer-data.png" "$E2E_WORK/rendered-data.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "$differing pixels of the data window differ from the viewer's"

# The picture holds the three curves in the colours of their loads.
for colour in 00FF00 00FFFF FF00FF; do
    count=$(convert "$E2E_WORK/rendered-data.png" -fill black +opaque "#$colour" -fill white \
        -opaque "#$colour" -format '%[fx:round(mean*w*h)]' info:)
    [ "$count" -gt 50 ] || fail "no curve in #$colour in the rendered picture ($count pixels)"
done

quit_viewer "$wid"
echo "render matches viewer: ok"
