# voxacurve info and render read curve texts (FRD, ZMA, CSV, TXT) given by
# name as import reads them, with its options; the kind of a CSV or TXT by
# its header's names; directories walked give curve files only.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
unset DISPLAY WAYLAND_DISPLAY

# Each row: file name | its text (printf format) | options | exit code | the
# line info prints. A response of 75 ... 85 dB, an impedance of 6 ... 30 Ohm,
# each flat at its ends so that the bins give them exactly.
cases=(
    "tw.frd|* REW\nFreq(Hz) SPL(dB)\n100 80\n1000 85\n2000 85\n5000 75\n10000 75\n|--length 4096|0|tw.frd: response FRD, N 4096, 48000 Hz, bin 11.71875 Hz, band 100 to 10007.8125 Hz, level factor 1, 75.00 to 85.00 dB, undrawable 0"
    "w.zma|20 6 0\n40 6 0\n200 30 0\n400 30 0\n2000 8 0\n|--length 4096 --rate 44100|0|w.zma: impedance ZMA, N 4096, 44100 Hz, bin 10.7666016 Hz, band 20 to 2002.58789 Hz, level factor 1, serial resistor 150 Ohm, 6.00 to 30.00 Ohm, undrawable 0"
    "W.CSV|Frequency (Hz),Impedance (Ohm)\n20,6\n40,6\n200,30\n400,30\n2000,8\n|--length 4096 --serial-resistor 8|0|W.CSV: impedance CSV, N 4096, 48000 Hz, bin 11.71875 Hz, band 20 to 2003.90625 Hz, level factor 1, serial resistor 8 Ohm, 6.00 to 30.00 Ohm, undrawable 0"
    "r.csv|Frequency,SPL,Phase\n100,80,0\n1000,85,0\n2000,85,0\n5000,75,0\n10000,75,0\n|--length 4096|0|r.csv: response CSV, N 4096, 48000 Hz, bin 11.71875 Hz, band 100 to 10007.8125 Hz, level factor 1, 75.00 to 85.00 dB, undrawable 0"
    "cols.txt|80;x;100\n85;y;1000\n85;y;2000\n75;z;5000\n75;z;10000\n|--length 4096 --columns 3,1|0|cols.txt: response TXT, N 4096, 48000 Hz, bin 11.71875 Hz, band 100 to 10007.8125 Hz, level factor 1, 75.00 to 85.00 dB, undrawable 0"
    "bad.csv|Frequency,Impedance\n20,7\n200,-3\n||1|bad.csv: refused: line 3: the impedance -3 Ohm is not positive"
    "one.frd|100 80\n||1|one.frd: refused: only one data line: a curve needs two frequencies or more"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name text options rc line <<<"$row"
    # shellcheck disable=SC2059
    printf "$text" >"$WORK/$name"
    read -r -a opts <<<"$options"
    (cd "$WORK" && run info "$name" "${opts[@]}" && expect_rc "$rc" "info $name" && [ "$OUT" = "$line" ]) \
        || fail "info $name $options: $(cd "$WORK" && "$VOXACURVE" info "$name" "${opts[@]}" 2>&1)"
done

# A curve text is drawn as the curve file import makes of it: the picture of
# SPEAKER.EA with tw.frd is the one with TW.EA imported from it, and not the
# one of SPEAKER.EA alone.
"$VOXACURVE" import "$WORK/tw.frd" -o "$WORK/TW.EA"
"$VOXACURVE" import "$WORK/w.zma" -o "$WORK/W.OHM" --rate 44100
run render "$dir/SPEAKER.EA" "$WORK/tw.frd" "$WORK/w.zma" --rate 44100 -o "$WORK/texts.png"
expect_rc 0 "render with curve texts"
[ -z "$ERR" ] || fail "messages on stderr: $ERR"
# The rate applies to both texts; import's default length to both.
"$VOXACURVE" import "$WORK/tw.frd" -o "$WORK/TW.EA" --rate 44100
"$VOXACURVE" render "$dir/SPEAKER.EA" "$WORK/TW.EA" "$WORK/W.OHM" -o "$WORK/files.png"
"$VOXACURVE" render "$dir/SPEAKER.EA" -o "$WORK/alone.png"
[ "$(compare -metric AE "$WORK/texts.png" "$WORK/files.png" null: 2>&1)" = 0 ] \
    || fail "curve texts not drawn as their imported curve files"
[ "$(compare -metric AE "$WORK/texts.png" "$WORK/alone.png" null: 2>&1)" != 0 ] \
    || fail "curve texts not drawn at all"
# Limits take the scale of a text's kind as of a curve file's.
printf '20 25\n20000 25\n' >"$WORK/upper.zma"
run render "$WORK/w.zma" --rate 44100 --upper "$WORK/upper.zma" -o "$WORK/text-limit.png"
expect_rc 0 "a limit over an impedance text"
"$VOXACURVE" render "$WORK/W.OHM" --upper "$WORK/upper.zma" -o "$WORK/file-limit.png"
[ "$(compare -metric AE "$WORK/text-limit.png" "$WORK/file-limit.png" null: 2>&1)" = 0 ] \
    || fail "the limit over an impedance text not on the Ohm scale"
run render "$WORK/bad.csv" "$dir/SPEAKER.EA" -o "$WORK/bad.png"
expect_rc 1 "render with a faulty text"
expect_in "$ERR" "bad.csv: refused: line 3: the impedance -3 Ohm is not positive" "reason"
run render "$WORK/notes.doc" -o "$WORK/doc.png"
expect_in "$ERR" "not a curve file name (EE, EA, AE, AA or OHM) nor a curve text (frd, zma, csv, txt)" "other names"

# Directories walked give their curve files only, not their texts.
mkdir "$WORK/archive"
cp "$dir/SPEAKER.EA" "$WORK/tw.frd" "$WORK/r.csv" "$WORK/archive/"
run info "$WORK/archive"
expect_rc 0 "info of a directory"
[ "$(wc -l <<<"$OUT")" = 1 ] && expect_in "$OUT" "SPEAKER.EA: response EA" "the curve file" \
    || fail "a directory gave more than its curve file: $OUT"

# Wrong options are usage errors.
for args in "--length 7" "--rate 0" "--columns 1"; do
    run info "$WORK/tw.frd" $args
    expect_rc 2 "info $args"
done
echo "curve texts: ok"
