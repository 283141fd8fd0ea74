# Start with a fresh configuration, quit with Esc and Enter; the saved window
# size is the outer size of the window.
source "$E2E_DIR/lib.sh"

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5
quit_viewer "$wid"
[ "$(stat -c %s "$dir/VOXA32VW.CFG")" = 6808 ] || fail "configuration is not 6808 bytes"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 54)" = 640 ] || fail "saved width $(config_int16 "$dir/VOXA32VW.CFG" 54)"
[ "$(config_int16 "$dir/VOXA32VW.CFG" 56)" = 450 ] || fail "saved height"
echo "startup and quit: ok"
