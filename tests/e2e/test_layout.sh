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

# A larger window is laid out for its new size, and the data window's
# picture is rebuilt for it: the 100 Hz column and the rows at H * i div 12
# of the new 596 x 356 data window carry the grid.
menubar=$((HEIGHT - 404))
xdotool windowsize "$wid" 700 490
sleep 1
shot=$E2E_WORK/resized.png
import -window root "$shot"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" = 700 ] || fail "width $WIDTH after resize"
[ $((HEIGHT - menubar)) = 470 ] || fail "client height $((HEIGHT - menubar)) after resize"
client_origin "$wid" 516
find_sigwin "$shot"
convert "$shot" -depth 8 "$E2E_WORK/resized.ppm"
python3 "$E2E_DIR/check_grid.py" "$E2E_WORK/resized.ppm" "$SIGWIN_X" "$SIGWIN_Y" 596 356 \
    || fail "the data window was not rebuilt for 596 x 356"

quit_viewer "$wid"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = 708 ] || fail "saved width $(config_int16 "$dir/VOXA32VW.CFG" 54)"
echo "layout: ok"
