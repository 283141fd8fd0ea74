#!/usr/bin/env bash
# The .deb as Debian's tools judge it: lintian finds no error (its warnings
# are shown), the desktop entry passes desktop-file-validate and the manual
# pages format without a warning from man.
# Usage: check_deb.sh BUILD_DIR
set -euo pipefail
deb=$(ls "$1"/packages/voxa32vw_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $1/packages (scripts/package.sh makes it)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# lintian warns when run as root; that line is not about the package.
status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ $status = 0 ] || { echo "FAIL: lintian reports errors" >&2; exit 1; }

dpkg-deb -x "$deb" "$work/root"
# Some of its errors do not yet change its exit status ("will be fatal in
# the future"): every error and warning counts here.
entry=$work/root/usr/share/applications/voxa32vw.desktop
if ! messages=$(desktop-file-validate "$entry" 2>&1) || grep -qE 'error|warning' <<<"$messages"; then
    echo "FAIL: the desktop entry is not valid: $messages" >&2
    exit 1
fi
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
    messages=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>&1 >/dev/null)
    [ -z "$messages" ] || { echo "FAIL: $(basename "$page"): $messages" >&2; exit 1; }
done
[ "$(ls "$work"/root/usr/share/man/man1)" = "$(printf 'voxa32vw.1.gz\nvoxacurve.1.gz')" ] ||
    { echo "FAIL: manual pages: $(ls "$work"/root/usr/share/man/man1)" >&2; exit 1; }
echo "lintian, desktop-file-validate and man accept the .deb"
