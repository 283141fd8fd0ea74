# voxacurve import reads numbers the way they are meant or says why not:
# thousands separators refused with both readings, a bad number on the first
# data line reported (not taken for a header), a CSV with ", " separators
# read, a text that leaves the viewer no bin to draw refused. A refused
# import names the file (and line) and writes nothing.
source "$(dirname "$0")/lib.sh"

# name|text (printf format)|exit status|message on stderr after the file's name
while IFS='|' read -r name text status message; do
    printf "$text" >"$WORK/$name.txt"
    rm -f "$WORK/OUT.EA"
    run import "$WORK/$name.txt" -o "$WORK/OUT.EA" --length 4096
    expect_rc "$status" "$name"
    expect_in "$ERR" "voxacurve: $WORK/$name.txt$message" "$name"
    [ ! -e "$WORK/OUT.EA" ] || fail "$name: a refused import wrote OUT.EA"
done <<'CASES'
thousands|1,000 80\n2,000 80\n|1|:1: the frequency "1,000" may be 1000 Hz (a thousands separator) or 1.000 Hz (a decimal comma)
thousands-later|100 80\n1,000 80\n|1|:2: the frequency "1,000" may be 1000 Hz
thousands-tab|Freq\tSPL\n500\t80\n1,500\t80\n|1|:3: the frequency "1,500" may be 1500 Hz
nan-first|Freq SPL\n20 nan\n100 80\n200 80\n|1|:2: the magnitude "nan" is not a number
inf-first|20 inf\n100 80\n|1|:1: the magnitude "inf" is not a number
nan-frequency|nan 80\n100 80\n|1|:1: the frequency "nan" is not a number
no-bin|1005 80\n1006 80\n|1|: no bin of the transform (11.71875 Hz apart) lies between 1005 and 1006 Hz
CASES
# Decimal commas shown by an earlier number: "1,000" is then 1 Hz (and falls).
printf '500,5 80\n1,000 80\n' >"$WORK/decimal.txt"
run import "$WORK/decimal.txt" -o "$WORK/OUT.EA"
expect_rc 1 "decimal commas"
expect_in "$ERR" ":2: the frequency 1 Hz does not rise above the 500.5 Hz of line 1" "decimal commas"
# A CSV whose separators are a comma and a blank, its header too: read.
printf 'Freq, SPL\n20, 80.5\n20000, 80.5\n' >"$WORK/csv.txt"
run import "$WORK/csv.txt" -o "$WORK/CSV.EA" --length 4096
expect_rc 0 "a CSV with comma and blank"
run info "$WORK/CSV.EA"
expect_in "$OUT" "band 20 to 20003.9062 Hz, level factor 1, 80.50 to 80.50 dB" "a CSV with comma and blank"
echo "import numbers: ok"
