# The file box takes a typed name: opened with the key F1 and with the soft
# key F1, the name of a listed file typed without its extension and Enter
# load that file, and its curve is drawn in the data window.
source "$E2E_DIR/lib.sh"

start_fresh_viewer --examples
dir=$DIR wid=$WID
client_origin "$wid" 450

xdotool key F1
type_into_file_box SPEAKER
shot=$E2E_WORK/typed-key.png
import -window root "$shot"
find_sigwin "$shot"
expect_curve "$shot" "$dir/SPEAKER.EA" 1000 00FF00

# The soft key F1 at the left end of the top row of the client area, whose
# origin is 52, 68 above-left of the data window.
xdotool mousemove $((SIGWIN_X - 52 + 20)) $((SIGWIN_Y - 68 + 12)) click 1
type_into_file_box WOOFER
shot=$E2E_WORK/typed-soft-key.png
import -window root "$shot"
expect_curve "$shot" "$dir/WOOFER.EA" 500 00FFFF
expect_curve "$shot" "$dir/SPEAKER.EA" 1000 00FF00

quit_viewer "$wid"
echo "file box typing: ok"
