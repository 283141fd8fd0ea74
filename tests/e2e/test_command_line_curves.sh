# Curve files named on the command line are opened after start-up as if
# chosen in the file box: a response (given relative to the current
# directory, in a folder with a blank and a non-ASCII letter) is drawn on its
# row in the first colour, arguments that name no curve file are ignored
# without a box, F1 then offers the folder of that file, and the saved
# curve folder stays as it was. A room response (AA) given on the command
# line is drawn and labelled as through the "Load..." menu's AA entry and F1.
source "$E2E_DIR/lib.sh"

# The y axis strip and the data window of a screenshot, as one picture.
plot_part() {
    convert "$1" -crop "$((528 + 52))x$((290 + 20))+$((SIGWIN_X - 52))+$((SIGWIN_Y - 10))" +repage "$2"
}
# A screenshot without the pointer over the picture; prints its path.
shot_of() {
    xdotool mousemove 0 0
    sleep 0.5
    import -window root "$E2E_WORK/$1.png"
    echo "$E2E_WORK/$1.png"
}

curves="$E2E_WORK/my curves ü"
mkdir -p "$curves"
"$(dirname "$VIEWER_BINARY")/make_examples" "$curves"
touch "$E2E_WORK/notes.txt"

# start_viewer runs the viewer in its program directory: the curve is named
# relative to it.
dir=$(make_program_dir)
start_viewer "$dir" /Init --frobnicate "../notes.txt" "../missing.EA" "../my curves ü/SPEAKER.EA" /:
wid=$(wait_window '^ Sonivex$')
sleep 1.5
expect_no_window '^Error$' 1
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
shot=$(shot_of given)
client_origin "$wid" 450
find_sigwin "$shot"
expect_curve "$shot" "$curves/SPEAKER.EA" 1000 00FF00

# F1 offers the folder of that file: a name typed there loads from it (the
# program directory holds no curves).
xdotool key F1
type_into_file_box WOOFER
shot=$(shot_of after-f1)
expect_curve "$shot" "$curves/WOOFER.EA" 500 00FFFF
expect_curve "$shot" "$curves/SPEAKER.EA" 1000 00FF00
quit_viewer "$wid"
# The saved curve folder is still the fresh configuration's empty one.
[ $(($(config_int16 "$dir/VOXA32VW.CFG" 346) >> 8 & 255)) = 0 ] \
    || fail "the saved curve folder was changed"

# ROOM.AA from the command line, then through the menu.
dir=$(make_program_dir)
start_viewer "$dir" /Init /: "$curves/ROOM.AA"
wid=$(wait_window '^ Sonivex$')
sleep 1.5
shot=$(shot_of room-given)
client_origin "$wid" 450
find_sigwin "$shot"
plot_part "$shot" "$E2E_WORK/room-given-plot.png"
quit_viewer "$wid"

start_fresh_viewer
wid=$WID
cp "$curves/ROOM.AA" "$DIR/"
xdotool key alt+l
sleep 0.3
xdotool key Down Down Down Return # the fourth entry: "Room transfer function"
sleep 0.3
xdotool key F1
type_into_file_box ROOM
shot=$(shot_of room-menu)
client_origin "$wid" 450
find_sigwin "$shot"
plot_part "$shot" "$E2E_WORK/room-menu-plot.png"
lime=$(convert "$E2E_WORK/room-given-plot.png" -fill black +opaque '#00FF00' -format '%[fx:mean>0]' info:)
[ "$lime" = 1 ] || fail "ROOM.AA from the command line is not drawn"
differing=$(compare -metric AE "$E2E_WORK/room-given-plot.png" "$E2E_WORK/room-menu-plot.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "ROOM.AA from the command line differs from the menu's in $differing pixels"
quit_viewer "$wid"
echo "command-line curves: ok"
