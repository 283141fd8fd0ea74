# voxacurve config: the configuration the viewer beside voxacurve reads, in
# words and as JSON; --curve-directory and --bmp-directory set those fields in
# the file the viewer reads and saves (beside a program in a writable folder,
# the user's copy for an installed one, started from the site's file or fresh);
# a missing directory, a file or a path beyond 255 characters is refused with
# nothing written; --version tells the changelog's version.
source "$(dirname "$0")/lib.sh"

changelog=$(dirname "$0")/../../packaging/changelog
version=$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' "$changelog")
run --version
expect_rc 0 "--version"
[ "$OUT" = "voxacurve $version (VOXA 32 Curve Viewer)" ] || fail "--version says: $OUT"
run --help
expect_in "$OUT" "voxacurve config [--curve-directory DIR] [--bmp-directory DIR]" "--help"
expect_in "$OUT" "voxacurve --version" "--help"

# A portable program folder: voxacurve beside the viewer's file.
prog=$WORK/prog
mkdir "$prog" "$WORK/curves" "$WORK/pictures"
cp "$VOXACURVE" "$prog/voxacurve"
VOXACURVE=$prog/voxacurve
cfg=$prog/VOXA32VW.CFG

# json_field FILE KEY: a value of the JSON summary.
json_field() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$@"; }

run config
expect_rc 1 "config without a configuration"
expect_in "$ERR" "$cfg: not found" "config without a configuration"

# A set without a file starts from a fresh one; a relative folder is stored absolute.
RC=0
(cd "$WORK" && "$VOXACURVE" config --curve-directory curves/../curves >"$WORK/out" 2>"$WORK/err") || RC=$?
ERR=$(cat "$WORK/err")
expect_rc 0 "config --curve-directory"
[ "$(stat -c %s "$cfg")" = 6808 ] || fail "the written configuration is not 6808 bytes"
expect_in "$(cat "$WORK/out")" "Curve directory: $WORK/curves/" "config --curve-directory"
run config
expect_rc 0 "config"
expect_in "$OUT" "Configuration file:             $cfg" "config"
expect_in "$OUT" "Curve directory:                $WORK/curves/" "config"
expect_in "$OUT" "BMP directory:                  (empty: the file box starts in $prog/)" "config"
expect_in "$OUT" "Serial resistor:                150 Ohm" "config (a fresh record)"
run config --json
expect_rc 0 "config --json"
echo "$OUT" >"$WORK/config.json"
[ "$(json_field "$WORK/config.json" curveDirectory)" = "$WORK/curves/" ] || fail "json: $OUT"
[ "$(json_field "$WORK/config.json" file)" = "$cfg" ] || fail "json file: $OUT"
[ "$(json_field "$WORK/config.json" levelRange)" = 60 ] || fail "json levelRange: $OUT"

# Both at once; an empty argument empties a field and keeps the other.
run config --bmp-directory "$WORK/pictures/" --curve-directory "$WORK"
expect_rc 0 "config with both directories"
run config --curve-directory ''
expect_rc 0 "config --curve-directory ''"
run config --json
echo "$OUT" >"$WORK/config.json"
[ "$(json_field "$WORK/config.json" curveDirectory)" = "" ] || fail "not emptied: $OUT"
[ "$(json_field "$WORK/config.json" bmpDirectory)" = "$WORK/pictures/" ] || fail "bmp lost: $OUT"

# Refusals: nothing written, in words, exit 1.
touch "$WORK/plain"
long=$WORK
while [ ${#long} -lt 260 ]; do long=$long/$(printf 'l%.0s' $(seq 40)); done
mkdir -p "$long"
before=$(md5sum <"$cfg")
# option|argument|words
while IFS='|' read -r option argument words; do
    run config "$option" "$argument" --curve-directory "$WORK/curves"
    expect_rc 1 "config $option $argument"
    expect_in "$ERR" "$option $argument: $words" "config $option $argument"
    expect_in "$ERR" "nothing written" "config $option $argument"
    [ "$(md5sum <"$cfg")" = "$before" ] || fail "config $option $argument changed the file"
done <<EOT
--bmp-directory|$WORK/missing|no such directory
--bmp-directory|$WORK/plain|not a directory
--bmp-directory|$long|the path with its final '/' has $((${#long} + 1)) characters; the configuration holds at most 255
EOT

# A configuration the viewer cannot read is not replaced.
head -c 100 /dev/zero >"$cfg"
run config --curve-directory "$WORK"
expect_rc 1 "config on a short file"
expect_in "$ERR" "$cfg: only 100 of 6808 bytes; nothing written" "config on a short file"
[ "$(stat -c %s "$cfg")" = 100 ] || fail "the short file was replaced"
rm "$cfg"

# Wrong command lines.
for args in "config FILE" "config --json --curve-directory /" "config --curve-directory" \
    "config --colour red"; do
    run $args
    expect_rc 2 "$args"
done

# An installed program: a root-owned folder, run by nobody. The site's file
# stays; the user's copy under XDG_CONFIG_HOME starts from it.
if [ "$(id -u)" = 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chmod 755 "$WORK"
    run config --curve-directory "$WORK/curves"
    expect_rc 0 "config in the site's folder"
    chmod 755 "$prog"
    site_sum=$(md5sum <"$cfg")
    home=$WORK/home
    mkdir -p "$home/Bilder" "$home/cfg"
    printf 'XDG_PICTURES_DIR="$HOME/Bilder"\n' >"$home/cfg/user-dirs.dirs"
    chown -R nobody "$home"
    as_nobody() {
        RC=0
        "${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/cfg" "$VOXACURVE" "$@" \
            >"$WORK/out" 2>"$WORK/err" || RC=$?
        OUT=$(cat "$WORK/out")
        ERR=$(cat "$WORK/err")
    }
    copy=$home/cfg/voxa32vw/VOXA32VW.CFG
    if as_nobody --version && [ "$RC" = 0 ]; then
        as_nobody config
        expect_rc 0 "config, installed"
        expect_in "$OUT" "Configuration file:             $cfg" "config, installed"
        expect_in "$OUT" "Saved to (the user's copy):     $copy" "config, installed"
        expect_in "$OUT" "BMP directory:                  (empty: the file box starts in $home/Bilder/)" \
            "config, installed"
        as_nobody config --bmp-directory "$home"
        expect_rc 0 "config --bmp-directory, installed"
        [ -f "$copy" ] || fail "no user copy written"
        [ "$(md5sum <"$cfg")" = "$site_sum" ] || fail "the site's file changed"
        as_nobody config --json
        echo "$OUT" >"$WORK/config.json"
        [ "$(json_field "$WORK/config.json" file)" = "$copy" ] || fail "not read from the user copy: $OUT"
        [ "$(json_field "$WORK/config.json" curveDirectory)" = "$WORK/curves/" ] \
            || fail "the user copy did not start from the site's file: $OUT"
        [ "$(json_field "$WORK/config.json" bmpDirectory)" = "$home/" ] || fail "bmp: $OUT"
        # Without a site's file the user's copy starts fresh.
        rm "$cfg" "$copy"
        as_nobody config --curve-directory "$home"
        expect_rc 0 "config, installed without a site's file"
        as_nobody config
        expect_in "$OUT" "Configuration file:             $copy" "config, fresh user copy"
        expect_in "$OUT" "Level scale top:                100 dB" "config, fresh user copy"
    else
        echo "nobody cannot run $VOXACURVE: no installed case"
    fi
fi
echo "config: ok"
