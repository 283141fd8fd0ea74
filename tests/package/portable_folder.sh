# The portable .tar.gz runs wherever it is unpacked: in a folder with a blank
# in its name, started from another directory, the viewer finds its print
# module beside itself and prints, and a quit with "yes" writes the
# configuration beside the program. voxacurve runs there on the example
# curves. It carries the README, the licence, the icon and the desktop entry.
# Run in Xvfb by tests/e2e/run_in_xvfb.sh; printing needs root (cupsd).
source "$E2E_DIR/lib.sh"
source "$E2E_DIR/cups.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

cleanup_portable() {
    [ -n "${VIEWER_PID:-}" ] && kill "$VIEWER_PID" 2>/dev/null || true
    cups_stop
}
trap cleanup_portable EXIT

tarball=$(package_file 'voxa32vw-*-portable-*.tar.gz')
place="$E2E_WORK/unpacked here"
mkdir -p "$place"
tar -xzf "$tarball" -C "$place"
folder=$(echo "$place"/voxa32vw-*)
[ -d "$folder" ] || fail "the archive holds no voxa32vw folder"
for f in voxa32vw libvoxa_printer.so voxacurve make_examples VOXA32VW.CFG \
    SPEAKER.EA SPEAKER.OHM WOOFER.EA WOOFER.OHM MIC.AE POWERAMP.EE ROOM.AA \
    README.md LICENSE voxa32vw.svg voxa32vw.desktop; do
    [ -f "$folder/$f" ] || fail "$f is missing from the portable folder"
done
[ "$(stat -c %s "$folder/VOXA32VW.CFG")" = 6808 ] || fail "the configuration is not 6808 bytes"
check_module_found "$folder/voxa32vw"

(cd "$E2E_WORK" && "$folder/voxacurve" info "$folder"/*.EA >"$E2E_WORK/info.txt") ||
    fail "voxacurve info: $(cat "$E2E_WORK/info.txt")"
[ "$(grep -c ': response ' "$E2E_WORK/info.txt")" = 2 ] || fail "voxacurve: $(cat "$E2E_WORK/info.txt")"

cups_start
touch -d '2001-01-01' "$folder/VOXA32VW.CFG"
(cd "$E2E_WORK" && exec "$folder/voxa32vw" /: >"$E2E_WORK/viewer.log" 2>&1) &
VIEWER_PID=$!
wid=$(wait_window '^ Sonivex$')
sleep 0.5
print_one_page "$wid"
quit_viewer "$wid"
VIEWER_PID=""
[ "$(stat -c %Y "$folder/VOXA32VW.CFG")" -gt "$(date -d '2002-01-01' +%s)" ] ||
    fail "the configuration beside the program was not written"
[ "$(config_int16 "$folder/VOXA32VW.CFG" 54)" = 640 ] || fail "the saved window width"
echo "the portable folder runs where it was unpacked: ok"
