# Helpers for the tests of the packages; sourced after tests/e2e/lib.sh.
# The packages are those scripts/package.sh wrote into the build directory
# beside the viewer the tests were given.

PACKAGES=$(dirname "$VIEWER_BINARY")/packages

# The one package file matching the pattern.
package_file() {
    local found
    found=$(ls "$PACKAGES"/$1 2>/dev/null | head -1)
    [ -n "$found" ] || fail "no package $1 in $PACKAGES (scripts/package.sh makes them)"
    echo "$found"
}

# Fails unless the program's run path leads to the print module and every
# library the module needs is found.
check_module_found() {
    local program=$1 origin runpath entry found=""
    origin=$(dirname "$(readlink -f "$program")")
    runpath=$(readelf -d "$program" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [ -n "$runpath" ] || fail "$program has no run path"
    IFS=: read -ra entries <<<"$runpath"
    for entry in "${entries[@]}"; do
        entry=${entry//\$ORIGIN/$origin}
        [ -f "$entry/libvoxa_printer.so" ] && found=$entry/libvoxa_printer.so && break
    done
    [ -n "$found" ] || fail "the run path $runpath of $program leads to no libvoxa_printer.so"
    if ldd "$found" | grep -q 'not found'; then
        fail "libraries of $found missing: $(ldd "$found" | grep 'not found')"
    fi
}

# Presses P in the viewer's window and waits for the page cups-pdf makes of
# it: the print module was loaded and printed. Needs cups_start.
print_one_page() {
    local wid=$1 pdf_dir f=""
    pdf_dir=$(cups_pdf_dir)
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
    xdotool key p
    for _ in $(seq 600); do
        f=$(ls "$pdf_dir" 2>/dev/null | grep '\.pdf$' | head -1 || true)
        [ -n "$f" ] && break
        sleep 0.05
    done
    if [ -z "$f" ]; then
        import -window root "${E2E_SHOTS:-$E2E_WORK}/package-no-pdf.png" || true
        fail "no page printed: $(cat "$E2E_WORK/viewer.log" 2>/dev/null)"
    fi
    cups_wait_idle
    [ "$(pdfinfo "$pdf_dir/$f" | sed -n 's/^Pages: *//p')" = 1 ] || fail "the printout is not one page"
}
