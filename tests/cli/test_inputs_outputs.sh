# The inputs and outputs every command shares: -o onto a device, a FIFO or
# the standard output writes into it; a directory where a file is asked is
# refused; every legal name is written; names that are not plain are quoted
# in text and kept byte for byte in JSON; a file reached twice counts once;
# file lists are capped and checked; deep trees walk at a low descriptor
# limit; a directory that cannot be listed is refused and counted.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
curve=$dir/WOOFER.EA

# -o onto special files: written into, never replaced.
"$VOXACURVE" render "$curve" -o "$WORK/file.png" || fail "render into a file"
mkfifo "$WORK/fifo.png"
cat "$WORK/fifo.png" >"$WORK/from-fifo" &
timeout 60 "$VOXACURVE" render "$curve" -o "$WORK/fifo.png" || fail "render into a FIFO"
wait $!
[ -p "$WORK/fifo.png" ] || fail "the FIFO was replaced"
cmp -s "$WORK/file.png" "$WORK/from-fifo" || fail "the FIFO got other bytes"
"$VOXACURVE" stats "$curve" >"$WORK/stats.csv" || fail "stats to the standard output"
"$VOXACURVE" stats "$curve" -o /proc/self/fd/3 3>"$WORK/fd3.csv" || fail "stats -o /proc/self/fd/3"
cmp -s "$WORK/stats.csv" "$WORK/fd3.csv" || fail "/proc/self/fd/3 got other bytes"
"$VOXACURVE" stats "$curve" -o /dev/stdout | cmp -s - <("$VOXACURVE" stats "$curve") \
    || fail "stats -o /dev/stdout through a pipe"
if [ "$(id -u)" = 0 ]; then
    mknod "$WORK/null.png" c 1 3
    run render "$curve" -o "$WORK/null.png"
    expect_rc 0 "render into a character device"
    [ -c "$WORK/null.png" ] || fail "the device node was replaced"
fi
mkdir "$WORK/dir.png"
for target in "$WORK/dir.png"; do
    run render "$curve" -o "$target"
    expect_rc 1 "-o $target"
    expect_in "$ERR" "a directory, not a file" "-o $target refused in words"
done

# Names of 232 to 255 bytes are written, with no temporary left.
long=$WORK/long
mkdir "$long"
for n in 232 255; do
    name=$(printf 'L%.0s' $(seq $((n - 4)))).png
    run render "$curve" -o "$long/$name"
    expect_rc 0 "a name of $n bytes"
    [ -s "$long/$name" ] || fail "no file of $n bytes"
done
[ "$(ls -A "$long" | wc -l)" = 2 ] || fail "temporaries left: $(ls -A "$long")"

# render --each into a folder it cannot make says why.
if [ "$(id -u)" != 0 ]; then
    mkdir "$WORK/ro" && chmod 555 "$WORK/ro"
    run render --each "$curve" -o "$WORK/ro/sub/"
    expect_in "$ERR" "cannot make the directory $WORK/ro/sub/: Permission denied" "mkdir reason"
fi
run render --each "$curve" -o "$curve/sub/"
expect_in "$ERR" "cannot make the directory $curve/sub/: Not a directory" "mkdir reason"

# Names with a line break or bytes that are not UTF-8.
odd=$WORK/odd
mkdir "$odd"
cp "$curve" "$odd/$(printf 'line\nbreak.EA')"
cp "$curve" "$odd/$(printf 'bad\377.EA')"
cp "$curve" "$odd/plain.EA"
run info "$odd"
expect_rc 0 "info of odd names"
[ "$(wc -l <<<"$OUT")" = 3 ] || fail "one line per file: $OUT"
expect_in "$OUT" "'$odd/bad'\$'\\377''.EA': response" "invalid UTF-8 quoted"
expect_in "$OUT" "'$odd/line'\$'\\n''break.EA': response" "line break quoted"
expect_in "$OUT" "$odd/plain.EA: response" "plain name as it is"
run info --json "$odd"
/usr/bin/python3 - "$odd" "$OUT" <<'PY' || fail "JSON names do not give the bytes back: $OUT"
import json, os, sys
names = [os.path.join(sys.argv[1], n) for n in os.listdir(sys.argv[1])]
got = [entry["name"] for entry in json.loads(sys.argv[2])]
assert sorted(got) == sorted(names), (got, names)
PY

# A file reached twice counts once: a directory given twice, a link to a
# file of the archive, a name given twice.
twice=$WORK/twice
mkdir "$twice"
cp "$curve" "$twice/A.EA"
ln -s A.EA "$twice/B.EA"
run stats "$twice" "$twice" "$twice/A.EA" -o "$WORK/twice.csv"
expect_rc 0 "stats of a file reached four times"
expect_in "$ERR" "statistics of 1 curve; 0 files refused" "counted once"
expect_in "$ERR" "$twice/A.EA: reached again as $twice/B.EA, counted once" "link said"
[ "$(grep -c "reached again" <<<"$ERR")" = 4 ] || fail "each repeat said once: $ERR"

# File lists: a BOM dropped, no device, a cap on the standard input.
printf '\xef\xbb\xbf%s\n' "$curve" >"$WORK/bom-list"
run info --files-from "$WORK/bom-list"
expect_rc 0 "a list with a byte order mark"
expect_in "$OUT" "$curve: response" "the first name without the mark"
run info --files-from /dev/zero -0
expect_rc 1 "a device as file list"
expect_in "$ERR" "/dev/zero: the file list cannot be read: neither a regular file nor a pipe" "device refused"
run info --files-from "$WORK"
expect_in "$ERR" "the file list cannot be read: a directory, not a file list" "directory refused"
RC=0
# The address space is limited so an unbounded read would fail; not under
# AddressSanitizer, whose shadow memory alone needs terabytes of it.
limit=400000
[ -z "${ASAN_OPTIONS:-}" ] || limit=unlimited
(ulimit -v "$limit"; head -c 70000000 /dev/zero | "$VOXACURVE" info --files-from - -0 >/dev/null 2>"$WORK/err") || RC=$?
expect_rc 1 "70 MB of NULs on the standard input"
expect_in "$(cat "$WORK/err")" "larger than 64 MiB: not a file list" "the cap said"
printf '%s\n' "$curve" | "$VOXACURVE" info --files-from - >/dev/null || fail "a list through a pipe"

# A tree deeper than the descriptors a process may open walks, sorted.
deep=$WORK/deep
/usr/bin/python3 - "$deep" "$curve" <<'PY'
import os, shutil, sys
os.makedirs(sys.argv[1])
os.chdir(sys.argv[1])
for level in range(200):
    shutil.copyfile(sys.argv[2], "c.EA")
    os.mkdir("d")
    os.chdir("d")
PY
RC=0
(ulimit -n 64; "$VOXACURVE" info "$deep" >"$WORK/out" 2>"$WORK/err") || RC=$?
expect_rc 0 "a walk 200 levels deep at ulimit -n 64 ($(cat "$WORK/err"))"
[ "$(wc -l <"$WORK/out")" = 200 ] || fail "deep walk: $(wc -l <"$WORK/out") files"
cut -d: -f1 "$WORK/out" | LC_ALL=C sort -c || fail "deep walk not in sorted order"

# A directory that cannot be listed is refused and counted by stats and
# check (as a user other than root, who may list any directory).
if [ "$(id -u)" = 0 ] && command -v runuser >/dev/null; then
    user=voxa-cli
    id "$user" >/dev/null 2>&1 || useradd --no-create-home --shell /usr/sbin/nologin "$user"
    locked=$WORK/locked
    mkdir -p "$locked/shut"
    cp "$curve" "$locked/open.EA"
    cp "$curve" "$locked/shut/hidden.EA"
    chmod 755 "$WORK" "$locked" && chmod 700 "$locked/shut"
    "$VOXACURVE" export "$curve" --format frd -o - >"$WORK/upper.frd"
    chmod 644 "$WORK/upper.frd" && chmod 755 "$VOXACURVE" 2>/dev/null || true
    as_user() { runuser -u "$user" -- "$VOXACURVE" "$@" >"$WORK/out" 2>"$WORK/err" || RC=$?; }
    RC=0; as_user stats "$locked" -o -
    expect_rc 1 "stats of a tree with a shut directory"
    expect_in "$(cat "$WORK/err")" "$locked/shut: cannot read the directory: Permission denied" "reason"
    expect_in "$(cat "$WORK/err")" "statistics of 1 curve; 1 file refused" "stats counts it"
    RC=0; as_user check "$locked" --upper "$WORK/upper.frd" --offset-to 1000
    expect_rc 1 "check of a tree with a shut directory"
    expect_in "$(cat "$WORK/out")" "1 refused" "check counts it"
else
    echo "SKIP: a directory that cannot be listed needs root to make a second user"
fi
echo "PASS"
