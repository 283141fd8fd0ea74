# A private CUPS server with one cups-pdf queue "PDF" for the printing tests;
# sourced by a test script. The system's own CUPS configuration, spool and
# socket are left alone: the server listens on a socket of its own, which
# CUPS_SERVER points every client (lpstat, lpadmin, the viewer) at.
#
#   cups_start        starts the server and sets up the queue (sets CUPSD_PID)
#   cups_delete_queue removes the queue: the computer has no printer left
#   cups_stop         stops the server started here
#   cups_pdf_dir      the directory cups-pdf writes its files into
#   cups_wait_idle    waits until no job is left
#
# cupsd must run as root (the cups-pdf backend runs only as root); filters
# run as the user lp, so the server's directories must be open to it.
#
# cups-pdf reads its settings only from /etc/cups/cups-pdf.conf (the output
# directory there is the printing user's ~/PDF). The server therefore runs in
# a mount namespace of its own, in which a configuration of the test's lies
# over that file: every file cups-pdf writes stays in the server's directory,
# and neither the system's file nor the user's home is touched.

CUPSD_PID=""
CUPS_ROOT=""

cups_start() {
    [ "$(id -u)" = 0 ] || fail "the printing tests need root to run cupsd"
    CUPS_ROOT=$(mktemp -d /tmp/voxa-cups.XXXXXX)
    chmod 0755 "$CUPS_ROOT"
    mkdir -p "$CUPS_ROOT"/{etc/ppd,spool/tmp,cache,state/certs,log,pdf,pdf-spool,pdf-log}
    chmod 0755 "$CUPS_ROOT"/{etc,etc/ppd,cache,state,log,pdf}
    chmod 1777 "$CUPS_ROOT/spool/tmp"
    chmod 0710 "$CUPS_ROOT/spool"
    chgrp lp "$CUPS_ROOT/spool"
    cat >"$CUPS_ROOT/cupsd.conf" <<EOF
Listen $CUPS_ROOT/cups.sock
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cat >"$CUPS_ROOT/cups-files.conf" <<EOF
ServerRoot $CUPS_ROOT/etc
RequestRoot $CUPS_ROOT/spool
TempDir $CUPS_ROOT/spool/tmp
CacheDir $CUPS_ROOT/cache
StateDir $CUPS_ROOT/state
ErrorLog $CUPS_ROOT/log/error_log
AccessLog $CUPS_ROOT/log/access_log
PageLog $CUPS_ROOT/log/page_log
SystemGroup root
EOF
    cat >"$CUPS_ROOT/cups-pdf.conf" <<EOF
Out $CUPS_ROOT/pdf
AnonDirName $CUPS_ROOT/pdf
Spool $CUPS_ROOT/pdf-spool
GSTmp $CUPS_ROOT/pdf-spool
Log $CUPS_ROOT/pdf-log
Grp lp
EOF
    [ -f /etc/cups/cups-pdf.conf ] || fail "cups-pdf is not installed"
    export CUPS_SERVER=$CUPS_ROOT/cups.sock
    # unshare and sh each exec the next: the process started here is cupsd.
    unshare --mount --propagation private sh -c \
        'mount --bind "$0" /etc/cups/cups-pdf.conf && exec /usr/sbin/cupsd -f -c "$1" -s "$2"' \
        "$CUPS_ROOT/cups-pdf.conf" "$CUPS_ROOT/cupsd.conf" "$CUPS_ROOT/cups-files.conf" \
        >"$CUPS_ROOT/log/cupsd.out" 2>&1 &
    CUPSD_PID=$!
    for _ in $(seq 200); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        kill -0 "$CUPSD_PID" 2>/dev/null || fail "cupsd ended: $(cat "$CUPS_ROOT/log/cupsd.out" "$CUPS_ROOT/log/error_log" 2>/dev/null)"
        sleep 0.05
    done
    lpstat -r | grep -q 'is running' || fail "cupsd does not answer"
    # lpadmin warns that printer drivers are deprecated; only a failure counts.
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>"$CUPS_ROOT/log/lpadmin.out" \
        || fail "cannot set up the cups-pdf queue: $(cat "$CUPS_ROOT/log/lpadmin.out")"
    lpadmin -d PDF
}

cups_delete_queue() {
    lpadmin -x PDF
}

cups_stop() {
    if [ -n "$CUPSD_PID" ]; then
        kill "$CUPSD_PID" 2>/dev/null || true
        wait "$CUPSD_PID" 2>/dev/null || true
        CUPSD_PID=""
    fi
    [ -n "$CUPS_ROOT" ] && rm -rf "$CUPS_ROOT"
    CUPS_ROOT=""
}

cups_pdf_dir() {
    echo "$CUPS_ROOT/pdf"
}

cups_wait_idle() {
    for _ in $(seq 400); do
        [ -z "$(lpstat -o 2>/dev/null)" ] && return 0
        sleep 0.05
    done
    fail "the print job did not finish: $(lpstat -o; tail -5 "$CUPS_ROOT/log/error_log" 2>/dev/null)"
}
