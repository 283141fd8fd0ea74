# Helpers for the end-to-end tests; sourced by each test script.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh program directory with a copy of the viewer.
make_program_dir() {
    local dir=$E2E_WORK/prog-$RANDOM
    mkdir -p "$dir"
    cp "$VIEWER_BINARY" "$dir/voxa32vw"
    echo "$dir"
}

# Starts the viewer in its directory with the given arguments; sets VIEWER_PID.
start_viewer() {
    local dir=$1; shift
    (cd "$dir" && exec ./voxa32vw "$@" >"$E2E_WORK/viewer.log" 2>&1) &
    VIEWER_PID=$!
}

# Starts the viewer with a fresh configuration in a new program directory
# (DIR), with the example curves beside it when --examples is given, and
# activates its window (WID).
start_fresh_viewer() {
    DIR=$(make_program_dir)
    if [ "${1:-}" = --examples ]; then
        "$(dirname "$VIEWER_BINARY")/make_examples" "$DIR"
    fi
    start_viewer "$DIR" /Init /:
    WID=$(wait_window '^ Sonivex$')
    sleep 1
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
}

# Waits for a visible window whose name matches the pattern; prints its id.
wait_window() {
    local pattern=$1 wid=""
    for _ in $(seq 300); do
        wid=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        sleep 0.05
    done
    fail "no window named '$pattern' appeared"
}

# Waits for the viewer to end and sets EXIT_CODE (not in a subshell: only
# the shell that started the viewer can wait for it).
wait_exit() {
    EXIT_CODE=0
    for _ in $(seq 200); do
        kill -0 "$VIEWER_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$VIEWER_PID" 2>/dev/null && fail "the viewer did not end"
    wait "$VIEWER_PID" || EXIT_CODE=$?
}

# The colour of one screen pixel as rrggbb.
pixel_at() {
    local file=$1 x=$2 y=$3
    convert "$file" -crop "1x1+$x+$y" -depth 8 txt:- | tail -1 | grep -o '#[0-9A-F]\{6\}' | tr -d '#'
}

# Reads a little-endian 16-bit value from the unscrambled configuration.
# Usage: config_int16 FILE OFFSET (at an even offset)
config_int16() {
    python3 "$E2E_DIR/config_word.py" "$1" "$2"
}

# Writes a 16-bit value into the configuration, scrambled as the viewer does.
# Usage: set_config_int16 FILE OFFSET VALUE (at an even offset)
set_config_int16() {
    python3 "$E2E_DIR/config_word.py" "$1" "$2" "$3"
}

# The client area's origin on the screen for a window of the given outer
# height in the program's frame model (the client area lies below the menu
# bar, at the bottom of Qt's window). Sets CLIENT_X and CLIENT_Y.
client_origin() {
    local wid=$1 outer_height=$2
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    CLIENT_X=$X
    CLIENT_Y=$((Y + HEIGHT - (outer_height - 46)))
}

# The colour of a pixel of the client area as rrggbb.
client_pixel() {
    pixel_at "$1" $((CLIENT_X + $2)) $((CLIENT_Y + $3))
}

# The data window's top-left corner on the screen (sets SIGWIN_X, SIGWIN_Y):
# its column 0 carries the 20 Hz grid line (grey) of the default range and
# its row 0 is the first black row below the frame.
find_sigwin() {
    local file=$1
    eval "$(convert "$file" ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
parts = data.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pix = parts[4]
def rgb(x, y):
    i = (y * w + x) * 3
    return pix[i:i + 3]
cx, cy = int(sys.argv[1]), int(sys.argv[2])
black, grey = b"\0\0\0", b"\x80\x80\x80"
row = cy + 150
x0 = next(x for x in range(cx, cx + 200) if rgb(x, row) == grey and rgb(x + 1, row) == black)
col = x0 + 3
y0 = next(y for y in range(cy, cy + 200) if rgb(col, y) == black)
print(f"SIGWIN_X={x0} SIGWIN_Y={y0}")
' "$CLIENT_X" "$CLIENT_Y")"
}

# Answers the quit question with "yes" as a user does: Esc in the main
# window, Enter in the quit box.
confirm_quit() {
    local wid=$1 box
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
    xdotool key Escape
    box=$(wait_window '^Sonivex$')
    sleep 0.3
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key Return
}

# Quits the viewer with "yes"; waits for the end and requires exit code 0.
quit_viewer() {
    confirm_quit "$1"
    wait_exit
    [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
}

# Fails unless no visible window whose name matches the pattern shows within
# the given number of seconds.
expect_no_window() {
    local pattern=$1 seconds=$2
    for _ in $(seq $((seconds * 20))); do
        if xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; then
            fail "a window named '$pattern' appeared"
        fi
        sleep 0.05
    done
}

# Reads a little-endian single-precision value from the unscrambled
# configuration. Usage: config_float FILE OFFSET
config_float() {
    local low high
    low=$(config_int16 "$1" "$2")
    high=$(config_int16 "$1" $(($2 + 2)))
    python3 -c 'import struct, sys; print(struct.unpack("<f", struct.pack("<hh", int(sys.argv[1]), int(sys.argv[2])))[0])' "$low" "$high"
}

# The frame the window manager draws around a window: sets FRAME_LEFT,
# FRAME_RIGHT, FRAME_TOP and FRAME_BOTTOM.
frame_extents() {
    local values
    values=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
    [ -n "$values" ] || fail "no frame extents for window $1"
    IFS=, read -r FRAME_LEFT FRAME_RIGHT FRAME_TOP FRAME_BOTTOM <<<"$values"
}

# A window's client area on the screen: sets ABS_X, ABS_Y, ABS_WIDTH, ABS_HEIGHT.
absolute_geometry() {
    local info
    info=$(xwininfo -id "$1")
    ABS_X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    ABS_Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    ABS_WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
    ABS_HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
}

# Presses the keys one after the other (a menu's mnemonics, a command key),
# waits for the window whose name matches the pattern and activates it;
# prints its id. Usage: open_by_keys PATTERN KEY...
open_by_keys() {
    local pattern=$1 key wid
    shift
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
    wid=$(wait_window "$pattern")
    sleep 0.3
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
    echo "$wid"
}

# Waits until no visible window matches the pattern.
wait_window_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    fail "the window '$1' did not close"
}

# Types a name into the file box that has just opened and confirms it with
# Enter; no click, no activation: the keys go where the box's focus is.
type_into_file_box() {
    wait_window '^File Name Selection$' >/dev/null
    sleep 0.5
    xdotool type --delay 30 "$1"
    xdotool key Return
    sleep 0.8
}

# Options > Desktop Colors > Data Window in the active main window, and a
# colour typed into the colour dialog. The submenu opens on its first entry,
# "Scaling Grid"; "Phase Lines" is hidden, so two steps down is "Data Window".
# Usage: set_data_window_colour '#rrggbb'
set_data_window_colour() {
    local dialog
    xdotool key alt+t
    sleep 0.3
    xdotool key d
    sleep 0.3
    xdotool key Down Down Return
    dialog=$(wait_window '^Select Colou?r$')
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    sleep 0.3
    xdotool key alt+h ctrl+a
    xdotool type "$1"
    xdotool key Return
    wait_window_gone '^Select Colou?r$'
    sleep 0.5
}

# A 32-bit colour of the unscrambled configuration as BBGGRR (two 16-bit
# halves). Usage: config_colour FILE OFFSET
config_colour() {
    local low high
    low=$(config_int16 "$1" "$2")
    high=$(config_int16 "$1" $(($2 + 2)))
    printf '%06X' $(((high & 0xFFFF) << 16 | (low & 0xFFFF)))
}

# Sets PrintToBmp (offset 89) in a scrambled configuration file.
config_set_print_to_bmp() {
    python3 - "$1" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
assert len(data) == 6808, len(data)

def offsets():
    state = 2719
    for i in range(0, 6808, 2):
        state = (state * 134775813 + 1) & 0xFFFFFFFF
        yield i, (state * 700) >> 32

def add(sign):
    for i, r in offsets():
        w = (data[i] | data[i + 1] << 8) + sign * r & 0xFFFF
        data[i], data[i + 1] = w & 0xFF, w >> 8

add(-1)          # unscramble
data[89] = 1     # PrintToBmp
add(+1)          # scramble again
open(path, 'wb').write(data)
PY
}

# A fresh folder for an installed program, removed at the end (sets ROOT);
# skips the test (exit status 77) where it does not run as root, since the
# program folder must be root's and the program run by a second user.
make_installation_root() {
    if [ "$(id -u)" != 0 ]; then
        echo "SKIP: needs root (a root-owned program folder and a second user)"
        exit 77
    fi
    ROOT=$(mktemp -d /tmp/voxa-installed-XXXXXX)
    trap 'rm -rf "$ROOT"' EXIT
    chmod 755 "$ROOT"
}

# An ordinary user for the tests of an installed program (needs root); sets
# TEST_USER and XAUTH_ENV: the X server takes the user's connection, and an
# authority file, where the server has one, is handed on as a copy the user
# may read. Usage: make_test_user DIR (where the copy goes)
make_test_user() {
    TEST_USER=voxa-e2e
    id "$TEST_USER" >/dev/null 2>&1 || useradd --no-create-home --shell /usr/sbin/nologin "$TEST_USER"
    XAUTH_ENV=()
    if [ -n "${XAUTHORITY:-}" ]; then
        install -m 600 -o "$TEST_USER" "$XAUTHORITY" "$1/xauthority"
        XAUTH_ENV=(XAUTHORITY="$1/xauthority")
    fi
}

# Runs a command of the program folder as TEST_USER with the user's own home
# and no XDG_CONFIG_HOME. Usage: as_test_user BIN HOME RUNTIME COMMAND [ARGS...]
as_test_user() {
    local bin=$1 home=$2 runtime=$3
    shift 3
    (cd "$bin" && exec runuser -u "$TEST_USER" -- env -u XDG_CONFIG_HOME HOME="$home" \
        XDG_RUNTIME_DIR="$runtime" DISPLAY="$DISPLAY" "${XAUTH_ENV[@]}" "$@")
}

# Starts the viewer of the program folder as TEST_USER (as_test_user) and
# activates its window; sets VIEWER_PID and WID. Usage: start_viewer_as_user BIN HOME RUNTIME
start_viewer_as_user() {
    as_test_user "$1" "$2" "$3" ./voxa32vw /: >"$E2E_WORK/viewer.log" 2>&1 &
    VIEWER_PID=$!
    WID=$(wait_window '^ Sonivex$')
    sleep 1
    xdotool windowactivate --sync "$WID" >/dev/null 2>&1 || true
}

# The colour of a pixel of the data window, at (52, 68) of the client area
# below the menu bar, in a screenshot of the main window WID.
data_window_pixel() {
    local shot=$1 x=$2 y=$3
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    pixel_at "$shot" $((52 + x)) $((HEIGHT - (450 - 46) + 68 + y))
}

# Fails unless a response curve's bin at FREQ is drawn in COLOUR (rrggbb) in a
# screenshot, in the data window found by find_sigwin at the fresh scales.
# Usage: expect_curve SHOT FILE FREQ COLOUR
expect_curve() {
    local shot=$1 file=$2 freq=$3 colour=$4 x y got
    read -r x y < <(python3 "$E2E_DIR/predict_pixel.py" "$file" level "$freq" 528 290 20 20000 60 100)
    got=$(pixel_at "$shot" $((SIGWIN_X + x)) $((SIGWIN_Y + y)))
    [ "$got" = "$colour" ] || fail "$file not drawn in $colour at ($x, $y): $got"
}
