# An installed program run by an ordinary user: `voxacurve config
# --curve-directory DIR` writes the user's copy, and the next start's file box
# (F1) lists that folder; with an empty BMP directory a BMP save with a plain
# name lands in the user's pictures folder (XDG_PICTURES_DIR of
# ~/.config/user-dirs.dirs), or in the home folder without one. The site's
# file stays as it is. Needs root to add the user and own the folder.
source "$E2E_DIR/lib.sh"

make_installation_root
root=$ROOT

# PREFIX/bin with the viewer, its print module and voxacurve; the site's
# configuration, a fresh one that prints to BMP files, written by root.
bin=$root/usr/bin
mkdir -p "$bin"
build=$(dirname "$VIEWER_BINARY")
cp "$VIEWER_BINARY" "$build/libvoxa_printer.so" "$build/voxacurve" "$bin/"
site=$bin/VOXA32VW.CFG
"$bin/voxacurve" config --curve-directory '' >/dev/null
config_set_print_to_bmp "$site"
chmod -R go-w "$root/usr"
site_sum=$(md5sum <"$site")

# The user's home with a folder of measurements and a pictures folder.
home=$root/home
runtime=$root/runtime
mkdir -m 700 "$home" "$runtime"
mkdir -p "$home/measurements" "$home/Bilder" "$home/.config"
"$build/make_examples" "$root/examples"
cp "$root/examples/SPEAKER.EA" "$home/measurements/MYSPK.EA"
printf 'XDG_PICTURES_DIR="$HOME/Bilder"\n' >"$home/.config/user-dirs.dirs"
make_test_user "$root"
chown -R "$TEST_USER:" "$home" "$runtime"

as_test_user "$bin" "$home" "$runtime" ./voxacurve config --curve-directory "$home/measurements" \
    >"$E2E_WORK/config.log" 2>&1 || fail "voxacurve config: $(cat "$E2E_WORK/config.log")"
copy=$home/.config/voxa32vw/VOXA32VW.CFG
[ -f "$copy" ] || fail "no user copy: $(cat "$E2E_WORK/config.log")"
[ "$(md5sum <"$site")" = "$site_sum" ] || fail "the site's configuration changed"

# F1 lists the folder: a typed name loads from there.
start_viewer_as_user "$bin" "$home" "$runtime"
xdotool key F1
type_into_file_box MYSPK
shot=$E2E_WORK/user-folder-curve.png
import -window "$WID" "$shot"
read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$home/measurements/MYSPK.EA" \
    level 1000 528 290 20 20000 60 100)
got=$(data_window_pixel "$shot" "$x" "$y")
[ "$got" = 00FF00 ] || fail "MYSPK.EA of the user's folder not drawn at ($x, $y): $got"

# save_bmp NAME FILE: P (the print command) with a plain name; waits for FILE.
save_bmp() {
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
    xdotool key p
    type_into_file_box "$1"
    for _ in $(seq 100); do [ -s "$2" ] && return 0; sleep 0.05; done
    fail "no $2: $(ls -R "$home")"
}
save_bmp inpics "$home/Bilder/inpics.BMP"
rm "$home/.config/user-dirs.dirs"
save_bmp inhome "$home/inhome.BMP"
[ "$(stat -c %U "$home/inhome.BMP")" = "$TEST_USER" ] || fail "the picture is not the user's"
quit_viewer "$WID"

[ "$(md5sum <"$site")" = "$site_sum" ] || fail "the site's configuration changed"
[ "$(LC_ALL=C ls -A "$bin" | tr '\n' ' ')" = "VOXA32VW.CFG libvoxa_printer.so voxa32vw voxacurve " ] \
    || fail "files in the program folder: $(ls -A "$bin")"
echo "installed program, voxacurve config and pictures folder: ok"
