# Helpers for the tests under weston; sourced by each test script after the
# end-to-end helpers (program directory, start, exit, configuration fields).
source "$E2E_DIR/lib.sh"

# With KEEP_PICTURE=FILE a failing test leaves the screen's picture there.
fail() {
    local picture=${KEEP_PICTURE:-}
    echo "FAIL: $*" >&2
    KEEP_PICTURE=
    [ -z "$picture" ] || screenshot "$picture" || true
    exit 1
}

# Waits for a window with exactly this title; prints "X Y WIDTH HEIGHT".
wl_wait_window() {
    python3 "$WAYLAND_TEST_DIR/windows.py" wait "$1" && return 0
    python3 "$WAYLAND_TEST_DIR/windows.py" list >&2
    fail "no window titled '$1' appeared"
}

# Waits for a window with this title to be shown and active: Qt draws the
# title dark once the window has the keyboard focus, and keys pressed from
# then on reach it.
wl_wait_active() {
    local x y w
    read -r x y w _ <<<"$(wl_wait_window "$1")"
    title_dark() { [ "$(count_dark "$1" $((x + w / 2 - 60)) "$y" 120 28)" -gt 20 ]; }
    wait_picture "the window '$1' did not become active" title_dark
}

# Waits until no window has this title.
wl_wait_window_gone() {
    python3 "$WAYLAND_TEST_DIR/windows.py" gone "$1" || fail "the window '$1' did not close"
}

# Key presses and pointer moves through the compositor's seat. A modifier
# is held down a moment before its key: weston's X11 backend takes the
# modifier state from a notice of its own, which may come after a key
# pressed at once.
keys() {
    local key
    for key in "$@"; do
        if [[ $key == *+* ]]; then
            DISPLAY=$INPUT_DISPLAY xdotool keydown "${key%+*}"
            sleep 0.1
            DISPLAY=$INPUT_DISPLAY xdotool key "${key##*+}"
            sleep 0.1
            DISPLAY=$INPUT_DISPLAY xdotool keyup "${key%+*}"
        else
            DISPLAY=$INPUT_DISPLAY xdotool key "$key"
        fi
        sleep 0.2
    done
}

# Holds a key down until N menus are open; fails after 15 s. Qt asks the
# compositor for a menu with the serial number of the last input event it
# has seen: a key released before the menu is asked for would make that the
# release, and weston takes such a menu off the screen at once.
hold_until_menus() {
    local key=$1 count=$2
    DISPLAY=$INPUT_DISPLAY xdotool keydown "$key"
    python3 "$WAYLAND_TEST_DIR/windows.py" popup "$count" || fail "menu $count did not open"
    DISPLAY=$INPUT_DISPLAY xdotool keyup "$key"
    sleep 0.2
}

# Opens a menu by its mnemonic (Alt + KEY), its submenus by theirs, and
# presses the last key (an entry's mnemonic, Return...) in the last menu
# opened. Usage: menu KEY [SUBMENU...] ITEM
menu() {
    local keys_given=("$@") last=$(($# - 1)) i
    DISPLAY=$INPUT_DISPLAY xdotool keydown alt
    sleep 0.1
    hold_until_menus "${keys_given[0]}" 1
    DISPLAY=$INPUT_DISPLAY xdotool keyup alt
    sleep 0.2
    for ((i = 1; i < last; i++)); do
        hold_until_menus "${keys_given[i]}" $((i + 1))
    done
    keys "${keys_given[last]}"
}

# Types a text key by key (capitals with the shift key held down).
type_text() {
    local i c
    for ((i = 0; i < ${#1}; i++)); do
        c=${1:i:1}
        case $c in
            [A-Z]) keys "shift+$c" ;;
            .) keys period ;;
            *) keys "$c" ;;
        esac
    done
}
pointer_to() { DISPLAY=$INPUT_DISPLAY xdotool mousemove "$1" "$2"; }

# A picture of the whole screen taken by the compositor.
screenshot() {
    local out=$1 dir
    dir=$(mktemp -d "$E2E_WORK/shot.XXXX")
    (cd "$dir" && weston-screenshooter >/dev/null 2>&1) || fail "weston-screenshooter failed"
    mv "$dir"/*.png "$out"
    rmdir "$dir"
}

# The data window in a picture: "X Y WIDTH HEIGHT", or nothing.
data_window() { convert "$1" ppm:- | python3 "$WAYLAND_TEST_DIR/data_window.py"; }

# The colours in a rectangle of a picture: "COUNT R G B" a line.
colours_in() {
    local file=$1 x=$2 y=$3 w=$4 h=$5
    convert "$file" -crop "${w}x$h+$x+$y" +repage -depth 8 -format %c histogram:info:- \
        | sed -n 's/^ *\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3 \4/p'
}

# The number of pixels of one colour (rrggbb) in a rectangle of a picture.
count_colour() {
    local rgb=$6
    colours_in "$@" | awk -v r=$((16#${rgb:0:2})) -v g=$((16#${rgb:2:2})) -v b=$((16#${rgb:4:2})) \
        '$2 == r && $3 == g && $4 == b { n = $1 } END { print n + 0 }'
}

# The number of dark pixels (text, smoothed at its edges) in a rectangle.
count_dark() {
    colours_in "$@" | awk '$2 + $3 + $4 < 200 { n += $1 } END { print n + 0 }'
}

# Takes pictures until the command given (with the picture's name as its last
# argument) succeeds; fails with the message after 10 s.
wait_picture() {
    local message=$1 shot=$E2E_WORK/wait.png
    shift
    for _ in $(seq 40); do
        screenshot "$shot"
        "$@" "$shot" && return 0
        sleep 0.25
    done
    fail "$message"
}

# The viewer prints nothing on a terminal while it works: no warnings of Qt's
# wayland platform, of its dialogs, nor of the program.
expect_quiet_viewer() {
    [ ! -s "$E2E_WORK/viewer.log" ] || fail "the viewer printed something (shown below)"
}
