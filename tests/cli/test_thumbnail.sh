# The file manager's thumbnail of a curve file: a PNG of exactly the size
# asked, the grid and the trace in the viewer's colours; a file that cannot
# be drawn gives exit 1 and no picture, and a picture already there stays.
source "$(dirname "$0")/lib.sh"

dir=$(examples)

# Pixels of the colour (#RRGGBB) in the picture.
pixels_of() {
    convert "$1" -format %c histogram:info:- |
        awk -v colour="#$2" 'toupper($3) == colour {n += $1} END {print n + 0}'
}

for file in SPEAKER.EA SPEAKER.OHM ROOM.AA; do
    for size in 128 256; do
        out=$WORK/$file-$size.png
        run thumbnail "$dir/$file" "$out" "$size"
        expect_rc 0 "thumbnail $file $size"
        [ "$(identify -format '%m %wx%h' "$out")" = "PNG ${size}x${size}" ] ||
            fail "$file at $size: $(identify "$out")"
        trace=$(pixels_of "$out" 00FF00)
        grid=$(pixels_of "$out" 808080)
        # The trace crosses the picture: at least a pixel a column on most
        # columns; the grid lines several rows and columns.
        [ "$trace" -ge $((size * 3 / 4)) ] || fail "$file at $size: $trace trace pixels"
        [ "$grid" -ge $((size * 4)) ] || fail "$file at $size: $grid grid pixels"
    done
done

# Refused: nothing written, an old file kept.
head -c 100 "$dir/WOOFER.EA" >"$WORK/SHORT.EA"
write_curve "$WORK/NEGATIVE.EA" 1 48000 4096 20000 20 '[10 ** 4] * 500 + [-1.0] * 1548'
cp "$dir/WOOFER.EA" "$WORK/woofer.txt"
echo "the old picture" >"$WORK/old"
for input in "$WORK/MISSING.EA" "$WORK/SHORT.EA" "$WORK/NEGATIVE.EA" "$WORK/woofer.txt" "$dir"; do
    run thumbnail "$input" "$WORK/new.png" 128
    expect_rc 1 "thumbnail of $input"
    expect_in "$ERR" "refused" "thumbnail of $input"
    [ ! -e "$WORK/new.png" ] || fail "$input: a picture was written"
    cp "$WORK/old" "$WORK/kept.png"
    run thumbnail "$input" "$WORK/kept.png" 128
    cmp -s "$WORK/old" "$WORK/kept.png" || fail "$input: the old picture was replaced"
done

# An output that cannot be written: exit 1, nothing left behind.
run thumbnail "$dir/SPEAKER.EA" "$WORK/no-such-dir/out.png" 128
expect_rc 1 "an output in a missing directory"
[ -z "$(ls -A "$WORK/no-such-dir" 2>/dev/null)" ] || fail "files left in a missing directory"

# A wrong command line.
for args in "$dir/SPEAKER.EA $WORK/x.png" "$dir/SPEAKER.EA $WORK/x.png 8" "$dir/SPEAKER.EA $WORK/x.png big"; do
    # shellcheck disable=SC2086
    run thumbnail $args
    expect_rc 2 "thumbnail $args"
done
[ ! -e "$WORK/x.png" ] || fail "a wrong command line wrote a picture"
echo "thumbnail: ok"
