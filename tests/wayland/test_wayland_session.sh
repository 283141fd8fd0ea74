# A session under a Wayland compositor, driven by keys and the pointer: start
# with a fresh configuration, load a response through the file box, read
# values under the pointer, choose a BMP file in the print options and print,
# open the colour dialog and the version box, enter a serial resistor in the
# input box and quit with "yes". Checked on the compositor's pictures,
# the saved configuration and the exit status; the viewer prints nothing.
source "$WAYLAND_TEST_DIR/lib.sh"

dir=$(make_program_dir)
"$(dirname "$VIEWER_BINARY")/make_examples" "$dir"
start_viewer "$dir" /Init /:
wl_wait_active ' Sonivex'
pointer_to 1010 760 # out of the way

# The fresh window's data window is 528 x 290, as on every platform.
found_data_window() { box=$(data_window "$1") && [ "${box#* * }" = "528 290" ]; }
wait_picture "no data window of 528 x 290 on the screen" found_data_window
read -r sx sy _ <<<"$box"

keys F1
wl_wait_active 'File Name Selection'
type_text SPEAKER
keys Return
wl_wait_window_gone 'File Name Selection'
wl_wait_active ' Sonivex'
lime_curve() { [ "$(count_colour "$1" "$sx" "$sy" 528 290 00FF00)" -gt 300 ]; }
wait_picture "the loaded response is not drawn" lime_curve

# The read-out names the values under the read-out cursor: text appears
# above the data window, and the cursor's white outline inside it.
read_out_text() { count_dark "$1" "$sx" $((sy - 16)) 400 14; }
screenshot "$E2E_WORK/before.png"
before=$(read_out_text "$E2E_WORK/before.png")
pointer_to $((sx + 264)) $((sy + 145))
read_out_shown() {
    [ "$(read_out_text "$1")" -gt $((before + 20)) ] \
        && [ "$(count_colour "$1" $((sx + 249)) $((sy + 130)) 31 31 FFFFFF)" -gt 20 ]
}
wait_picture "no read-out text or cursor under the pointer" read_out_shown
pointer_to 1010 760

# "BMP-File" in the print options (two steps down from "Portrait"), then the
# print command writes the window's picture under the name typed into the
# file box: rendered by the program, not read from the screen.
menu t p
wl_wait_active 'VOXA 32 Printer Options'
keys Down Down Return
wl_wait_window_gone 'VOXA 32 Printer Options'
wl_wait_active ' Sonivex'
keys p
wl_wait_active 'File Name Selection'
keys ctrl+a
type_text plot
keys Return
wl_wait_window_gone 'File Name Selection'
wl_wait_active ' Sonivex'
for _ in $(seq 100); do [ -s "$dir/plot.BMP" ] && break; sleep 0.05; done
sleep 0.3
[ "$(identify -format '%wx%h' "$dir/plot.BMP" 2>/dev/null)" = 632x382 ] \
    || fail "no BMP picture of 632 x 382: $(ls "$dir")"

# The colour dialog for the grid, cancelled; the version box.
menu t d Return
wl_wait_active 'Select Color'
keys Escape
wl_wait_window_gone 'Select Color'
wl_wait_active ' Sonivex'
menu i v
wl_wait_active 'VOXA 32 Info'
keys Return
wl_wait_window_gone 'VOXA 32 Info'
wl_wait_active ' Sonivex'

menu t s
wl_wait_active 'Sonivex'
keys ctrl+a
type_text 2.5
keys Return
wl_wait_window_gone 'Sonivex'
wl_wait_active ' Sonivex'

keys Escape
wl_wait_active 'Sonivex'
keys Return
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ "$(stat -c %s "$dir/VOXA32VW.CFG")" = 6808 ] || fail "configuration is not 6808 bytes"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = 640 ] || fail "saved width $(config_int16 "$dir/VOXA32VW.CFG" 54)"
[ "$(config_float "$dir/VOXA32VW.CFG" 4320)" = 2.5 ] \
    || fail "saved serial resistor $(config_float "$dir/VOXA32VW.CFG" 4320)"
expect_quiet_viewer
echo "wayland session: ok"
