# voxacurve info: one line per file with kind, header, band, range and the
# count of undrawable values; refused files with their reason and exit 1;
# --json; usage errors with exit 2.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
run info "$dir"/*
expect_rc 0 "info on the examples"
[ "$(wc -l <<<"$OUT")" = 7 ] || fail "not one line per file: $OUT"
expect_in "$OUT" "$dir/SPEAKER.EA: response EA, N 16384, 48000 Hz, bin 2.9296875 Hz, band 20 to 20000 Hz, level factor 141500, " "speaker line"
expect_in "$OUT" "$dir/SPEAKER.OHM: impedance OHM, N 16384, 48000 Hz" "impedance line"
expect_in "$OUT" "serial resistor 150 Ohm, 6.55 to 35.81 Ohm, undrawable 0" "impedance range at 150 Ohm"

# Letter case of the extension does not matter; the serial resistor scales Ohm.
cp "$dir/SPEAKER.OHM" "$WORK/lower.ohm"
run info --serial-resistor 300 "$WORK/lower.ohm"
expect_rc 0 "lower-case extension"
expect_in "$OUT" "impedance OHM" "lower-case kind"
expect_in "$OUT" "serial resistor 300 Ohm, 13.10 to 71.61 Ohm" "doubled resistor"

# A known file: levels 20 log10(10 * v) over bins 2 ... 5 of 750 Hz.
write_curve "$WORK/KNOWN.EE" 10 48000 64 4600 1000 '[1.0, 1.0, 1.0, 0.0, float("nan"), 10.0] + [-1.0] * 26'
run info "$WORK/KNOWN.EE"
expect_rc 0 "known file"
[ "$OUT" = "$WORK/KNOWN.EE: response EE, N 64, 48000 Hz, bin 750 Hz, band 1000 to 4600 Hz, level factor 10, 20.00 to 40.00 dB, undrawable 2" ] || fail "known line: $OUT"

# Refusals: the reader's and the drawing's, each with words; the good file
# is still described.
head -c 100 "$dir/WOOFER.EA" >"$WORK/SHORT.EA"
write_curve "$WORK/ODD.AA" 1 48000 63 20000 20 '[1.0] * 40'
write_curve "$WORK/ZERO.AE" 0 48000 64 20000 20 '[1.0] * 32'
write_curve "$WORK/NAN.EA" 1 48000 64 'nan' 20 '[1.0] * 32'
cp "$dir/WOOFER.EA" "$WORK/WOOFER.DAT"
cp "$dir/WOOFER.EA" "$WORK/WOOFER.TXT" # read as a curve text
run info "$WORK/SHORT.EA" "$WORK/ODD.AA" "$dir/WOOFER.EA" "$WORK/ZERO.AE" "$WORK/NAN.EA" "$WORK/WOOFER.DAT" "$WORK/WOOFER.TXT" "$WORK/MISSING.EA"
expect_rc 1 "refused files"
expect_in "$OUT" "$WORK/SHORT.EA: refused: truncated" "short file"
expect_in "$OUT" "$WORK/ODD.AA: refused: bad header" "odd length"
expect_in "$OUT" "$dir/WOOFER.EA: response EA" "good file among refused ones"
expect_in "$OUT" "$WORK/ZERO.AE: refused: level factor 0 cannot give a level" "level factor 0"
expect_in "$OUT" "$WORK/NAN.EA: refused: its band cannot be drawn" "NaN band edge"
expect_in "$OUT" "$WORK/WOOFER.DAT: refused: not a curve file name" "unknown extension"
expect_in "$OUT" "$WORK/WOOFER.TXT: refused: NUL bytes in the text" "a curve file named as a text"
expect_in "$OUT" "$WORK/MISSING.EA: refused: cannot be read" "missing file"
grep -qi nan <<<"$(grep -v NAN.EA <<<"$OUT")" && fail "a NaN in the output: $OUT"

# JSON: one array, one object per file, numbers as numbers.
run info --json "$dir/SPEAKER.OHM" "$WORK/SHORT.EA" "$WORK/KNOWN.EE"
expect_rc 1 "json with a refused file"
/usr/bin/python3 - "$WORK/out" "$dir" "$WORK" <<'PY' || fail "json: $OUT"
import json, sys
items = json.load(open(sys.argv[1]))
assert [i["name"] for i in items] == [sys.argv[2] + "/SPEAKER.OHM", sys.argv[3] + "/SHORT.EA", sys.argv[3] + "/KNOWN.EE"], items
assert items[0]["kind"] == "impedance" and items[0]["unit"] == "Ohm" and items[0]["serialResistor"] == 150
assert items[0]["transformLength"] == 16384 and items[0]["sampleRate"] == 48000
assert abs(items[0]["minimum"] - 6.549) < 0.01 and items[0]["undrawable"] == 0
assert items[1]["refused"].startswith("truncated"), items[1]
assert items[2]["minimum"] == 20 and items[2]["maximum"] == 40 and items[2]["undrawable"] == 2
assert items[2]["bandBins"] == 4 and items[2]["binWidth"] == 750
PY

# Usage errors.
for args in "info" "info --bogus $dir/SPEAKER.EA" "info --serial-resistor 50 $dir/SPEAKER.OHM" "info --serial-resistor abc $dir/SPEAKER.OHM" "info --serial-resistor"; do
    run $args
    expect_rc 2 "$args"
    expect_in "$ERR" "usage: voxacurve info" "usage text for $args"
done
run frobnicate
expect_rc 2 "unknown command"
run
expect_rc 2 "no command"
run --help
expect_rc 0 "--help"
expect_in "$OUT" "voxacurve import FILE -o OUT" "help lists the commands"
echo "info: ok"
