# The files voxacurve makes take 0666 less the user's umask; a file it
# replaces keeps its mode. Export, import, render and render --each (written
# on several threads) under the umasks 077 and 022.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
frd=$WORK/speaker.frd
"$VOXACURVE" export "$dir/SPEAKER.EA" -o - >"$frd"

# Runs every command that writes a file into OUT (a new directory).
write_all() {
    local out=$1
    mkdir -p "$out/each"
    run export "$dir/SPEAKER.EA" "$dir/SPEAKER.OHM" -o "$out"
    expect_rc 0 "export"
    run import "$frd" -o "$out/IMPORTED.EA" --length 4096
    expect_rc 0 "import"
    run render "$dir/SPEAKER.EA" -o "$out/picture.png"
    expect_rc 0 "render png"
    run render "$dir/SPEAKER.EA" -o "$out/report.svg"
    expect_rc 0 "render svg"
    run render --each "$dir/SPEAKER.EA" "$dir/WOOFER.EA" "$dir/ROOM.AA" "$dir/MIC.AE" -o "$out/each"
    expect_rc 0 "render --each"
}

outputs="SPEAKER.EA.frd SPEAKER.OHM.zma IMPORTED.EA picture.png report.svg
    each/SPEAKER.EA.png each/WOOFER.EA.png each/ROOM.AA.png each/MIC.AE.png"

for mask in 077 022; do
    want=$(printf '%o' $((0666 & ~8#$mask)))
    out=$WORK/umask-$mask
    (umask "$mask" && write_all "$out") || exit 1
    for f in $outputs; do
        [ -f "$out/$f" ] || fail "umask $mask: $f was not written"
        mode=$(stat -c %a "$out/$f")
        [ "$mode" = "$want" ] || fail "umask $mask: new $f has mode $mode, not $want"
        chmod 640 "$out/$f"
    done
    (umask "$mask" && write_all "$out") || exit 1
    for f in $outputs; do
        mode=$(stat -c %a "$out/$f")
        [ "$mode" = 640 ] || fail "umask $mask: replaced $f has mode $mode, not 640"
    done
    leftovers=$(find "$out" -name '.*' -type f)
    [ -z "$leftovers" ] || fail "temporaries left: $leftovers"
done
echo "file modes: ok"
