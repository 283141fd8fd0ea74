# The serial resistor entry: a valid value is taken; text that is not a
# number gives the error box and the question again, and Esc there ends the
# command with the value from before: no error box comes back, and the value
# is saved by a confirmed quit.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5

# Opens the entry box from the menu and types the answer.
enter_serial_resistor() {
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
    open_by_keys '^Sonivex$' alt+t s >/dev/null
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Return
}

enter_serial_resistor 2.5
expect_no_window '^Error$' 1

enter_serial_resistor abc
open_by_keys '^Error$' >/dev/null
open_by_keys '^Sonivex$' Return >/dev/null
xdotool key Escape
expect_no_window '^Error$' 1
xdotool search --onlyvisible --name '^Sonivex$' >/dev/null 2>&1 && fail "the entry box is still open"

quit_viewer "$wid"
[ "$(config_float "$dir/VOXA32VW.CFG" 4320)" = 2.5 ] \
    || fail "saved serial resistor $(config_float "$dir/VOXA32VW.CFG" 4320)"
echo "serial resistor entry: ok"
