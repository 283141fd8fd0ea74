#!/usr/bin/env bash
# The .deb as Debian's tools judge it: lintian finds no error and no warning,
# the desktop entry passes desktop-file-validate, the AppStream metainfo
# appstreamcli, the MIME package update-mime-database; the desktop entry and
# the thumbnailer name exactly the package's MIME types; the manual pages
# format without a warning from man and carry the package's version.
# Usage: check_deb.sh BUILD_DIR
set -euo pipefail
deb=$(ls "$1"/packages/voxa32vw_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $1/packages (scripts/package.sh makes it)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# lintian warns when run as root; that line is not about the package.
status=0
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ $status = 0 ] || { echo "FAIL: lintian reports errors or warnings" >&2; exit 1; }

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
version=$(dpkg-deb -f "$deb" Version)
for page in voxa32vw voxacurve; do
    zcat "$work/root/usr/share/man/man1/$page.1.gz" | head -1 | grep -qF "\"VOXA 32 Curve Viewer $version\"" ||
        { echo "FAIL: $page.1 does not name version $version" >&2; exit 1; }
done

share=$work/root/usr/share
metainfo=$(ls "$share"/metainfo/*.metainfo.xml)
messages=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) ||
    { echo "FAIL: appstreamcli: $messages" >&2; exit 1; }
grep -q '<project_license>MIT</project_license>' "$metainfo" || { echo "FAIL: the metainfo's licence" >&2; exit 1; }

# The MIME package among the system's: no complaint from update-mime-database.
mkdir -p "$work/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/voxa32vw.xml" "$work/mime/packages/"
# Told where the database lies, it has no note about the search path.
messages=$(XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>&1) ||
    { echo "FAIL: update-mime-database: $messages" >&2; exit 1; }
[ -z "$messages" ] || { echo "FAIL: update-mime-database: $messages" >&2; exit 1; }
types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$share/mime/packages/voxa32vw.xml" | sort)
[ "$(wc -l <<<"$types")" = 2 ] || { echo "FAIL: MIME types: $types" >&2; exit 1; }
for file in "$entry" "$share/thumbnailers/voxa32vw.thumbnailer"; do
    named=$(sed -n 's/^MimeType=//p' "$file" | tr ';' '\n' | grep . | sort)
    [ "$named" = "$types" ] || { echo "FAIL: $(basename "$file") names $named, not $types" >&2; exit 1; }
done
echo "lintian, desktop-file-validate, appstreamcli, update-mime-database and man accept the .deb"
