# The file box takes a typed name: opened with the key F1 and with the soft
# key F1, the name of a listed file typed without its extension and Enter
# load that file, and its curve is drawn in the data window.
source "$E2E_DIR/lib.sh"

start_fresh_viewer --examples
dir=$DIR wid=$WID
client_origin "$wid" 450

predict() { python3 "$E2E_DIR/predict_pixel.py" "$@"; }
# The pixel where a curve's bin at FREQ lies, checked for a colour.
expect_curve() {
    local shot=$1 file=$2 freq=$3 colour=$4 x y got
    read -r x y < <(predict "$dir/$file" level "$freq" 528 290 20 20000 60 100)
    got=$(pixel_at "$shot" $((SIGWIN_X + x)) $((SIGWIN_Y + y)))
    [ "$got" = "$colour" ] || fail "$file not drawn in $colour at ($x, $y): $got"
}

xdotool key F1
type_into_file_box SPEAKER
shot=$E2E_WORK/typed-key.png
import -window root "$shot"
find_sigwin "$shot"
expect_curve "$shot" SPEAKER.EA 1000 00FF00

# The soft key F1 at the left end of the top row of the client area, whose
# origin is 52, 68 above-left of the data window.
xdotool mousemove $((SIGWIN_X - 52 + 20)) $((SIGWIN_Y - 68 + 12)) click 1
type_into_file_box WOOFER
shot=$E2E_WORK/typed-soft-key.png
import -window root "$shot"
expect_curve "$shot" WOOFER.EA 500 00FFFF
expect_curve "$shot" SPEAKER.EA 1000 00FF00

quit_viewer "$wid"
echo "file box typing: ok"
