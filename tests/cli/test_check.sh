# voxacurve check: every curve against an upper and a lower limit (text or
# curve files, each of one kind), optionally shifted to 0 dB at a frequency
# or onto the limits' mean over a band first; one line per file with every
# run beyond a limit and the margins, a summary with the yield, exit 0 only
# when every file passes; --json; limits no measurement holds refused.
source "$(dirname "$0")/lib.sh"

# 70 dB flat from 100 Hz to 10 kHz; the same with 80 dB at 900 ... 1100 Hz
# (bins of 11.71875 Hz); 60 dB flat; 80 dB peaks at 150 ... 250 Hz and
# 4.9 ... 5.1 kHz; and a truncated file.
level() { echo "10 ** (($1) / 20)"; }
mkdir "$WORK/batch"
write_curve "$WORK/batch/FLAT.EA" 1 48000 4096 10000 100 "[$(level 70)] * 2048"
write_curve "$WORK/batch/BUMP.EA" 1 48000 4096 10000 100 \
    "[$(level '80 if 900 <= i * 48000 / 4096 <= 1100 else 70') for i in range(2048)]"
write_curve "$WORK/batch/LOW.EA" 1 48000 4096 10000 100 "[$(level 60)] * 2048"
head -c 100 "$WORK/batch/FLAT.EA" >"$WORK/batch/SHORT.EA"
mkdir "$WORK/more"
write_curve "$WORK/more/PEAKS.EA" 1 48000 4096 10000 100 \
    "[$(level '80 if 150 <= i * 48000 / 4096 <= 250 or 4900 <= i * 48000 / 4096 <= 5100 else 70') for i in range(2048)]"
write_curve "$WORK/more/Z.OHM" 1 48000 4096 20000 20 '[0.1] * 2048'  # 15 Ohm

printf '* upper\n20 75\n20000 75\n' >"$WORK/upper.frd"
printf 'Frequency,dB\n20,65\n20000,65\n' >"$WORK/lower.csv"
printf '20 70\n20000 70\n' >"$WORK/at70.frd"
printf '20 70\n50 70\n' >"$WORK/narrow.frd"
write_curve "$WORK/UPPER.EA" 1 48000 4096 20000 20 "[$(level 75)] * 2048"
write_curve "$WORK/LOWER.EA" 1 48000 4096 20000 20 "[$(level 65)] * 2048"
printf '100 3\n10000 3\n' >"$WORK/plus3.frd"
printf '100 -3\n10000 -3\n' >"$WORK/minus3.frd"
printf '20 20\n20000 20\n' >"$WORK/twenty.zma"
printf 'Frequency (Hz),Impedance (Ohm)\n20,10\n20000,10\n' >"$WORK/ten-ohm.csv"
write_curve "$WORK/Z.OHM" 1 48000 4096 20000 20 '[0.1] * 2048'

W=$WORK/batch
margins="margin: upper 5.00 dB at 105.469 Hz, lower 5.00 dB at 105.469 Hz"
bump="$W/BUMP.EA: fail: above the upper limit from 902.344 to 1089.84 Hz by up to 5.00 dB at 902.344 Hz; margin: upper -5.00 dB at 902.344 Hz, lower 5.00 dB at 105.469 Hz"
limits="--upper $WORK/upper.frd --lower $WORK/lower.csv"
# Each row: files (in batch/ unless they hold a /)|options|exit code|lines expected in the
# output (#-separated).
cases=(
    "FLAT.EA|$limits|0|$W/FLAT.EA: pass; $margins#checked 1 file: 1 pass, 0 fail, 0 not judged, 0 refused or unreadable#yield 100.0 % (1 of 1 judged); closest to the limits at 105.469 Hz: 5.00 dB to the lower limit"
    "FLAT.EA BUMP.EA|$limits|1|$bump#checked 2 files: 1 pass, 1 fail, 0 not judged, 0 refused or unreadable#yield 50.0 % (1 of 2 judged); closest to the limits at 902.344 Hz: -5.00 dB to the upper limit"
    "BUMP.EA|--upper $WORK/UPPER.EA --lower $WORK/LOWER.EA|1|$bump"
    "LOW.EA|--lower $WORK/LOWER.EA|1|$W/LOW.EA: fail: below the lower limit from 105.469 to 9984.38 Hz by up to 5.00 dB at 105.469 Hz; margin: lower -5.00 dB at 105.469 Hz"
    # Every run beyond a limit, not one range from the first to the last.
    "$WORK/more/PEAKS.EA|$limits|1|$WORK/more/PEAKS.EA: fail: above the upper limit from 152.344 to 246.094 Hz by up to 5.00 dB at 152.344 Hz, from 4910.16 to 5097.66 Hz by up to 5.00 dB at 4910.16 Hz; margin: upper -5.00 dB at 152.344 Hz, lower 5.00 dB at 105.469 Hz"
    # 70 dB as stored (69.9999998 dB) lies on limits of 70 dB.
    "FLAT.EA|--upper $WORK/at70.frd --lower $WORK/at70.frd|0|$W/FLAT.EA: pass; margin: upper 0.00 dB at 105.469 Hz, lower 0.00 dB at 105.469 Hz"
    # A limit that covers no bin judges nothing: not a pass.
    "FLAT.EA|--upper $WORK/narrow.frd|1|$W/FLAT.EA: not judged: the upper limit (20 to 50 Hz) covers none of its bins (105.469 to 9984.38 Hz)#checked 1 file: 0 pass, 0 fail, 1 not judged, 0 refused or unreadable#yield: no curve judged"
    "LOW.EA FLAT.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd --offset-to 5000|0|checked 2 files: 2 pass, 0 fail, 0 not judged, 0 refused or unreadable"
    "LOW.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd|1|$W/LOW.EA: fail: above the upper limit from 105.469 to 9984.38 Hz by up to 57.00 dB at 105.469 Hz; margin: upper -57.00 dB at 105.469 Hz, lower 63.00 dB at 105.469 Hz"
    "FLAT.EA|--upper $WORK/plus3.frd --offset-to 50|1|$W/FLAT.EA: refused: --offset-to 50 Hz lies outside its band"
    # Shifted so that the power average over the band lies on the limits' mean, 0 dB.
    "LOW.EA FLAT.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd --offset-band 1000:2000|0|$W/LOW.EA: pass; margin: upper 3.00 dB at 105.469 Hz, lower 3.00 dB at 105.469 Hz"
    # The power average of 500 ... 1500 Hz, 17 of its 86 bins at 80 dB, is 74.44 dB, shifted to 0 dB.
    "BUMP.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd --offset-band 500:1500|1|$W/BUMP.EA: fail: above the upper limit from 902.344 to 1089.84 Hz by up to 2.56 dB at 902.344 Hz; below the lower limit from 105.469 to 890.625 Hz by up to 1.44 dB at 105.469 Hz, from 1101.56 to 9984.38 Hz by up to 1.44 dB at 1101.56 Hz; margin: upper -2.56 dB at 902.344 Hz, lower -1.44 dB at 105.469 Hz"
    "FLAT.EA|--upper $WORK/plus3.frd --offset-band 101:105|1|$W/FLAT.EA: refused: --offset-band 101:105 Hz holds none of its bins"
    # A limit of the other kind is refused for the curve, text or curve file.
    "FLAT.EA|--upper $WORK/Z.OHM|1|$W/FLAT.EA: refused: no limit for it: $WORK/Z.OHM is an impedance curve, not a frequency response"
    "FLAT.EA|--upper $WORK/twenty.zma|1|$W/FLAT.EA: refused: no limit for it: $WORK/twenty.zma is an impedance curve, not a frequency response"
    "$WORK/more/Z.OHM|--upper $WORK/upper.frd|1|$WORK/more/Z.OHM: refused: no limit for it: $WORK/upper.frd is a frequency response, not an impedance curve"
    "$WORK/more/Z.OHM|--upper $WORK/twenty.zma --lower $WORK/ten-ohm.csv|0|$WORK/more/Z.OHM: pass; margin: upper 5.00 Ohm at 23.4375 Hz, lower 5.00 Ohm at 23.4375 Hz"
    ".|$limits|1|$W/SHORT.EA: refused: truncated (shorter than its 20-byte header and N/2 values)#checked 4 files: 1 pass, 2 fail, 0 not judged, 1 refused or unreadable"
)
for row in "${cases[@]}"; do
    IFS='|' read -r files options rc lines <<<"$row"
    read -r -a names <<<"$files"
    if [ "$files" = . ]; then
        names=("$W")
    elif [[ $files != */* ]]; then
        names=("${names[@]/#/$W/}")
    fi
    read -r -a opts <<<"$options"
    run check "${names[@]}" "${opts[@]}"
    expect_rc "$rc" "check $files $options"
    IFS='#' read -r -a want <<<"$lines"
    for line in "${want[@]}"; do
        grep -qxF -- "$line" <<<"$OUT" || fail "check $files $options: no line \"$line\" in: $OUT"
    done
done

# --json: one object for machines; FLAT.EA, reached again by its name, counts once.
run check "$W" "$WORK/more/PEAKS.EA" "$W/FLAT.EA" --upper "$WORK/upper.frd" --lower "$WORK/lower.csv" --json
expect_rc 1 "--json"
expect_in "$ERR" "FLAT.EA, counted once" "a file reached twice"
python3 - "$OUT" "$WORK" <<'PY' || fail "JSON: $OUT"
import json, sys
doc, work = json.loads(sys.argv[1]), sys.argv[2]
assert (doc["checked"], doc["pass"], doc["fail"], doc["notJudged"], doc["refused"], doc["judged"]) == (5, 1, 3, 0, 1, 4), doc
assert doc["yield"] == 0.25, doc
closest = doc["closest"]
assert closest["limit"] == "upper" and closest["distance"] == -5 and 900 < closest["at"] < 905, closest
assert closest["name"] == work + "/batch/BUMP.EA", closest
byname = {f["name"]: f for f in doc["files"]}
bump = byname[work + "/batch/BUMP.EA"]
assert bump["result"] == "fail" and bump["unit"] == "dB" and bump["below"] == []
[above] = bump["above"]
assert abs(above["worst"] - 5) < 1e-4 and 900 < above["at"] < 905 and above["to"] < 1090, bump
assert bump["margin"]["upper"]["distance"] == -5 and abs(bump["margin"]["lower"]["distance"] - 5) < 1e-4
peaks = byname[work + "/more/PEAKS.EA"]
assert [(round(r["from"], 2), round(r["to"], 2)) for r in peaks["above"]] == [(152.34, 246.09), (4910.16, 5097.66)], peaks
assert byname[work + "/batch/LOW.EA"]["below"][0]["worst"] > 4.99
assert byname[work + "/batch/SHORT.EA"]["result"] == "refused"
flat = byname[work + "/batch/FLAT.EA"]
assert flat["result"] == "pass" and flat["above"] == flat["below"] == [] and "reason" not in flat, flat
assert abs(flat["margin"]["upper"]["distance"] - 5) < 1e-4 and flat["margin"]["upper"]["at"] == 105.46875, flat
PY
run check "$W/FLAT.EA" --upper "$WORK/narrow.frd" --json
expect_rc 1 "--json not judged"
python3 - "$OUT" <<'PY' || fail "JSON not judged: $OUT"
import json, sys
doc = json.loads(sys.argv[1])
[f] = doc["files"]
assert f["result"] == "not judged" and "covers none of its bins" in f["reason"], f
assert f["margin"] == {"upper": None, "lower": None} and doc["yield"] is None and doc["closest"] is None, doc
PY

# No file at all: nothing judged, said so, exit 1.
mkdir "$WORK/empty"
: >"$WORK/empty.list"
for input in "$WORK/empty" "--files-from $WORK/empty.list"; do
    read -r -a a <<<"$input"
    run check "${a[@]}" --upper "$WORK/upper.frd"
    expect_rc 1 "check $input"
    expect_in "$OUT" "checked 0 files: 0 pass, 0 fail, 0 not judged, 0 refused or unreadable" "$input"
    expect_in "$ERR" "no curve file to check was given or found: nothing was judged" "$input"
done

# A subdirectory that cannot be listed counts as refused (as nobody: root lists it).
if [ "$(id -u)" = 0 ] && setpriv --reuid=nobody --regid=nogroup --clear-groups "$VOXACURVE" --help >/dev/null 2>&1; then
    mkdir -p "$WORK/walk/locked"
    cp "$W/FLAT.EA" "$WORK/walk/"
    cp "$W/FLAT.EA" "$WORK/walk/locked/"
    chmod 000 "$WORK/walk/locked"
    chmod 755 "$WORK"
    for format in text json; do
        RC=0
        setpriv --reuid=nobody --regid=nogroup --clear-groups "$VOXACURVE" check "$WORK/walk" \
            --upper "$WORK/upper.frd" $([ $format = json ] && echo --json) >"$WORK/out" 2>"$WORK/err" || RC=$?
        OUT=$(cat "$WORK/out")
        ERR=$(cat "$WORK/err")
        expect_rc 1 "unreadable subdirectory ($format)"
        if [ $format = text ]; then
            expect_in "$OUT" "checked 2 files: 1 pass, 0 fail, 0 not judged, 1 refused or unreadable" "unreadable subdirectory"
        else
            python3 -c 'import json, sys; d = json.loads(sys.argv[1]); assert (d["checked"], d["pass"], d["refused"]) == (2, 1, 1), d' "$OUT" ||
                fail "unreadable subdirectory in JSON: $OUT"
        fi
    done
    chmod 755 "$WORK/walk/locked"
fi

# Limits that no measurement holds: refused with the line, no long numbers printed.
printf '20 70\n1000 1e308\n20000 70\n' >"$WORK/huge.frd"
printf '20 70\n1000 -1001\n' >"$WORK/deep.frd"
printf '20 8\n1000 2e9\n' >"$WORK/open.zma"
printf '20 8\n1000 0\n' >"$WORK/short.zma"
printf '20 70\n2e9 70\n' >"$WORK/far.frd"
write_curve "$WORK/LOUD.EA" 1e30 48000 4096 20000 20 '[1e30] * 2048'
# limit|words on stderr
limit_cases=(
    "huge.frd|huge.frd:2: the level 1e+308 dB at 1000 Hz lies beyond what a measurement holds (-1000 to 1000 dB)"
    "deep.frd|deep.frd:2: the level -1001 dB at 1000 Hz lies beyond"
    "open.zma|open.zma:2: the impedance 2e+09 Ohm at 1000 Hz lies beyond what a measurement holds (1e-09 to 1e+09 Ohm)"
    "short.zma|short.zma:2:"
    "far.frd|far.frd:2: the frequency 2e+09 Hz lies beyond what a measurement holds"
    "LOUD.EA|LOUD.EA: the limit cannot be used: the level 1200 dB at 23.4375 Hz lies beyond"
)
for row in "${limit_cases[@]}"; do
    IFS='|' read -r limit words <<<"$row"
    run check "$W/FLAT.EA" --upper "$WORK/$limit"
    expect_rc 2 "limit $limit"
    expect_in "$ERR" "$words" "limit $limit"
    grep -qE '[0-9]{12}' <<<"$OUT$ERR" && fail "limit $limit: a long number printed: $OUT$ERR"
done
# A curve no measurement holds is refused as well.
cp "$WORK/LOUD.EA" "$W/"
run check "$W/LOUD.EA" --upper "$WORK/upper.frd"
expect_rc 1 "curve beyond the bounds"
expect_in "$OUT" "$W/LOUD.EA: refused: the level 1200 dB at 23.4375 Hz lies beyond" "curve beyond the bounds"
rm "$W/LOUD.EA"

# Wrong command lines and limits that cannot be used.
printf 'nothing here\n' >"$WORK/junk.frd"
for args in "" "--upper" "--offset-to 0 --upper $WORK/upper.frd" "--upper $WORK/missing.frd" \
    "--upper $WORK/junk.frd" "--lower $WORK/batch/SHORT.EA" \
    "--upper $WORK/upper.frd --lower $WORK/twenty.zma" \
    "--upper $WORK/twenty.zma --offset-to 1000" "--upper $WORK/twenty.zma --offset-band 100:200" \
    "--upper $WORK/plus3.frd --offset-to 1000 --offset-band 100:200" \
    "--upper $WORK/plus3.frd --offset-band 1000" "--upper $WORK/plus3.frd --offset-band 200:100" \
    "--upper $WORK/plus3.frd --offset-band 0:100" "--upper $WORK/plus3.frd --offset-band 1,5:100" \
    "--upper $WORK/plus3.frd --offset-band 50:200"; do
    read -r -a a <<<"$args"
    run check "$W/FLAT.EA" "${a[@]}"
    expect_rc 2 "check $args"
done
expect_in "$ERR" "--offset-band 50:200 Hz reaches beyond the limit $WORK/plus3.frd (100 to 10000 Hz)" "band beyond a limit"
run check "$W/FLAT.EA" --lower "$W/SHORT.EA"
expect_in "$ERR" "SHORT.EA: the limit cannot be used: truncated" "unusable limit named"
run check "$W/FLAT.EA" --upper "$WORK/upper.frd" --lower "$WORK/twenty.zma"
expect_in "$ERR" "the upper limit $WORK/upper.frd is a frequency response, the lower limit $WORK/twenty.zma an impedance curve" "limits of two kinds"
run check "$W/FLAT.EA" --upper "$WORK/plus3.frd" --offset-to 1000 --offset-band 100:200
expect_in "$ERR" "--offset-to and --offset-band exclude each other" "both alignments"
echo PASS
