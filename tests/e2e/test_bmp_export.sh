# The print command with "BMP-File" chosen: the file box asks for a name and
# the window picture is written as a 24-bit BMP file of (W - 8) x (H - 68)
# pixels, its data window white with the grid in colour.
source "$E2E_DIR/lib.sh"

# Prints "width height bits white other black" of a BMP file: the counts are
# taken over the middle half of the picture, which lies in the data window.
bmp_summary() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
assert data[:2] == b'BM'
offset = struct.unpack_from('<I', data, 10)[0]
width, height = struct.unpack_from('<ii', data, 18)
bits = struct.unpack_from('<H', data, 28)[0]
stride = (width * bits // 8 + 3) & ~3
counts = {'white': 0, 'other': 0, 'black': 0}
if bits == 24:
    bottom_up = height > 0
    h = abs(height)
    for y in range(h // 4, h * 3 // 4):
        row = offset + ((h - 1 - y) if bottom_up else y) * stride
        for x in range(width // 4, width * 3 // 4):
            b, g, r = data[row + 3 * x:row + 3 * x + 3]
            key = 'white' if (r, g, b) == (255, 255, 255) else 'black' if (r, g, b) == (0, 0, 0) else 'other'
            counts[key] += 1
print(width, abs(height), bits, counts['white'], counts['other'], counts['black'])
PY
}

dir=$(make_program_dir)
# A fresh configuration, saved by a first run.
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5
quit_viewer "$wid"
config_set_print_to_bmp "$dir/VOXA32VW.CFG"

start_viewer "$dir" /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
# P runs the print command, as the print button does (whose place depends on
# the width of the ESC caption).
xdotool key p
box=$(wait_window '^File Name Selection$')
sleep 0.3
xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
xdotool key ctrl+a
xdotool type --delay 20 'e2eplot'
xdotool key Return

bmp=$dir/e2eplot.BMP
for _ in $(seq 100); do [ -s "$bmp" ] && break; sleep 0.05; done
[ -s "$bmp" ] || fail "no BMP file: $(ls "$dir")"
sleep 0.3
import -window root "${E2E_SHOTS:-$E2E_WORK}/bmp-export-window.png"
cp "$bmp" "${E2E_SHOTS:-$E2E_WORK}/bmp-export.bmp"

read -r width height bits white other black < <(bmp_summary "$bmp")
[ "$width x $height" = "632 x 382" ] || fail "picture is $width x $height, not 632 x 382"
[ "$bits" = 24 ] || fail "$bits bits per pixel, not 24"
[ "$(identify -format '%wx%h' "$bmp")" = 632x382 ] || fail "identify reads $(identify "$bmp")"
[ "$black" = 0 ] || fail "$black pixels of the black data window were not whitened"
[ "$white" -gt $((316 * 191 / 2)) ] || fail "only $white white pixels in the data window"
[ "$other" -gt 0 ] || fail "the grid lost its colour"

# The viewer goes on.
kill -0 "$VIEWER_PID" || fail "the viewer ended"
quit_viewer "$wid"
echo "bmp export: ok"
