# voxacurve render: PNG, SVG and PDF pictures of the viewer's plot without a
# screen; refused and faulting curves are reported and left out; --each
# writes one picture per file with a progress bar on a terminal and a
# summary; wrong scales are usage errors naming the option.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
unset DISPLAY WAYLAND_DISPLAY # no screen of any kind

# One picture in each format at the size asked for.
run render "$dir/SPEAKER.EA" "$dir/SPEAKER.OHM" -o "$WORK/both.png" --size 800x500
expect_rc 0 "png"
[ -z "$ERR" ] || fail "messages on stderr: $ERR"
[ "$(identify -format '%w %h' "$WORK/both.png")" = "800 500" ] || fail "png size"
run render "$dir/SPEAKER.EA" "$dir/SPEAKER.OHM" -o "$WORK/both.svg" --colours print
expect_rc 0 "svg"
grep -q '<polyline' "$WORK/both.svg" || fail "no vector lines in the svg"
grep -q '>Hz</text>' "$WORK/both.svg" || fail "no axis text in the svg"
run render "$dir/ROOM.AA" -o "$WORK/room.PDF"
expect_rc 0 "pdf"
pdfinfo "$WORK/room.PDF" | grep -q 'Page size: *640 x 450 pts' || fail "pdf page size"
pdftotext "$WORK/room.PDF" - | grep -q 'dBxx' || fail "no text in the pdf"

# The level scale moves the curve: a flat 80 dB response lies on the row of
# 80 dB, 1/3 down a 60 dB range from 100 dB, then at the middle of 60 to 100.
write_curve "$WORK/FLAT.EE" 1 48000 4096 20000 20 '[10 ** 4] * 2048'
pixel_row_of() { # PNG COLOUR: the rows of the data window holding the colour at column 300
    convert "$1" -crop 1x402+352+24 +repage txt:- | grep -i "$2" | sed -E 's/^0,([0-9]+):.*/\1/' | tr '\n' ' '
}
run render "$WORK/FLAT.EE" -o "$WORK/flat.png"
expect_rc 0 "flat"
rows=$(pixel_row_of "$WORK/flat.png" '#00FF00')
[ "$rows" = "134 " ] || fail "80 dB not on row 402/3 = 134: $rows"
run render "$WORK/FLAT.EE" -o "$WORK/flat-zoomed.png" --level-top 100 --level-range 40
expect_rc 0 "zoomed"
rows=$(pixel_row_of "$WORK/flat-zoomed.png" '#00FF00')
[ "$rows" = "201 " ] || fail "80 dB not on row 402/2 = 201 at 60 to 100 dB: $rows"

# A refused file and a curve whose drawing faults are named, left out and
# make the exit status 1; the picture of the others is written.
head -c 100 "$dir/WOOFER.EA" >"$WORK/SHORT.EA"
write_curve "$WORK/NEGATIVE.EA" 1 48000 4096 20000 20 '[10 ** 4] * 500 + [-1.0] * 1548'
run render "$WORK/SHORT.EA" "$WORK/NEGATIVE.EA" "$dir/WOOFER.EA" -o "$WORK/some.png"
expect_rc 1 "refused and faulting files"
expect_in "$ERR" "$WORK/SHORT.EA: refused: truncated" "short file"
expect_in "$ERR" "$WORK/NEGATIVE.EA: refused: drawing the curve failed: invalid floating-point operation" "faulting curve"
[ -s "$WORK/some.png" ] || fail "the picture of the good file is missing"
# WOOFER, the third file, is the first drawn: lime.
[ "$(convert "$WORK/some.png" -fill black +opaque '#00FF00' -format '%[fx:mean>0]' info:)" = 1 ] ||
    fail "the good curve is not drawn in the first colour"

# --each: one picture per file, the refused one reported and skipped.
run render --each "$dir"/*.EA "$dir"/*.OHM "$WORK/SHORT.EA" -o "$WORK/each" --format svg
expect_rc 1 "each with a refused file"
expect_in "$ERR" "$WORK/SHORT.EA: refused: truncated" "each: short file"
expect_in "$ERR" "voxacurve: rendered 4 of 5 files into $WORK/each in " "each: summary"
[ "$(ls "$WORK/each" | sort | tr '\n' ' ')" = "SPEAKER.EA.svg SPEAKER.OHM.svg WOOFER.EA.svg WOOFER.OHM.svg " ] ||
    fail "each: pictures $(ls "$WORK/each")"

# On a terminal --each shows its progress; the summary stays.
script -qec "$VOXACURVE render --each $dir/SPEAKER.EA $dir/WOOFER.EA $dir/MIC.AE -o $WORK/tty" /dev/null >"$WORK/tty.log" || fail "each on a terminal"
grep -qF '] 3/3' "$WORK/tty.log" || grep -qF 'files/s' "$WORK/tty.log" || fail "no progress: $(cat -v "$WORK/tty.log")"
grep -qF 'rendered 3 of 3 files' "$WORK/tty.log" || fail "no summary on the terminal"

# Usage errors name what is wrong and write nothing.
for bad in "--level-range 37" "--level-top 200" "--impedance-step 3" "--impedance-base 0.1" \
    "--size 100x100" "--from 100 --to 50" "--colours pink" "--size 640"; do
    read -ra options <<<"$bad"
    run render "$dir/SPEAKER.EA" -o "$WORK/bad.png" "${options[@]}"
    expect_rc 2 "$bad"
    expect_in "$ERR" "${options[0]}" "the message of $bad"
done
# A decimal comma is refused with its reason, not with a range message.
for bad in "--from 31,5" "--to 16000,0" "--serial-resistor 4,7" "--impedance-base 2,5"; do
    read -ra options <<<"$bad"
    run render "$dir/SPEAKER.EA" -o "$WORK/bad.png" "${options[@]}"
    expect_rc 2 "$bad"
    expect_in "$ERR" "use a point as the decimal separator" "the message of $bad"
    expect_in "$ERR" "${options[0]}" "the option in the message of $bad"
done
run render "$dir/SPEAKER.EA" -o "$WORK/bad.gif"
expect_rc 2 "unknown picture format"
[ ! -e "$WORK/bad.png" ] && [ ! -e "$WORK/bad.gif" ] || fail "a usage error wrote a picture"

echo "render: ok"
