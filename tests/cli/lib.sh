# Helpers for the tests of voxacurve; sourced by each test script, which is
# run as: bash test_x.sh VOXACURVE MAKE_EXAMPLES
set -euo pipefail

VOXACURVE=$1
MAKE_EXAMPLES=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs voxacurve with the arguments; sets OUT, ERR and RC.
run() {
    RC=0
    "$VOXACURVE" "$@" >"$WORK/out" 2>"$WORK/err" || RC=$?
    OUT=$(cat "$WORK/out")
    ERR=$(cat "$WORK/err")
}

expect_rc() {
    [ "$RC" = "$1" ] || fail "exit code $RC instead of $1 for: $2 (stderr: $ERR)"
}

expect_in() { # TEXT PATTERN WHAT
    grep -qF -- "$2" <<<"$1" || fail "$3: no \"$2\" in: $1"
}

# The example curves in a fresh directory; prints its path.
examples() {
    local dir=$WORK/examples-$RANDOM
    "$MAKE_EXAMPLES" "$dir"
    echo "$dir"
}

# A curve file from a header and values given as Python expressions.
# Usage: write_curve PATH LEVEL_FACTOR RATE N UPPER LOWER VALUES_EXPR
write_curve() {
    /usr/bin/python3 - "$@" <<'PY'
import math, struct, sys
path, factor, rate, n, upper, lower, values = sys.argv[1:]
n = int(n)
vals = eval(values, {"math": math, "n": n})
with open(path, "wb") as f:
    f.write(struct.pack("<fiiff", float(factor), int(rate), n, float(upper), float(lower)))
    f.write(struct.pack("<%df" % len(vals), *vals))
PY
}
