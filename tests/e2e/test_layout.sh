# The laid-out window of a fresh configuration with the empty grid and the
# axis labels, and a clean layout after a resize.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 1
shot=$E2E_WORK/layout.png
import -window root "$shot"
client_origin "$wid" 450
find_sigwin "$shot"

# The data window is 528 x 290 at (52, 68) of the client area; 100 Hz is on
# its column 123, a grid line in grey on black.
sig() { pixel_at "$shot" $((SIGWIN_X + $1)) $((SIGWIN_Y + $2)); }
[ "$(sig 123 150)" = 808080 ] || fail "no grid line at 100 Hz"
[ "$(sig 126 150)" = 000000 ] || fail "no black data window"
[ "$(sig 126 145)" = 808080 ] || fail "no level division at row 145 (the sixth of twelve)"
[ "$(sig 527 150)" != 808080 ] || fail "a 20 kHz line at the right edge"
[ "$(sig 528 150)" != 000000 ] || fail "the data window is wider than 528"
[ "$(sig 126 289)" = 000000 ] && [ "$(sig 126 290)" != 000000 ] || fail "the data window is not 290 high"
# the level labels are drawn in black on the strip left of the data window
dark=$(convert "$shot" -crop "40x280+$((SIGWIN_X - 47))+$((SIGWIN_Y))" -format '%[fx:minima.r]' info:)
awk "BEGIN { exit !($dark < 0.2) }" || fail "no labels on the level strip ($dark)"

# A smaller window is laid out for its new size.
xdotool windowsize "$wid" 700 500
sleep 1
import -window root "$E2E_WORK/resized.png"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 700 ] || fail "width $WIDTH after resize"

quit_viewer "$wid"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = 708 ] || fail "saved width $(config_int16 "$dir/VOXA32VW.CFG" 54)"
echo "layout: ok"
