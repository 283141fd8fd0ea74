# voxacurve export --format sqlite: the schema, one row per curve and its
# points on the grid (--ppo, default 48; 0 the own bins), the path's bytes,
# the smoothing, a second export refused unless --append, and the README's
# median query giving stats' median at 1 kHz.
source "$(dirname "$0")/lib.sh"
README=$(dirname "$0")/../../README.md

sql() { sqlite3 -batch -noheader "$@"; }
dir=$(examples)
db=$WORK/archive.db

run export "$dir" --format sqlite -o "$db"
expect_rc 0 "export of the examples into a database"
[ "$(sql "$db" "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name" | tr '\n' ' ')" = "curves points " ] \
    || fail "tables: $(sql "$db" .schema)"
[ "$(sql "$db" "SELECT group_concat(name || ':' || type, ' ') FROM pragma_table_info('curves')")" = \
    "id:INTEGER path:BLOB path_text:TEXT kind:TEXT extension:TEXT sample_rate:INTEGER transform_length:INTEGER band_low:REAL band_high:REAL level_factor:REAL serial_resistor:REAL smoothing:INTEGER points_per_octave:INTEGER" ] \
    || fail "columns of curves: $(sql "$db" .schema)"
# The points are found by frequency: their key starts with it.
[ "$(sql "$db" "SELECT group_concat(name, ' ') FROM (SELECT name FROM pragma_table_info('points') WHERE pk > 0 ORDER BY pk)")" = \
    "frequency curve" ] || fail "the key of points is not frequency, curve"
expect_in "$(sql "$db" 'EXPLAIN QUERY PLAN SELECT value FROM points WHERE frequency = 1000')" \
    "SEARCH points USING PRIMARY KEY (frequency=?)" "a search of the points at a frequency"
[ "$(sql "$db" 'SELECT count(*) FROM curves')" = 7 ] || fail "curves: $(sql "$db" 'SELECT count(*) FROM curves')"

# Each curve's points are export's --ppo 48 text of it, value for value.
for f in SPEAKER.EA WOOFER.OHM ROOM.AA; do
    run export "$dir/$f" --ppo 48 -o -
    want=$(grep -v '^\*' <<<"$OUT" | cut -d' ' -f1,2)
    got=$(sql "$db" "SELECT p.frequency, p.value FROM points p JOIN curves c ON c.id = p.curve
        WHERE c.path_text = '$dir/$f' ORDER BY p.frequency" | tr '|' ' ')
    [ "$(wc -l <<<"$want")" -gt 100 ] && [ "$(wc -l <<<"$want")" = "$(wc -l <<<"$got")" ] &&
        paste -d' ' <(echo "$want") <(echo "$got") | awk '
            function off(a, b, r) { return (a - b > r || b - a > r) }
            off($1, $3, 1e-8 * $1) || off($2, $4, 6e-5 + 1e-6 * ($2 < 0 ? -$2 : $2)) { exit 1 }' \
        || fail "$f: points differ from export --ppo 48"
done
[ "$(sql "$db" "SELECT kind, extension, sample_rate, transform_length, band_low, band_high,
    serial_resistor, smoothing IS NULL, points_per_octave FROM curves WHERE path_text LIKE '%/SPEAKER.OHM'")" = \
    "impedance|OHM|48000|16384|20.0|20000.0|150.0|1|48" ] || fail "row of SPEAKER.OHM"

# A second export into the file is refused and changes nothing; --append adds.
run export "$dir/MIC.AE" --format sqlite -o "$db"
expect_rc 1 "a second export into an existing database"
expect_in "$ERR" "archive.db: exists already; give --append to add the curves to it" "refusal"
[ "$(sql "$db" 'SELECT count(*) FROM curves')" = 7 ] || fail "the refused export changed the database"
run export "$dir/MIC.AE" --format sqlite -o "$db" --append --smooth 1/3 --ppo 0
expect_rc 0 "--append"
[ "$(sql "$db" 'SELECT count(*), max(smoothing), max(points_per_octave IS NULL) FROM curves')" = "8|3|1" ] \
    || fail "appended row: $(sql "$db" 'SELECT * FROM curves WHERE id = 8')"
run export "$dir/MIC.AE" --smooth 1/3 -o -
[ "$(grep -vc '^\*' <<<"$OUT")" = "$(sql "$db" 'SELECT count(*) FROM points WHERE curve = 8')" ] \
    || fail "--ppo 0 does not give the own bins"
printf 'not a database' >"$WORK/other.db"
run export "$dir/MIC.AE" --format sqlite -o "$WORK/other.db" --append
expect_rc 1 "--append to a file that is not a database"
[ "$(cat "$WORK/other.db")" = "not a database" ] || fail "the other file was changed"

# Options checked before anything is read or written.
for args in "-o -" "" "-o $WORK/new.db --ppo -1"; do
    run export "$dir" --format sqlite $args
    expect_rc 2 "--format sqlite $args"
done
run export "$dir" --append -o "$WORK"
expect_rc 2 "--append without sqlite"
[ ! -e "$WORK/new.db" ] || fail "a database written by a wrong command line"

# The points wait in a temporary file in TMPDIR: without one the export
# fails and leaves no database behind.
TMPDIR=$WORK/no-such-directory run export "$dir" --format sqlite -o "$WORK/no-tmp.db"
expect_rc 1 "an export without a temporary directory"
expect_in "$ERR" "no-tmp.db: cannot make the temporary file of points: No such file or directory" \
    "the failed temporary file"
[ ! -e "$WORK/no-tmp.db" ] || fail "a database left by the failed export"

# A name that is not UTF-8: its bytes in path, U+FFFD in path_text; a
# refused file is reported and the others are written.
mkdir "$WORK/names"
cp "$dir/MIC.AE" "$WORK/names/"$'caf\xe9.AE'
printf 'short' >"$WORK/names/BROKEN.EA"
run export "$WORK/names" --format sqlite -o "$WORK/names.db"
expect_rc 1 "a refused file among the curves"
expect_in "$ERR" "BROKEN.EA: refused:" "the refused file is named"
[ "$(sql "$WORK/names.db" 'SELECT hex(path), hex(path_text) FROM curves')" = \
    "$(printf '%s' "$WORK/names/"$'caf\xe9.AE' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)|$(printf '%s' "$WORK/names/caf"$'\xef\xbf\xbd'.AE | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" ] \
    || fail "path bytes: $(sql "$WORK/names.db" 'SELECT hex(path), hex(path_text) FROM curves')"

# The README's median query gives stats' median at 1 kHz: 20 responses, so
# the median lies between the 10th and 11th value.
mkdir "$WORK/batch"
for i in $(seq 1 20); do
    write_curve "$WORK/batch/C$i.EA" 1 48000 4096 20000 20 \
        "[10 ** ((80 + 7 * math.sin($i * 1.7 + k / 97.0) + (k % 13) / 5.0) / 20) for k in range(2048)]"
done
run stats "$WORK/batch" --percentiles 50 -o -
expect_rc 0 "stats of the batch"
# The column is found by its name in the header row.
stats_median=$(awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) if ($i == "P50 (dB)") c = i }
    $1 == "1000" { print $c }' <<<"$OUT")
[ -n "$stats_median" ] || fail "no 1000 Hz row in: $(head -n 3 <<<"$OUT")"
run export "$WORK/batch" --format sqlite -o "$WORK/batch.db"
expect_rc 0 "export of the batch"
query=$(sed -n '/^-- the median at 1 kHz, as stats/,/^```/p' "$README" | sed '$d')
[ -n "$query" ] || fail "no median query in the README"
sql_median=$(sql "$WORK/batch.db" <<<"$query")
awk -v a="$stats_median" -v b="$sql_median" 'BEGIN { d = a - b; exit !(d < 0.00006 && d > -0.00006) }' \
    || fail "median: stats $stats_median, SQL $sql_median"

# More points than the export holds in memory at once (120 curves of about
# 10,000 points): every curve is written whole, under its own row, and each
# frequency holds all curves.
mkdir "$WORK/copies"
for i in 1 2 3 4 5 6; do cp -r "$WORK/batch" "$WORK/copies/$i"; done
run export "$WORK/batch/C7.EA" --ppo 1000 -o -
per_curve=$(grep -vc '^\*' <<<"$OUT")
run export "$WORK/copies" --format sqlite --ppo 1000 -o "$WORK/copies.db"
expect_rc 0 "export of 120 curves at 1000 points per octave"
[ "$(sql "$WORK/copies.db" 'SELECT count(DISTINCT curve), min(n), max(n) FROM
    (SELECT curve, count(*) AS n FROM points GROUP BY curve)')" = "120|$per_curve|$per_curve" ] \
    || fail "points per curve, $per_curve wanted: $(sql "$WORK/copies.db" 'SELECT curve, count(*) FROM points GROUP BY curve' | sort -u -t'|' -k2 | head)"
[ "$(sql "$WORK/copies.db" 'SELECT count(*) FROM (SELECT frequency FROM points GROUP BY frequency
    HAVING count(*) != 120)')" = 0 ] || fail "a frequency without all 120 curves"
copy_values() { sql "$WORK/copies.db" "SELECT group_concat(value, ' ') FROM (SELECT value FROM points
    JOIN curves ON curves.id = points.curve WHERE path_text LIKE '%/$1/C7.EA' ORDER BY frequency)"; }
[ "$(sql "$WORK/copies.db" 'SELECT path_text FROM curves ORDER BY id')" = \
    "$(sql "$WORK/copies.db" 'SELECT path_text FROM curves ORDER BY path_text')" ] \
    || fail "the curves' rows are not in the order of their files"
first=$(copy_values 1)
[ -n "$first" ] && [ "$first" = "$(copy_values 6)" ] || fail "the first and last copy of C7.EA differ"
exit 0
