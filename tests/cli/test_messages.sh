# What voxacurve says when it cannot read or write: why a file cannot be
# read (missing, a directory, a FIFO, permission denied), file lists in
# UTF-16 or with CR line ends named as such, and a failed write of its
# standard output (--help > /dev/full) giving exit status 1.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
mkdir "$WORK/DIR.EA" "$WORK/DIR.frd"
mkfifo "$WORK/PIPE.EA" "$WORK/PIPE.frd"
cp "$dir/SPEAKER.EA" "$WORK/SECRET.EA"
"$VOXACURVE" export "$dir/SPEAKER.EA" -o - >"$WORK/SECRET.frd"
chmod 000 "$WORK/SECRET.EA" "$WORK/SECRET.frd"
chmod 755 "$WORK"
# Root reads every file: the cases run as nobody, where nobody may run the
# program (else the permission case is left out).
as_user=()
cases="MISSING|no such file
PIPE|a FIFO, not a regular file
SECRET|permission denied"
if [ "$(id -u)" = 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    if ! "${as_user[@]}" "$VOXACURVE" --help >/dev/null 2>&1; then
        echo "nobody cannot run $VOXACURVE: no permission case"
        as_user=()
        cases=$(grep -v SECRET <<<"$cases")
    fi
fi

# name|why
while IFS='|' read -r name why; do
    RC=0
    "${as_user[@]}" "$VOXACURVE" info "$WORK/$name.EA" >"$WORK/out" 2>&1 || RC=$?
    expect_rc 1 "info $name"
    expect_in "$(cat "$WORK/out")" "$WORK/$name.EA: refused: cannot be read: $why" "info $name"
    RC=0
    "${as_user[@]}" "$VOXACURVE" import "$WORK/$name.frd" -o /dev/null/X.EA >"$WORK/out" 2>&1 || RC=$?
    expect_rc 1 "import $name"
    expect_in "$(cat "$WORK/out")" "$WORK/$name.frd: cannot be read: $why" "import $name"
done <<<"$cases"
# A directory given to info is walked for curves; import names it.
run import "$WORK/DIR.frd" -o "$WORK/X.EA"
expect_in "$ERR" "$WORK/DIR.frd: cannot be read: a directory, not a regular file" "import a directory"

# File lists: CR line ends read as lines; UTF-16 named.
printf '%s\r%s\r' "$dir/SPEAKER.EA" "$dir/WOOFER.EA" >"$WORK/cr.list"
run info --files-from "$WORK/cr.list"
expect_rc 0 "a list with CR line ends"
[ "$(wc -l <<<"$OUT")" = 2 ] || fail "a list with CR line ends: $OUT"
printf '\xff\xfe' >"$WORK/utf16.list"
printf '%s\n' "$dir/SPEAKER.EA" | iconv -f UTF-8 -t UTF-16LE >>"$WORK/utf16.list"
run info --files-from "$WORK/utf16.list"
expect_rc 1 "a UTF-16 list"
expect_in "$ERR" "utf16.list: the file list is UTF-16 text" "a UTF-16 list"

# The standard output on a full disk.
for args in "--help" "info $dir/SPEAKER.EA" "export $dir/SPEAKER.EA -o -"; do
    RC=0
    # shellcheck disable=SC2086
    "$VOXACURVE" $args >/dev/full 2>"$WORK/err" || RC=$?
    ERR=$(cat "$WORK/err")
    expect_rc 1 "$args > /dev/full"
    expect_in "$ERR" "cannot write to the standard output" "$args > /dev/full"
done
echo "messages: ok"
