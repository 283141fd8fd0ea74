# What render writes when inputs fail or collide: no picture replaced by an
# empty grid, no two files written to one name, no file's picture lost to
# another's clean-up whatever characters the names hold.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
echo "the old picture" >"$WORK/old"

# Every input refused (a wrong name, a missing file, a truncated curve, a
# curve whose drawing faults): nothing written, the old picture kept, exit 1.
head -c 100 "$dir/WOOFER.EA" >"$WORK/SHORT.EA"
write_curve "$WORK/NEGATIVE.EA" 1 48000 4096 20000 20 '[10 ** 4] * 500 + [-1.0] * 1548'
cp "$dir/WOOFER.EA" "$WORK/woofer.txt"
while read -r what inputs; do
    for ext in png svg pdf; do
        cp "$WORK/old" "$WORK/report.$ext"
        # shellcheck disable=SC2086
        run render $inputs -o "$WORK/report.$ext"
        expect_rc 1 "$what ($ext)"
        expect_in "$ERR" "report.$ext: not written: no curve could be drawn" "$what ($ext)"
        cmp -s "$WORK/old" "$WORK/report.$ext" || fail "$what: report.$ext was replaced"
        rm "$WORK/report.$ext"
        run render $inputs -o "$WORK/report.$ext"
        [ ! -e "$WORK/report.$ext" ] || fail "$what: report.$ext was made"
    done
done <<CASES
wrong-name $WORK/woofer.txt
missing $WORK/MISSING.EA
truncated $WORK/SHORT.EA
faulting $WORK/NEGATIVE.EA
all-four $WORK/woofer.txt $WORK/MISSING.EA $WORK/SHORT.EA $WORK/NEGATIVE.EA
empty-dir $WORK/examples-none
CASES

# --each: two inputs of one name (from two directories) claim one picture; the first is written, the others are refused before
# anything is written, as export does.
mkdir -p "$WORK/d1" "$WORK/d2"
cp "$dir/WOOFER.EA" "$WORK/d1/"
cp "$dir/SPEAKER.EA" "$WORK/d2/WOOFER.EA"
while read -r what first inputs; do
    rm -rf "$WORK/each"
    # shellcheck disable=SC2086
    run render --each $inputs -o "$WORK/each"
    expect_rc 1 "$what"
    expect_in "$ERR" "WOOFER.EA: not written: $WORK/each/WOOFER.EA.png is the output of another file of this run" "$what"
    expect_in "$ERR" "rendered 1 of $(tr ' ' '\n' <<<"$inputs" | sort -u | wc -l) files" "$what"
    [ "$(ls -A "$WORK/each")" = WOOFER.EA.png ] || fail "$what: pictures $(ls -A "$WORK/each")"
    run render "$first" -o "$WORK/first.png"
    cmp -s "$WORK/first.png" "$WORK/each/WOOFER.EA.png" || fail "$what: not the first file's picture"
done <<CASES
two-directories $WORK/d1/WOOFER.EA $WORK/d1/WOOFER.EA $WORK/d2/WOOFER.EA
CASES
# One file named three times is one input: drawn once, the repeats said.
rm -rf "$WORK/each"
run render --each "$WORK/d2/WOOFER.EA" "$WORK/d2/WOOFER.EA" "$WORK/d2/WOOFER.EA" -o "$WORK/each"
expect_rc 0 "one name thrice"
expect_in "$ERR" "rendered 1 of 1 files" "one name thrice"
[ "$(grep -c "WOOFER.EA: reached again as $WORK/d2/WOOFER.EA, counted once" <<<"$ERR")" = 2 ] \
    || fail "one name thrice: repeats not said: $ERR"

# 1,000 names F$i.EE beside 1,000 names *$i.EE, written at the same time
# (render --each on its threads, given F1, *1, F2, *2, ...; two exports
# side by side): every picture and text arrives.
mkdir "$WORK/many"
write_curve "$WORK/many/F0.EE" 1 48000 64 20000 20 '[10 ** 4] * 32'
/usr/bin/python3 - "$WORK/many" "$WORK" <<'PY'
import os, shutil, sys
d, work = sys.argv[1], sys.argv[2]
with open(os.path.join(work, "both"), "w") as both, open(os.path.join(work, "plain"), "w") as plain, \
        open(os.path.join(work, "star"), "w") as star:
    for i in range(1, 1001):
        for name, own in (("F%d.EE" % i, plain), ("*%d.EE" % i, star)):
            shutil.copyfile(os.path.join(d, "F0.EE"), os.path.join(d, name))  # links count once
            both.write(os.path.join(d, name) + "\n")
            own.write(os.path.join(d, name) + "\n")
os.remove(os.path.join(d, "F0.EE"))
PY
count() { find "$1" -name "*.$2" -size +0 | wc -l; }
run render --each --files-from "$WORK/both" -o "$WORK/many-png"
expect_rc 0 "render --each of F and * names"
[ "$(count "$WORK/many-png" png)" = 2000 ] || fail "render --each: $(count "$WORK/many-png" png) of 2000 pictures"
mkdir "$WORK/many-frd"
"$VOXACURVE" export --files-from "$WORK/plain" -o "$WORK/many-frd" 2>"$WORK/plain.err" &
"$VOXACURVE" export --files-from "$WORK/star" -o "$WORK/many-frd" 2>"$WORK/star.err" ||
    fail "export of * names: $(cat "$WORK/star.err")"
wait $! || fail "export of F names: $(cat "$WORK/plain.err")"
[ "$(count "$WORK/many-frd" frd)" = 2000 ] || fail "export: $(count "$WORK/many-frd" frd) of 2000 texts"
echo "render writes: ok"
