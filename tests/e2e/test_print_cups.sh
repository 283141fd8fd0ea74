# Printing on a real CUPS server with a cups-pdf queue: the window picture
# lands on one page, 10 % of the printable width in from the left and 10 % of
# the printable height down from the top, 80 % of the printable width wide,
# with the window's aspect ratio; in portrait and in landscape. With no
# printer left, P shows the error box and the viewer goes on.
source "$E2E_DIR/lib.sh"
source "$E2E_DIR/cups.sh"

PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

cleanup_print_test() {
    [ -n "${VIEWER_PID:-}" ] && kill "$VIEWER_PID" 2>/dev/null || true
    cups_stop
}
trap cleanup_print_test EXIT

# The PDFs land in the private server's own directory, never in ~/PDF.
cups_start
pdf_dir=$(cups_pdf_dir)

# Waits for the next PDF of cups-pdf and prints its path.
wait_new_pdf() {
    local known=$1 f=""
    for _ in $(seq 600); do
        f=$(comm -13 "$known" <(ls "$pdf_dir" 2>/dev/null | sort) | grep '\.pdf$' | head -1 || true)
        [ -n "$f" ] && break
        sleep 0.05
    done
    if [ -z "$f" ]; then
        import -window root "${E2E_SHOTS:-$E2E_WORK}/print-no-pdf.png"
        fail "no PDF appeared in $pdf_dir: $(lpstat -W completed -o 2>&1; tail -3 "$CUPS_ROOT/log/error_log")"
    fi
    cups_wait_idle
    echo "$pdf_dir/$f"
}

# Checks the placement of the picture on the page rendered at 72 dpi (one
# pixel per point), against the printable area of that page size.
check_placement() {
    local pdf=$1 orientation=$2 name
    name=$E2E_WORK/page-$orientation
    pdftoppm -r 72 -singlefile "$pdf" "$name"
    cp "$name.ppm" "${E2E_SHOTS:-$E2E_WORK}/print-$orientation.ppm" 2>/dev/null || true
    python3 - "$name.ppm" "$PPD" "$orientation" <<'PY' || fail "placement on the $orientation page"
import re, sys
ppm, ppd, orientation = sys.argv[1:4]
data = open(ppm, 'rb').read()
m = re.match(rb'P6\s+(\d+)\s+(\d+)\s+(\d+)\s', data)
W, H = int(m.group(1)), int(m.group(2))
pixels = data[m.end():]

# The picture: every pixel that is not (nearly) white paper.
xs, ys = [], []
for y in range(H):
    row = pixels[3 * W * y:3 * W * (y + 1)]
    dark = [x for x in range(W) if min(row[3 * x:3 * x + 3]) < 235]
    if dark:
        xs += [dark[0], dark[-1]]
        ys.append(y)
if not ys:
    sys.exit('the page is empty')
left, right, top, bottom = min(xs), max(xs), min(ys), max(ys)
width, height = right - left + 1, bottom - top + 1

# The printable area of the page size that was rendered (portrait points).
text = open(ppd, encoding='latin-1').read()
dims = {k: (float(a), float(b)) for k, a, b in
        re.findall(r'\*PaperDimension ([^/:\s]+)[^:]*:\s*"([\d.]+) ([\d.]+)"', text)}
areas = {k: tuple(map(float, v)) for k, *v in
         re.findall(r'\*ImageableArea ([^/:\s]+)[^:]*:\s*"([\d.]+) ([\d.]+) ([\d.]+) ([\d.]+)"', text)}
page = next(k for k, (pw, ph) in dims.items() if abs(pw - W) <= 1.5 and abs(ph - H) <= 1.5)
# Qt keeps its default margins of 10 points where the PPD lets the printer
# print to the edge of the paper.
x0, y0, x1, y1 = areas[page]
pw_page, ph_page = dims[page]
ml, mb, mr, mt = max(x0, 10), max(y0, 10), max(pw_page - x1, 10), max(ph_page - y1, 10)
pl, pt, pw, ph = ml, mt, pw_page - ml - mr, ph_page - mt - mb
aspect = 382 / 632
tol = 3
print(f'{orientation}: page {page} {W}x{H}, picture {width}x{height} at {left},{top}')

def near(a, b):
    return abs(a - b) <= tol

if orientation == 'portrait':
    ok = (near(left, pl + pw / 10) and near(top, pt + ph / 10)
          and near(width, 0.8 * pw) and near(height, 0.8 * pw * aspect))
else:
    # cups-pdf turns the landscape page by 90 degrees onto a portrait page:
    # the picture's width runs down the page, its height across it.
    long_side = 0.8 * ph
    ok = (near(height, long_side) and near(width, long_side * aspect)
          and (near(top - pt, ph / 10) or near(pt + ph - 1 - bottom, ph / 10))
          and (near(left - pl, pw / 10) or near(pl + pw - 1 - right, pw / 10)))
sys.exit(0 if ok else 'the picture is not where it belongs')
PY
}

dir=$(make_program_dir)
start_viewer "$dir" /Init /:
wid=$(wait_window '^ Sonivex$')
sleep 0.5
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true

# Portrait, the configuration's default.
ls "$pdf_dir" 2>/dev/null | sort >"$E2E_WORK/known" || true
xdotool key p
pdf=$(wait_new_pdf "$E2E_WORK/known")
check_placement "$pdf" portrait

# Landscape, chosen in the print options.
xdotool key alt+t
sleep 0.3
xdotool key p
options=$(wait_window '^VOXA 32 Printer Options$')
sleep 0.3
xdotool windowactivate --sync "$options" >/dev/null 2>&1 || true
xdotool mousemove --window "$options" 26 55 click 1  # LandscapeBtn in GroupBox4
xdotool key Return
sleep 0.3
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
ls "$pdf_dir" | sort >"$E2E_WORK/known"
xdotool key p
pdf=$(wait_new_pdf "$E2E_WORK/known")
check_placement "$pdf" landscape

# No printer left: the error box, then the viewer goes on.
cups_delete_queue
xdotool key p
err=$(wait_window '^VOXA 32 Curve Viewer$')
sleep 0.3
import -window root "${E2E_SHOTS:-$E2E_WORK}/print-no-printer.png"
xdotool windowactivate --sync "$err" >/dev/null 2>&1 || true
xdotool key Return
sleep 0.3
kill -0 "$VIEWER_PID" || fail "the viewer ended after the printer error"
quit_viewer "$wid"
echo "printing on cups-pdf: ok"
