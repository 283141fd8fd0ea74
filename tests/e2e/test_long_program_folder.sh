# A program folder whose path is 300 characters long: the configuration's
# path is not cut, so "/Init" writes VOXA32VW.CFG there (no cut name such as
# VOXA32VW.C), a quit with "yes" saves a changed colour into that file, and
# the next start reads it without an error box.
source "$E2E_DIR/lib.sh"

dir=$E2E_WORK/prog
while [ ${#dir} -lt 300 ]; do dir=$dir/$(printf 'p%.0s' $(seq 50)); done
mkdir -p "$dir"
cp "$VIEWER_BINARY" "$dir/voxa32vw"
cfg=$dir/VOXA32VW.CFG

start_viewer "$dir" /Init /:
WID=$(wait_window '^ Sonivex$')
[ "$(LC_ALL=C ls -A "$dir" | tr '\n' ' ')" = "VOXA32VW.CFG voxa32vw " ] \
    || fail "files in the program folder: $(ls -A "$dir")"
[ "$(stat -c %s "$cfg")" = 6808 ] || fail "the fresh configuration is not 6808 bytes"
sleep 1
xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
set_data_window_colour '#3366cc'
quit_viewer "$WID"
saved=$(config_colour "$cfg" 20)
[ "$saved" = CC6633 ] || fail "saved data window colour $saved, not CC6633"

# The next start reads the file: the main window shows, no fatal box.
start_viewer "$dir" /:
WID=$(wait_window '^ Sonivex$')
sleep 1
quit_viewer "$WID"
[ "$(LC_ALL=C ls -A "$dir" | tr '\n' ' ')" = "VOXA32VW.CFG voxa32vw " ] \
    || fail "files in the program folder: $(ls -A "$dir")"
echo "long program folder: ok"
