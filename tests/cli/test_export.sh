# voxacurve export: FRD/ZMA/CSV text of the bins the viewer draws, FRD/ZMA
# with the comment block first, CSV with its header row first; undrawable
# values left out with a warning; --ppo; where the files go; refused files
# and wrong formats write nothing.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
out=$WORK/out-dir
mkdir "$out"
run export "$dir"/* -o "$out"
expect_rc 0 "export of the examples"
[ -z "$ERR" ] || fail "warnings for the examples: $ERR"
[ "$(cd "$out" && ls | tr '\n' ' ')" = "MIC.AE.frd POWERAMP.EE.frd ROOM.AA.frd SPEAKER.EA.frd SPEAKER.OHM.zma WOOFER.EA.frd WOOFER.OHM.zma " ] \
    || fail "files written: $(ls -a "$out")"

# Every file: '*' comments, then "frequency magnitude 0" lines, rising, ASCII,
# exactly the bins the viewer draws, at i * fs / N, with the viewer's levels.
for f in SPEAKER.EA SPEAKER.OHM ROOM.AA; do
    /usr/bin/python3 - "$dir/$f" "$out/$f".* <<'PY' || fail "$f: wrong text"
import math, struct, sys
src, text = sys.argv[1], sys.argv[2]
data = open(src, "rb").read()
factor, fs, n, upper, lower = struct.unpack_from("<fiiff", data)
values = struct.unpack_from("<%df" % (n // 2), data, 20)
first, end = max(2, round(n * lower / fs)), min(round(n * upper / fs), n // 2)
raw = open(text, "rb").read()
assert all(b < 128 for b in raw), "not ASCII"
lines = raw.decode().splitlines()
comments = [l for l in lines if l.startswith("*")]
data_lines = lines[len(comments):]
assert lines[:len(comments)] == comments, "comments not first"
assert "* Exported by voxacurve from " + src in comments
assert "* The source holds magnitudes only: the phase column is 0" in comments
assert len(data_lines) == end - first, (len(data_lines), end - first)
for i, line in zip(range(first, end), data_lines):
    f, m, p = line.split(" ")
    assert abs(float(f) - i * fs / n) < 1e-4, (line, i)
    want = 20 * math.log10(factor * values[i]) if src.endswith(".EA") or src.endswith(".AA") else 150 * values[i]
    assert abs(float(m) - want) < 1e-3 * max(1, abs(want)) / 10, (line, want)
    assert p == "0"
PY
done

# The default is beside the source; CSV has a header row; -o - is stdout.
cp "$dir/WOOFER.OHM" "$WORK/W.OHM"
run export --format csv "$WORK/W.OHM"
expect_rc 0 "csv beside the source"
[ -f "$WORK/W.OHM.csv" ] || fail "no W.OHM.csv beside the source"
grep -qx 'Frequency (Hz),Impedance (Ohm),Phase (deg)' "$WORK/W.OHM.csv" || fail "no CSV header row"
tail -n +2 "$WORK/W.OHM.csv" | grep -qvE '^[0-9.e+-]+,[0-9.e+-]+,0$' && fail "a CSV line that is not three fields"
run export "$dir/MIC.AE" -o -
expect_rc 0 "export to stdout"
[ "$OUT" = "$(cat "$out/MIC.AE.frd")" ] || fail "stdout differs from the file"

# Undrawable values: left out and counted on stderr.
write_curve "$WORK/BAD.EA" 10 48000 64 4600 1000 '[1.0, 1.0, 1.0, 0.0, float("nan"), 10.0] + [-1.0] * 26'
run export "$WORK/BAD.EA" -o -
expect_rc 0 "export with undrawable values"
expect_in "$ERR" "BAD.EA: warning: 2 values the viewer cannot draw (<= 0, NaN or infinite) left out" "warning"
[ "$(grep -v '^\*' <<<"$OUT")" = $'1500 20.0000 0\n3750 40.0000 0' ] || fail "undrawable values not left out: $OUT"

# Points per octave: 1000 * 2^(k/3) within the drawn bins 20.5 Hz ... 19998 Hz
# are k = -16 ... 12, 24.8 Hz to 16 kHz.
run export --ppo 3 "$dir/SPEAKER.EA" -o -
expect_rc 0 "ppo"
[ "$(grep -vc '^\*' <<<"$OUT")" = 29 ] || fail "not 29 points at 3 per octave: $OUT"
expect_in "$OUT" $'\n24.8031414 ' "lowest point"
expect_in "$OUT" $'\n1000 ' "1 kHz on the grid"
expect_in "$OUT" $'\n16000 ' "highest point"

# Refused files and a format that does not hold the kind write nothing; the
# others are still written.
head -c 100 "$dir/WOOFER.EA" >"$WORK/SHORT.EA"
out2=$WORK/out2
mkdir "$out2"
run export "$WORK/SHORT.EA" "$dir/WOOFER.EA" -o "$out2"
expect_rc 1 "a refused file"
expect_in "$ERR" "SHORT.EA: refused: truncated" "refusal"
[ "$(ls -A "$out2")" = "WOOFER.EA.frd" ] || fail "files after a refusal: $(ls -A "$out2")"
run export --format frd "$dir/WOOFER.OHM" -o "$out2"
expect_rc 1 "frd of an impedance curve"
expect_in "$ERR" "frd does not hold an impedance curve; use zma or csv" "format message"
[ "$(ls -A "$out2")" = "WOOFER.EA.frd" ] || fail "files after a wrong format: $(ls -A "$out2")"

# CSV for spreadsheets: the header row is the first row (no comment lines),
# every later row three numbers, as Python's csv module (and pandas where it
# is installed) reads it; export -> import -> export gives the same values.
for f in SPEAKER.EA SPEAKER.OHM; do
    run export --format csv "$dir/$f" -o -
    expect_rc 0 "csv of $f"
    printf '%s\n' "$OUT" >"$WORK/$f.csv"
    /usr/bin/python3 - "$dir/$f" "$WORK/$f.csv" <<'PY' || fail "$f: CSV not read with its header first"
import csv, sys
src, path = sys.argv[1:]
rows = list(csv.reader(open(path, newline="")))
unit = "Impedance (Ohm)" if src.endswith(".OHM") else "Magnitude (dB)"
assert rows[0] == ["Frequency (Hz)", unit, "Phase (deg)"], rows[0]
assert len(rows) > 100 and all(len(r) == 3 and [float(x) for x in r] for r in rows[1:]), "a row that is not three numbers"
try:
    import pandas
except ImportError:
    sys.exit(0)
frame = pandas.read_csv(path)
assert list(frame.columns) == rows[0] and len(frame) == len(rows) - 1, frame.columns
assert all(str(t) == "float64" or str(t) == "int64" for t in frame.dtypes), frame.dtypes
PY
    read -r rate length < <(python3 -c "import struct,sys; print(*struct.unpack_from('<ii', open(sys.argv[1],'rb').read(), 4))" "$dir/$f")
    back=$WORK/BACK.${f##*.}
    run import "$WORK/$f.csv" -o "$back" --rate "$rate" --length "$length"
    expect_rc 0 "import of the csv of $f"
    run export --format csv "$back" -o -
    cmp -s <(printf '%s\n' "$OUT") "$WORK/$f.csv" || fail "$f: export -> import -> export changed the CSV: $(diff <(printf '%s\n' "$OUT") "$WORK/$f.csv" | head -5)"
done

# Usage errors.
for args in "export" "export --format txt $dir/MIC.AE" "export --ppo 0 $dir/MIC.AE" "export $dir/MIC.AE $dir/ROOM.AA -o -" "export $dir/MIC.AE -o $WORK/missing-dir"; do
    run $args
    expect_rc 2 "$args"
done
echo "export: ok"
