# The Info menu opened with the keyboard shows the version box; a data window
# colour typed into the colour dialog fills the data window and is saved at
# offset 20 of the configuration as 0x00BBGGRR.
source "$E2E_DIR/lib.sh"

start_fresh_viewer

# Info > Version, by the menu's mnemonics.
xdotool key alt+i
sleep 0.3
xdotool key v
box=$(wait_window '^VOXA 32 Info$')
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
import -window root "${E2E_SHOTS:-$E2E_WORK}/version-box.png"
xdotool key Return
wait_window_gone '^VOXA 32 Info$'

xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
set_data_window_colour '#3366cc'

# The data window lies at (52, 68) of the client area, below the menu bar;
# its pixel (10, 10) is background between the first grid lines.
shot="${E2E_SHOTS:-$E2E_WORK}/data-window-colour.png"
import -window "$WID" "$shot"
eval "$(xdotool getwindowgeometry --shell "$WID")"
menu_height=$((HEIGHT - (450 - 46)))
colour=$(pixel_at "$shot" $((52 + 10)) $((menu_height + 68 + 10)))
[ "$colour" = 3366CC ] || fail "data window pixel is $colour, not 3366CC"

quit_viewer "$WID"

# DataWindowColor, a 32-bit value at offset 20.
saved=$(config_colour "$DIR/VOXA32VW.CFG" 20)
[ "$saved" = CC6633 ] || fail "saved data window colour $saved, not CC6633"
echo "menu and colours: ok"
