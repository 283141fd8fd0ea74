# The .deb on this machine as a user meets it: dpkg -i puts the programs into
# /usr and the triggers of the MIME and desktop databases make curve files
# known to the desktop; as a user who is not root, xdg-mime and gio see the
# curve types and the viewer for them, the thumbnailer's own command line
# draws thumbnails without a display, voxacurve reads the installed example
# curves, the viewer starts with the site's default configuration, prints
# through its print module and quits; dpkg -r and --purge take everything
# away again, the databases included.
# Run in Xvfb by tests/e2e/run_in_xvfb.sh; needs root (dpkg, useradd, cupsd).
source "$E2E_DIR/lib.sh"
source "$E2E_DIR/cups.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

if [ "$(id -u)" != 0 ]; then
    echo "SKIP: installing the .deb needs root"
    exit 77
fi
if dpkg-query -W -f='${Status}' voxa32vw 2>/dev/null | grep -q 'ok installed'; then
    echo "SKIP: voxa32vw is installed on this machine; the test installs and removes its own"
    exit 77
fi
deb=$(package_file 'voxa32vw_*.deb')
user=voxa-package-test
home=$E2E_WORK/home

# dpkg waits for no lock: another apt or dpkg run is let finish first.
dpkg_retry() {
    for _ in $(seq 120); do
        dpkg "$@" >"$E2E_WORK/dpkg.log" 2>&1 && return 0
        grep -q 'lock' "$E2E_WORK/dpkg.log" || break
        sleep 1
    done
    fail "dpkg $*: $(cat "$E2E_WORK/dpkg.log")"
}

cleanup_installed() {
    [ -n "${VIEWER_PID:-}" ] && kill "$VIEWER_PID" 2>/dev/null || true
    cups_stop
    id -u "$user" >/dev/null 2>&1 && userdel "$user" 2>/dev/null || true
    dpkg-query -W voxa32vw >/dev/null 2>&1 && dpkg -r voxa32vw >/dev/null 2>&1 || true
}
trap cleanup_installed EXIT

dpkg_retry -i "$deb"
for f in /usr/bin/voxa32vw /usr/bin/voxacurve /usr/share/voxa32vw/curves/SPEAKER.EA \
    /usr/share/applications/voxa32vw.desktop /usr/share/icons/hicolor/scalable/apps/voxa32vw.svg \
    /usr/share/icons/hicolor/48x48/apps/voxa32vw.png /usr/share/man/man1/voxa32vw.1.gz \
    /usr/share/man/man1/voxacurve.1.gz /usr/share/doc/voxa32vw/copyright /usr/bin/VOXA32VW.CFG \
    /usr/share/mime/packages/voxa32vw.xml /usr/share/thumbnailers/voxa32vw.thumbnailer \
    /usr/share/metainfo/invalid.voxa32vw.Viewer.metainfo.xml; do
    [ -e "$f" ] || fail "$f is not installed"
done
[ "$(stat -L -c %s /usr/bin/VOXA32VW.CFG)" = 6808 ] || fail "the site's configuration is not 6808 bytes"
check_module_found /usr/bin/voxa32vw
man -w voxacurve >/dev/null || fail "man finds no page for voxacurve"

# A user of the machine, with a home of the test's own.
chmod 0755 "$E2E_WORK"
useradd -M -d "$home" -s /bin/sh "$user"
mkdir -p "$home/runtime"
chmod 0700 "$home/runtime"
chown -R "$user:" "$home"
as_user() {
    runuser -u "$user" -- env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" DISPLAY="$DISPLAY" \
        CUPS_SERVER="${CUPS_SERVER:-}" "$@"
}

# voxacurve on the installed example curves.
as_user voxacurve info /usr/share/voxa32vw/curves/* >"$E2E_WORK/info.txt" ||
    fail "voxacurve info: $(cat "$E2E_WORK/info.txt")"
[ "$(grep -c ': \(response\|impedance\) ' "$E2E_WORK/info.txt")" = 7 ] ||
    fail "voxacurve read not all seven examples: $(cat "$E2E_WORK/info.txt")"
as_user voxacurve render /usr/share/voxa32vw/curves/SPEAKER.EA /usr/share/voxa32vw/curves/SPEAKER.OHM \
    -o "$home/speaker.png" || fail "voxacurve render"
[ "$(identify -format %wx%h "$home/speaker.png")" = 640x450 ] || fail "the rendered picture's size"

# The desktop knows the curve files: a room response is no audiobook, in any
# letter case, and the viewer is the application for both types.
examples=/usr/share/voxa32vw/curves
cp "$examples/ROOM.AA" "$home/ROOM.AA"
cp "$examples/ROOM.AA" "$home/room.aa"
cp "$examples/SPEAKER.OHM" "$home/X.OHM"
head -c 100 "$examples/WOOFER.EA" >"$home/BROKEN.EA"
chown "$user:" "$home"/*.AA "$home"/*.aa "$home"/*.OHM "$home"/*.EA
response=application/x-voxa32-response
impedance=application/x-voxa32-impedance
while read -r name type; do
    got=$(as_user xdg-mime query filetype "$home/$name")
    [ "$got" = "$type" ] || fail "xdg-mime: $name is $got, not $type"
    got=$(as_user gio info -a standard::content-type "$home/$name" | sed -n 's/^ *standard::content-type: //p')
    [ "$got" = "$type" ] || fail "gio: $name is $got, not $type"
done <<FILES
ROOM.AA $response
room.aa $response
X.OHM $impedance
FILES
for type in $response $impedance; do
    apps=$(as_user gio mime "$type")
    grep -q 'voxa32vw\.desktop' <<<"$apps" || fail "gio mime $type: $apps"
    [ "$(as_user xdg-mime query default "$type")" = voxa32vw.desktop ] ||
        fail "xdg-mime query default $type: $(as_user xdg-mime query default "$type")"
done

# Thumbnails as a file manager makes them: the installed thumbnailer's Exec
# line with %i %o %s substituted, run without a display.
read -ra thumbnailer <<<"$(sed -n 's/^Exec=//p' /usr/share/thumbnailers/voxa32vw.thumbnailer)"
thumbnail() { # INPUT OUTPUT SIZE
    local word command=()
    for word in "${thumbnailer[@]}"; do
        word=${word//%i/$1}
        word=${word//%o/$2}
        command+=("${word//%s/$3}")
    done
    runuser -u "$user" -- env -u DISPLAY HOME="$home" XDG_RUNTIME_DIR="$home/runtime" "${command[@]}"
}
for size in 128 256; do
    thumbnail "$home/ROOM.AA" "$home/thumb-$size.png" "$size" 2>"$E2E_WORK/thumb.log" ||
        fail "the thumbnailer at $size: $(cat "$E2E_WORK/thumb.log")"
    [ "$(identify -format '%m %wx%h' "$home/thumb-$size.png")" = "PNG ${size}x${size}" ] ||
        fail "the thumbnail at $size: $(identify "$home/thumb-$size.png")"
done
if thumbnail "$home/BROKEN.EA" "$home/broken.png" 128 2>/dev/null; then
    fail "the thumbnailer drew a truncated file"
fi
[ ! -e "$home/broken.png" ] || fail "a thumbnail of a truncated file was written"

# The viewer as that user: starts on the site's configuration, prints one
# page and quits with "yes".
site_before=$(md5sum </usr/share/voxa32vw/VOXA32VW.CFG)
cups_start
# cups-pdf runs ghostscript as the user who printed, in its spool and output
# directories.
chmod 1777 "$(cups_pdf_dir)" "$(cups_pdf_dir)-spool"
(cd "$home" && exec runuser -u "$user" -- env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    DISPLAY="$DISPLAY" CUPS_SERVER="$CUPS_SERVER" voxa32vw /: >"$E2E_WORK/viewer.log" 2>&1) &
VIEWER_PID=$!
wid=$(wait_window '^ Sonivex$')
sleep 0.5
print_one_page "$wid"
confirm_quit "$wid"
# The save goes to the user's own copy, without a box.
sleep 1
xdotool search --onlyvisible --name '^Error$' >/dev/null 2>&1 && fail "an error box on the quit"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "the viewer ended with $EXIT_CODE: $(cat "$E2E_WORK/viewer.log")"
[ "$(md5sum </usr/share/voxa32vw/VOXA32VW.CFG)" = "$site_before" ] || fail "the site's configuration changed"
[ -f "$home/.config/voxa32vw/VOXA32VW.CFG" ] || fail "no user's copy under ~/.config/voxa32vw"
VIEWER_PID=""

# A folder of the user's own: voxacurve config points the viewer's curve box
# there, and the next start's F1 loads a typed name from it; with an empty
# BMP directory and no pictures folder a BMP save with a plain name lands in
# the home folder.
mkdir "$home/measurements"
cp "$examples/SPEAKER.EA" "$home/measurements/MYSPK.EA"
chown -R "$user:" "$home/measurements"
as_user voxacurve config --curve-directory "$home/measurements" >"$E2E_WORK/config.log" 2>&1 ||
    fail "voxacurve config: $(cat "$E2E_WORK/config.log")"
config_set_print_to_bmp "$home/.config/voxa32vw/VOXA32VW.CFG"
(cd "$home" && exec runuser -u "$user" -- env HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    DISPLAY="$DISPLAY" voxa32vw /: >"$E2E_WORK/viewer2.log" 2>&1) &
VIEWER_PID=$!
WID=$(wait_window '^ Sonivex$')
sleep 0.5
xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
xdotool key F1
type_into_file_box MYSPK
shot=$E2E_WORK/user-folder.png
import -window "$WID" "$shot"
read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$home/measurements/MYSPK.EA" \
    level 1000 528 290 20 20000 60 100)
[ "$(data_window_pixel "$shot" "$x" "$y")" = 00FF00 ] ||
    fail "MYSPK.EA of the configured folder not drawn at ($x, $y)"
xdotool key p
type_into_file_box plain
for _ in $(seq 100); do [ -s "$home/plain.BMP" ] && break; sleep 0.05; done
[ -s "$home/plain.BMP" ] || fail "the BMP with a plain name is not in the home folder: $(ls "$home")"
confirm_quit "$WID"
wait_exit
[ "$EXIT_CODE" = 0 ] || fail "the second session ended with $EXIT_CODE: $(cat "$E2E_WORK/viewer2.log")"
VIEWER_PID=""

# Removing and purging the package leaves none of its files, and the MIME
# and desktop databases forget its types.
mapfile -t installed < <(dpkg -L voxa32vw | while read -r f; do [ -d "$f" ] || echo "$f"; done)
[ ${#installed[@]} -gt 20 ] || fail "dpkg -L lists only ${#installed[@]} files"
dpkg_retry -r voxa32vw
dpkg_retry --purge voxa32vw
for f in "${installed[@]}" /usr/share/voxa32vw /usr/share/doc/voxa32vw /usr/lib/*/voxa32vw; do
    [ ! -e "$f" ] && [ ! -L "$f" ] || fail "$f is left after dpkg -r and --purge"
done
dpkg-query -W voxa32vw >/dev/null 2>&1 && fail "dpkg still knows voxa32vw after --purge"
[ ! -e /usr/share/mime/application/x-voxa32-response.xml ] || fail "the MIME database keeps the response type"
grep -q voxa32vw /usr/share/applications/mimeinfo.cache 2>/dev/null &&
    fail "the desktop database keeps the viewer: $(grep voxa32vw /usr/share/applications/mimeinfo.cache)"
[ "$(as_user xdg-mime query filetype "$home/ROOM.AA")" != $response ] || fail "ROOM.AA is a curve after the purge"
echo "the .deb installed, used by a user and removed: ok"
