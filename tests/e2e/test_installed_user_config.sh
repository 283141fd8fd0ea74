# An installed program in a root-owned folder, run by an ordinary user: the
# configuration beside the program is the site's and stays as it is; a quit
# with "yes" writes the user's copy under ~/.config/voxa32vw, which the next
# start reads (a changed data window colour is kept), and the file box starts
# in the installed example curves. Needs root to add the user and own the folder.
source "$E2E_DIR/lib.sh"

make_installation_root
root=$ROOT

# PREFIX/bin/voxa32vw beside its print module and the site's configuration,
# PREFIX/share/voxa32vw/curves with the example curves, and the user's home;
# all of it reachable by the user, only the home writable.
prefix=$root/usr
bin=$prefix/bin
mkdir -p "$bin" "$prefix/share/voxa32vw/curves"
cp "$VIEWER_BINARY" "$(dirname "$VIEWER_BINARY")/libvoxa_printer.so" "$bin/"
"$(dirname "$VIEWER_BINARY")/make_examples" "$prefix/share/voxa32vw/curves"
home=$root/home
runtime=$root/runtime
mkdir -m 700 "$home" "$runtime"
make_test_user "$root"
user=$TEST_USER
chown "$user:" "$home" "$runtime"

# The site's configuration: a fresh one, written by root as an installation would.
start_viewer "$bin" /Init /:
quit_viewer "$(wait_window '^ Sonivex$')"
chmod -R go-w "$root/usr"
site=$bin/VOXA32VW.CFG
site_sum=$(md5sum <"$site")
[ "$(stat -c %U "$bin")" = root ] && [ "$(stat -c %a "$bin")" = 755 ] || fail "program folder not root's 0755"

start_viewer_as_user "$bin" "$home" "$runtime"
set_data_window_colour '#3366cc'
# quit_viewer fails where an error box holds the viewer open.
quit_viewer "$WID"

copy=$home/.config/voxa32vw/VOXA32VW.CFG
[ -f "$copy" ] || fail "no user copy at ~/.config/voxa32vw: $(cat "$E2E_WORK/viewer.log")"
[ "$(stat -c %U "$copy")" = "$user" ] || fail "the user copy belongs to $(stat -c %U "$copy")"
[ "$(stat -c %a "$home/.config")" = 700 ] || fail "~/.config made with mode $(stat -c %a "$home/.config")"
[ "$(stat -c %a "$home/.config/voxa32vw")" = 700 ] || fail "~/.config/voxa32vw not 0700"
[ "$(stat -c %s "$copy")" = 6808 ] || fail "the user copy is not 6808 bytes"
[ "$(md5sum <"$site")" = "$site_sum" ] || fail "the site's configuration changed"
saved=$(config_colour "$copy" 20)
[ "$saved" = CC6633 ] || fail "saved data window colour $saved, not CC6633"

start_viewer_as_user "$bin" "$home" "$runtime"
shot=$E2E_WORK/user-colour-kept.png
import -window "$WID" "$shot"
colour=$(data_window_pixel "$shot" 10 10)
[ "$colour" = 3366CC ] || fail "after the restart the data window pixel is $colour, not 3366CC"

# The file box lists the installed example curves: a typed name loads from there.
xdotool key F1
type_into_file_box SPEAKER
shot=$E2E_WORK/user-installed-curve.png
import -window "$WID" "$shot"
read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$prefix/share/voxa32vw/curves/SPEAKER.EA" \
    level 1000 528 290 20 20000 60 100)
got=$(data_window_pixel "$shot" "$x" "$y")
[ "$got" = 00FF00 ] || fail "SPEAKER.EA of the installed curves not drawn at ($x, $y): $got"
quit_viewer "$WID"

[ "$(md5sum <"$site")" = "$site_sum" ] || fail "the site's configuration changed"
[ "$(LC_ALL=C ls -A "$bin" | tr '\n' ' ')" = "VOXA32VW.CFG libvoxa_printer.so voxa32vw " ] \
    || fail "files in the program folder: $(ls -A "$bin")"
echo "installed program, user configuration: ok"
