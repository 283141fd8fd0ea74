# The save on a quit with "yes" keeps what the user has: a backup named like
# the configuration survives, a configuration reached through a symbolic link
# is written through it and keeps its mode. A configuration of random bytes
# (a directory with a zero byte among them) is named in one box at start-up,
# the viewer opens, and the file stays as it was until a quit with "yes".
source "$E2E_DIR/lib.sh"

# Waits for a box with the given title and presses a key in it.
answer_box() {
    local box
    box=$(wait_window "$1")
    sleep 0.3
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key "$2"
}

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
quit_viewer "$(wait_window '^ Sonivex$')"

real=$E2E_WORK/real
mkdir -p "$real"
mv "$dir/VOXA32VW.CFG" "$real/voxa.cfg"
chmod 600 "$real/voxa.cfg"
touch -d '2001-01-01' "$real/voxa.cfg"
ln -s "$real/voxa.cfg" "$dir/VOXA32VW.CFG"
echo "my backup" >"$dir/VOXA32VW.CFG.backup"

start_viewer "$dir" /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5
quit_viewer "$wid"
[ "$(cat "$dir/VOXA32VW.CFG.backup" 2>/dev/null)" = "my backup" ] || fail "the user's backup is gone"
[ -L "$dir/VOXA32VW.CFG" ] || fail "the symbolic link was replaced by a plain file"
[ "$(readlink "$dir/VOXA32VW.CFG")" = "$real/voxa.cfg" ] || fail "the link points elsewhere"
[ "$(stat -c %Y "$real/voxa.cfg")" -gt "$(date -d '2002-01-01' +%s)" ] || fail "the target was not written"
[ "$(stat -c %a "$real/voxa.cfg")" = 600 ] || fail "mode $(stat -c %a "$real/voxa.cfg") instead of 600"
[ "$(stat -c %s "$real/voxa.cfg")" = 6808 ] || fail "the target is not 6808 bytes"
[ "$(config_int16 "$real/voxa.cfg" 54)" = 640 ] || fail "saved width"
[ "$(ls -A "$real" | wc -l)" = 1 ] || fail "files left beside the target: $(ls -A "$real")"
[ "$(ls -A "$dir" | wc -l)" = 3 ] || fail "files left in the program directory: $(ls -A "$dir")"

dir=$(make_program_dir)
python3 -c 'import random, sys
random.seed(6808)
sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(6808)))' >"$dir/VOXA32VW.CFG"
cp "$dir/VOXA32VW.CFG" "$E2E_WORK/random.cfg"
start_viewer "$dir" /:
answer_box '^Error$' Return
wid=$(wait_window '^ Sonivex$')
sleep 1
xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 && fail "a second box at start-up"
xdotool search --onlyvisible --name '^VOXA 32 Curve Viewer$' >/dev/null 2>&1 \
    && fail "an error at start-up besides the box"
cmp -s "$dir/VOXA32VW.CFG" "$E2E_WORK/random.cfg" || fail "the file changed after the box"

xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key Escape
answer_box '^Sonivex$' Escape
sleep 0.5
kill -0 "$VIEWER_PID" 2>/dev/null || fail "the viewer ended on \"no\""
cmp -s "$dir/VOXA32VW.CFG" "$E2E_WORK/random.cfg" || fail "the file changed after a quit with \"no\""

quit_viewer "$wid"
# A level range no button gives, but one every drawing works with, is kept.
[ "$(config_int16 "$dir/VOXA32VW.CFG" 4284)" = "$(config_int16 "$E2E_WORK/random.cfg" 4284)" ] \
    || fail "the level range was not saved as it was"
echo "configuration kept: ok"
