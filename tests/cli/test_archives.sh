# Whole archives as input of every command: directories walked at any depth
# for the curve files (extension, letter case ignored) in sorted order;
# --files-from FILE or - with one name a line or NUL-separated (-0);
# refused and unreadable files reported and counted without stopping the run.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
arc=$WORK/archive
mkdir -p "$arc/b/deep" "$arc/a" "$arc/c.EA"
cp "$dir/SPEAKER.EA" "$arc/b/deep/z.ea"
cp "$dir/WOOFER.EA" "$arc/a/Y.Ea"
cp "$dir/MIC.AE" "$arc/x.AE"
cp "$dir/ROOM.AA" "$arc/c.EA/inside.aa"     # a directory with a curve's name is walked
echo "not a curve" >"$arc/a/notes.txt"        # other extensions are not curve files
head -c 100 "$dir/WOOFER.EA" >"$arc/b/SHORT.EA" # refused: truncated
ln -s "$arc/b" "$arc/a/loop"                  # a link to a directory is not followed
ln -s "$WORK/nowhere.EA" "$arc/a/broken.EA"  # reported as unreadable

sorted="$arc/a/Y.Ea $arc/a/broken.EA $arc/b/SHORT.EA $arc/b/deep/z.ea $arc/c.EA/inside.aa $arc/x.AE"
good=4

# The files info sees, in its order.
run info "$arc"
expect_rc 1 "info of an archive with a refused file"
[ "$(cut -d: -f1 <<<"$OUT" | tr '\n' ' ')" = "$sorted " ] || fail "walk order: $OUT"
expect_in "$OUT" "$arc/b/SHORT.EA: refused: truncated" "truncated file reported"
expect_in "$OUT" "$arc/a/broken.EA: refused: cannot be read" "broken link reported"

# The same files by every way of naming them. Each row: how, the arguments
# (a list file holds the names), then for each command the exit code and
# how many files it handled well.
printf '%s\n' $sorted >"$WORK/list"
printf '%s\0' $sorted >"$WORK/list0"
printf '%s\r\n' $sorted >"$WORK/listcrlf"
cases=(
    "directory|$arc"
    "list file|--files-from $WORK/list"
    "CRLF list file|--files-from $WORK/listcrlf"
    "NUL list file|--files-from $WORK/list0 -0"
    "list on stdin|--files-from -"
    "NUL list on stdin|--files-from - -0"
    "names and a directory|$arc/x.AE $arc/a $arc/b $arc/c.EA"
)
for row in "${cases[@]}"; do
    how=${row%%|*}
    read -r -a args <<<"${row#*|}"
    stdin=$WORK/list
    [[ "$how" == "NUL list on stdin" ]] && stdin=$WORK/list0
    [[ "$how" == "names and a directory" ]] && sorted_here="$arc/x.AE $arc/a/Y.Ea $arc/a/broken.EA $arc/b/SHORT.EA $arc/b/deep/z.ea $arc/c.EA/inside.aa" || sorted_here=$sorted

    RC=0; "$VOXACURVE" info "${args[@]}" <"$stdin" >"$WORK/out" 2>"$WORK/err" || RC=$?
    [ "$RC" = 1 ] || fail "$how: info exit code $RC"
    [ "$(cut -d: -f1 "$WORK/out" | tr '\n' ' ')" = "$sorted_here " ] || fail "$how: info files: $(cat "$WORK/out")"

    rm -rf "$WORK/exp"; mkdir "$WORK/exp"
    RC=0; "$VOXACURVE" export "${args[@]}" -o "$WORK/exp" <"$stdin" >"$WORK/out" 2>"$WORK/err" || RC=$?
    [ "$RC" = 1 ] || fail "$how: export exit code $RC"
    [ "$(ls "$WORK/exp" | wc -l)" = $good ] || fail "$how: export wrote $(ls "$WORK/exp")"
    [ "$(grep -c refused "$WORK/err")" = 2 ] || fail "$how: export errors: $(cat "$WORK/err")"

    RC=0; "$VOXACURVE" stats "${args[@]}" <"$stdin" >"$WORK/out" 2>"$WORK/err" || RC=$?
    [ "$RC" = 1 ] || fail "$how: stats exit code $RC"
    grep -qx "voxacurve: statistics of $good curves; 2 files refused or unreadable" "$WORK/err" \
        || fail "$how: stats summary: $(cat "$WORK/err")"

    rm -rf "$WORK/pic"
    RC=0; "$VOXACURVE" render --each "${args[@]}" -o "$WORK/pic" <"$stdin" >"$WORK/out" 2>"$WORK/err" || RC=$?
    [ "$RC" = 1 ] || fail "$how: render exit code $RC"
    [ "$(ls "$WORK/pic" | wc -l)" = $good ] || fail "$how: render wrote $(ls "$WORK/pic")"
done

# A good archive gives exit 0; an empty directory is no error and no file;
# a file list that cannot be read is reported; -0 alone is a usage error.
run info "$arc/b/deep"
expect_rc 0 "info of a good directory"
mkdir "$WORK/empty"
run info "$WORK/empty"
expect_rc 0 "info of an empty directory"
[ -z "$OUT" ] || fail "info of an empty directory printed: $OUT"
run info --files-from "$WORK/missing-list"
expect_rc 1 "a missing file list"
expect_in "$ERR" "$WORK/missing-list: the file list cannot be read: No such file or directory" "missing list reported"
run info -0 "$arc"
expect_rc 2 "-0 without --files-from"

# 100,000 names do not fit a command line; a list of 3,000 is read whole.
mkdir "$WORK/many"
/usr/bin/python3 - "$WORK/many" <<'PY' >"$WORK/long"
import struct, sys
for i in range(3000):
    path = "%s/%d.EE" % (sys.argv[1], i)
    with open(path, "wb") as f:
        f.write(struct.pack("<fiiff", 1, 48000, 64, 20000, 20) + struct.pack("<32f", *[1e4] * 32))
    print(path)
PY
run stats --files-from "$WORK/long" -o "$WORK/long.csv"
expect_rc 0 "stats of a long list"
expect_in "$ERR" "statistics of 3000 curves; 0 files refused" "all names of a long list read"
# One file named 3,000 times counts once, and every repetition is said.
for i in $(seq 3000); do echo "$arc/x.AE"; done >"$WORK/same"
run stats --files-from "$WORK/same" -o "$WORK/same.csv"
expect_rc 0 "stats of one name repeated"
expect_in "$ERR" "statistics of 1 curve; 0 files refused" "one file named 3,000 times counted once"
[ "$(grep -c "counted once" <<<"$ERR")" = 2999 ] || fail "not every name of the long list read"
echo "PASS"
