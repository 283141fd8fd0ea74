# voxacurve import: text of other tools to a curve file the viewer loads;
# export -> import -> export keeps every level within 0.01 dB; malformed text
# gives its line number and writes nothing, an existing file stays whole.
source "$(dirname "$0")/lib.sh"

dir=$(examples)

# Round trip through the real executable, for a response and an impedance
# curve, with the source's own rate and length.
for f in SPEAKER.EA WOOFER.OHM ROOM.AA; do
    read -r rate length < <(/usr/bin/python3 -c 'import struct, sys; h = struct.unpack_from("<fiiff", open(sys.argv[1], "rb").read()); print(h[1], h[2])' "$dir/$f")
    run export "$dir/$f" -o -
    expect_rc 0 "first export of $f"
    printf '%s\n' "$OUT" >"$WORK/first.txt"
    run import "$WORK/first.txt" -o "$WORK/BACK.${f#*.}" --rate "$rate" --length "$length"
    expect_rc 0 "import of $f"
    run export "$WORK/BACK.${f#*.}" -o -
    expect_rc 0 "second export of $f"
    printf '%s\n' "$OUT" >"$WORK/second.txt"
    /usr/bin/python3 - "$WORK/first.txt" "$WORK/second.txt" "$f" <<'PY' || fail "$f: round trip"
import math, sys
def points(path):
    return [tuple(map(float, l.split()[:2])) for l in open(path) if not l.startswith("*")]
first, second, name = points(sys.argv[1]), points(sys.argv[2]), sys.argv[3]
assert len(first) == len(second) > 1000, (len(first), len(second))
for (f1, m1), (f2, m2) in zip(first, second):
    assert abs(f1 - f2) < 1e-4, (f1, f2)
    diff = m2 - m1 if not name.endswith("OHM") else 20 * math.log10(m2 / m1)
    assert abs(diff) <= 0.01, (name, f1, m1, m2)
PY
done

# Tolerant reading: a semicolon CSV with decimal commas and a header, as a
# spreadsheet writes it; bins outside the band hold the edge values.
printf 'Frequenz;Pegel;Phase\r\n100;70,5;0\r\n1000;80,5;0\r\n' >"$WORK/sheet.csv"
run import "$WORK/sheet.csv" -o "$WORK/SHEET.aa" --rate 1000 --length 16
expect_rc 0 "semicolon import"
/usr/bin/python3 - "$WORK/SHEET.aa" <<'PY' || fail "imported values"
import math, struct, sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 20 + 4 * 8, len(data)
factor, fs, n, upper, lower = struct.unpack_from("<fiiff", data)
assert (factor, fs, n, upper, lower) == (1.0, 1000, 16, 500.0, 100.0), (factor, fs, n, upper, lower)
db = [20 * math.log10(v) for v in struct.unpack_from("<8f", data, 20)]
assert abs(db[0] - 70.5) < 1e-4 and abs(db[1] - 70.5) < 1e-4, db  # 0 and 62.5 Hz: below the band
assert abs(db[4] - (70.5 + 10 * math.log10(250 / 100))) < 1e-4, db  # 250 Hz
assert abs(db[7] - (70.5 + 10 * math.log10(437.5 / 100))) < 1e-4, db
PY

# Impedance: stored as Ohm / serial resistor.
printf '* ZMA\n10 8 0\n20000 8 0\n' >"$WORK/flat.zma"
run import "$WORK/flat.zma" -o "$WORK/FLAT.OHM" --serial-resistor 200 --length 1024
expect_rc 0 "impedance import"
run info "$WORK/FLAT.OHM" --serial-resistor 200
expect_in "$OUT" "8.00 to 8.00 Ohm" "impedance through the serial resistor"
run info "$WORK/FLAT.OHM"
expect_in "$OUT" "6.00 to 6.00 Ohm" "impedance at the default 150 Ohm"

# Malformed text: file and line number, nothing written, an existing file
# stays byte for byte, no temporary left behind.
before=$(sha256sum <"$dir/SPEAKER.EA")
check_refused() { # NAME TEXT KIND_EXT EXPECTED_MESSAGE
    printf "$2" >"$WORK/$1"
    run import "$WORK/$1" -o "$WORK/NEW.$3"
    expect_rc 1 "$1"
    expect_in "$ERR" "$4" "$1"
    [ ! -e "$WORK/NEW.$3" ] || fail "$1 wrote NEW.$3"
    cp "$dir/SPEAKER.EA" "$WORK/KEEP.$3"
    run import "$WORK/$1" -o "$WORK/KEEP.$3"
    expect_rc 1 "$1 over an existing file"
    [ "$(sha256sum <"$WORK/KEEP.$3")" = "$before" ] || fail "$1 changed an existing file"
}
check_refused falling.frd '* x\n10 80 0\n30 80 0\n20 80 0\n' EA "falling.frd:4: the frequency 20 Hz does not rise above the 30 Hz of line 3"
check_refused repeated.frd '10 80\n10 81\n' EA "repeated.frd:2: the frequency 10 Hz does not rise"
check_refused word.frd '10 80\n20 80\n30 loud\n' AE "word.frd:3: the magnitude \"loud\" is not a number"
check_refused zero.zma '10 6 0\n20 0 0\n' OHM "zero.zma:2: the impedance 0 Ohm is not positive"
check_refused empty.frd '' EE "empty.frd: no data lines"
check_refused huge.frd '10 80\n20 9000\n' EA "huge.frd:2: the magnitude 9000 dB lies beyond what a curve file can hold"
ls -A "$WORK" | grep -q voxacurve-write && fail "a temporary was left: $(ls -A "$WORK")"

run import "$WORK/MISSING.frd" -o "$WORK/M.EA"
expect_rc 1 "missing input"
expect_in "$ERR" "MISSING.frd: cannot be read: no such file" "missing input"
run import "$dir" -o "$WORK/M.EA"
expect_rc 1 "a directory as input"
expect_in "$ERR" "cannot be read: a directory, not a regular file" "directory input"

# Usage errors write nothing either.
printf '10 80\n20 80\n' >"$WORK/ok.frd"
for args in "import $WORK/ok.frd" "import $WORK/ok.frd -o $WORK/U.TXT" "import $WORK/ok.frd -o -" \
    "import $WORK/ok.frd -o $WORK/U.EA --length 65538" "import $WORK/ok.frd -o $WORK/U.EA --length 1001" \
    "import $WORK/ok.frd -o $WORK/U.EA --length 0" "import $WORK/ok.frd -o $WORK/U.EA --rate 0" \
    "import $WORK/ok.frd -o $WORK/U.OHM --serial-resistor 20" "import $WORK/ok.frd $WORK/ok.frd -o $WORK/U.EA"; do
    run $args
    expect_rc 2 "$args"
done
ls "$WORK"/U.* >/dev/null 2>&1 && fail "a usage error wrote a file"
# Columns by the header's names or by --columns; line ends and encodings.
# Each row: what, the text as a Python expression of bytes, the options.
# Every text holds 20.5 Hz at 80.25 dB and 1000 Hz at -3.5 dB, as plain.frd.
printf '20.5 80.25\n1000 -3.5\n' >"$WORK/plain.frd"
"$VOXACURVE" import "$WORK/plain.frd" -o "$WORK/PLAIN.EA" --rate 48000 --length 4096
want=$("$VOXACURVE" export "$WORK/PLAIN.EA" -o - | grep -v '^\*')
column_cases=(
    "names|b'error,frequency,raw\\n0.1,20.5,80.25\\n0.2,1000,-3.5\\n'|"
    "numbers|b'x y z\\n80.25 1 20.5\\n-3.5 2 1000\\n'|--columns 3,1"
    "chosen names|b'Hz,Raw,Smoothed\\n20.5,1,80.25\\n1000,2,-3.5\\n'|--columns hz,smoothed"
    "CR line ends|b'* x\\r20.5 80.25\\r1000 -3.5\\r'|"
    "UTF-8 byte order mark and CRLF|b'\\xef\\xbb\\xbf20.5 80.25\\r\\n1000 -3.5\\r\\n'|"
    "UTF-16|'Frequency\\tSPL\\r\\n20.5\\t80.25\\r\\n1000\\t-3.5\\r\\n'.encode('utf-16')|"
)
for row in "${column_cases[@]}"; do
    IFS='|' read -r what text options <<<"$row"
    python3 -c "import sys; open(sys.argv[1], 'wb').write($text)" "$WORK/cols.txt"
    read -r -a opts <<<"$options"
    rm -f "$WORK/COLS.EA"
    run import "$WORK/cols.txt" -o "$WORK/COLS.EA" --rate 48000 --length 4096 "${opts[@]}"
    expect_rc 0 "import of $what"
    run export "$WORK/COLS.EA" -o -
    [ "$(grep -v '^\*' <<<"$OUT")" = "$want" ] || fail "$what: not the curve of plain.frd"
done
python3 -c "open('$WORK/odd.txt', 'wb').write(b'\\xff\\xfe1\\x002')"
run import "$WORK/odd.txt" -o "$WORK/ODD.EA"
expect_rc 1 "odd UTF-16"
expect_in "$ERR" "UTF-16 text (by its byte order mark) of an odd number of bytes" "odd UTF-16 refused in words"
run import "$WORK/cols.txt" -o "$WORK/X.EA" --columns 1
expect_rc 2 "--columns with one column"
echo "import: ok"
