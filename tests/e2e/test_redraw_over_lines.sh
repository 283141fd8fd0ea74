# A redraw writes the background back only under the lines the viewer drew
# since the last one, unless something else painted the picture. After a
# note is written into the picture, the next redraw writes the whole
# background (the note goes, as every redraw clears it); the same view drawn
# again over other lines must be that picture pixel for pixel; and the view
# from before the note comes back without the note.
source "$E2E_DIR/lib.sh"

start_fresh_viewer --examples
wid=$WID
client_origin "$wid" 450

xdotool key F1
type_into_file_box SPEAKER
xdotool key F2
type_into_file_box SPEAKER
xdotool mousemove 0 0 # no pointer over the picture

shot_data_window() { # NAME: the data window on a screenshot
    import -window root "$E2E_WORK/$1-screen.png"
    find_sigwin "$E2E_WORK/$1-screen.png"
    convert "$E2E_WORK/$1-screen.png" -crop "528x290+$SIGWIN_X+$SIGWIN_Y" +repage "$E2E_WORK/$1.png"
}
differing() { compare -metric AE "$E2E_WORK/$1.png" "$E2E_WORK/$2.png" null: 2>&1 || true; }
# After F2 the arrow keys Up and Down move the impedance axis.
key() {
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
    xdotool key "$1"
    sleep 0.4
}

key Up
key Down
shot_data_window start

# A note written into the picture.
xdotool mousemove $((SIGWIN_X + 150)) $((SIGWIN_Y + 120)) click 1
wait_window '^Sonivex$' >/dev/null
sleep 0.3
xdotool type --delay 30 "NOTE NOTE NOTE"
xdotool key Return
sleep 0.5
xdotool mousemove 0 0
shot_data_window noted
[ "$(differing start noted)" != 0 ] || fail "the note is not in the picture"

# The first redraw after the note: the whole background written.
key Up
shot_data_window moved
[ "$(differing start moved)" != 0 ] || fail "the impedance curve did not move"
# The same view again, drawn over the lines of another one.
key Down
key Up
shot_data_window again
n=$(differing moved again)
[ "$n" = 0 ] || fail "$n pixels differ between the view written whole and drawn over other lines"
# Back to the first view: as before the note.
key Down
shot_data_window back
n=$(differing start back)
[ "$n" = 0 ] || fail "$n pixels differ from the view before the note"

quit_viewer "$wid"
echo "redraw over lines: ok"
