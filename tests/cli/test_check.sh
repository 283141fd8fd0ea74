# voxacurve check: every curve against an upper and a lower limit (text or
# curve files), optionally shifted to 0 dB at a frequency first; one line per
# file, a summary, exit 0 only when every file passes; --json.
source "$(dirname "$0")/lib.sh"

# 70 dB flat from 100 Hz to 10 kHz; the same with 80 dB at 900 ... 1100 Hz
# (bins of 11.71875 Hz); 60 dB flat; and a truncated file.
mkdir "$WORK/batch"
write_curve "$WORK/batch/FLAT.EA" 1 48000 4096 10000 100 '[10 ** (70 / 20)] * 2048'
write_curve "$WORK/batch/BUMP.EA" 1 48000 4096 10000 100 \
    '[10 ** ((80 if 900 <= i * 48000 / 4096 <= 1100 else 70) / 20) for i in range(2048)]'
write_curve "$WORK/batch/LOW.EA" 1 48000 4096 10000 100 '[10 ** (60 / 20)] * 2048'
head -c 100 "$WORK/batch/FLAT.EA" >"$WORK/batch/SHORT.EA"

printf '* upper\n20 75\n20000 75\n' >"$WORK/upper.frd"
printf 'Frequency,dB\n20,65\n20000,65\n' >"$WORK/lower.csv"
write_curve "$WORK/UPPER.EA" 1 48000 4096 20000 20 '[10 ** (75 / 20)] * 2048'
write_curve "$WORK/LOWER.EA" 1 48000 4096 20000 20 '[10 ** (65 / 20)] * 2048'
printf '100 3\n10000 3\n' >"$WORK/plus3.frd"
printf '100 -3\n10000 -3\n' >"$WORK/minus3.frd"
write_curve "$WORK/Z.OHM" 1 48000 4096 20000 20 '[0.1] * 2048'

bump="$WORK/batch/BUMP.EA: fail: above the upper limit from 902.344 to 1089.84 Hz by up to 5.00 dB at 902.344 Hz"
# Each row: files|options|exit code|lines expected in the output (;-separated).
cases=(
    "FLAT.EA|--upper $WORK/upper.frd --lower $WORK/lower.csv|0|$WORK/batch/FLAT.EA: pass;checked 1 files: 1 pass, 0 fail, 0 refused or unreadable"
    "FLAT.EA BUMP.EA|--upper $WORK/upper.frd --lower $WORK/lower.csv|1|$bump;checked 2 files: 1 pass, 1 fail, 0 refused or unreadable"
    "BUMP.EA|--upper $WORK/UPPER.EA --lower $WORK/LOWER.EA|1|$bump"
    "LOW.EA|--lower $WORK/LOWER.EA|1|$WORK/batch/LOW.EA: fail: below the lower limit from 105.469 to 9984.38 Hz by up to 5.00 dB at 105.469 Hz"
    "LOW.EA FLAT.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd --offset-to 5000|0|checked 2 files: 2 pass, 0 fail, 0 refused or unreadable"
    "LOW.EA|--upper $WORK/plus3.frd --lower $WORK/minus3.frd|1|$WORK/batch/LOW.EA: fail: above the upper limit from 105.469 to 9984.38 Hz by up to 57.00 dB at 105.469 Hz"
    "FLAT.EA|--upper $WORK/plus3.frd --offset-to 50|1|$WORK/batch/FLAT.EA: refused: --offset-to 50 Hz lies outside its band"
    "FLAT.EA|--upper $WORK/Z.OHM|1|$WORK/batch/FLAT.EA: refused: no limit for it: $WORK/Z.OHM is an impedance curve, not a frequency response"
    ".|--upper $WORK/upper.frd --lower $WORK/lower.csv|1|$WORK/batch/SHORT.EA: refused: truncated (shorter than its 20-byte header and N/2 values);checked 4 files: 1 pass, 2 fail, 1 refused or unreadable"
)
for row in "${cases[@]}"; do
    IFS='|' read -r files options rc lines <<<"$row"
    read -r -a names <<<"$files"
    [ "$files" = . ] && names=("$WORK/batch") || names=("${names[@]/#/$WORK/batch/}")
    read -r -a opts <<<"$options"
    run check "${names[@]}" "${opts[@]}"
    expect_rc "$rc" "check $files $options"
    IFS=';' read -r -a want <<<"$lines"
    for line in "${want[@]}"; do
        grep -qxF -- "$line" <<<"$OUT" || fail "check $files $options: no line \"$line\" in: $OUT"
    done
done

# --json: one object for machines.
run check "$WORK/batch" --upper "$WORK/upper.frd" --lower "$WORK/lower.csv" --json
expect_rc 1 "--json"
python3 - "$OUT" "$WORK" <<'PY' || fail "JSON: $OUT"
import json, sys
doc, work = json.loads(sys.argv[1]), sys.argv[2]
assert (doc["checked"], doc["pass"], doc["fail"], doc["refused"]) == (4, 1, 2, 1), doc
byname = {f["name"]: f for f in doc["files"]}
bump = byname[work + "/batch/BUMP.EA"]
assert bump["result"] == "fail" and bump["unit"] == "dB" and bump["below"] is None
assert abs(bump["above"]["worst"] - 5) < 1e-4 and 900 < bump["above"]["at"] < 905, bump
assert byname[work + "/batch/LOW.EA"]["below"]["worst"] > 4.99
assert byname[work + "/batch/SHORT.EA"]["result"] == "refused"
assert byname[work + "/batch/FLAT.EA"] == {"name": work + "/batch/FLAT.EA", "result": "pass", "unit": "dB", "above": None, "below": None}
PY

# Wrong command lines and limits that cannot be used.
printf 'nothing here\n' >"$WORK/junk.frd"
for args in "" "--upper" "--offset-to 0 --upper $WORK/upper.frd" "--upper $WORK/missing.frd" \
    "--upper $WORK/junk.frd" "--lower $WORK/batch/SHORT.EA"; do
    read -r -a a <<<"$args"
    run check "$WORK/batch/FLAT.EA" "${a[@]}"
    expect_rc 2 "check $args"
done
expect_in "$ERR" "SHORT.EA: the limit cannot be used: truncated" "unusable limit named"
echo PASS
