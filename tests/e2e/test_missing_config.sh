# Without a configuration the fatal box appears; Enter ends the program with
# exit code 0 and no file is created.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /:
wid=$(wait_window '^FATAL ERROR$')
sleep 0.3
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Return
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ ! -e "$dir/VOXA32VW.CFG" ] || fail "a configuration file was created"
xdotool search --onlyvisible --name '^ Sonivex$' >/dev/null 2>&1 && fail "the main window was shown"
echo "missing configuration: ok"
