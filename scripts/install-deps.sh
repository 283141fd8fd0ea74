#!/usr/bin/env bash
# Installs the Debian packages the viewer needs to build, run and test.
# Idempotent and quiet: only missing packages are installed.
set -euo pipefail

packages=(
  # build
  cmake g++ ninja-build qt6-base-dev qt6-svg-dev libasound2-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev libsqlite3-dev
  clang-14 libclang-rt-14-dev
  # run: the layout depends on text widths, so the same fonts everywhere
  fonts-liberation fonts-dejavu-core
  # tests
  xvfb xauth openbox xdotool x11-utils imagemagick sox alsa-utils
  cups cups-daemon cups-client printer-driver-cups-pdf poppler-utils python3 valgrind
  # the viewer under Wayland, and a compositor for its tests
  qt6-wayland weston
  # the speed comparison of the command-line renderer
  gnuplot-nox
  # a German desktop for the tests of the decimal point
  locales
  # packaging: the icon's bitmaps, CPack's library dependencies, Debian's checks
  librsvg2-bin dpkg-dev file lintian desktop-file-utils man-db appstream
  # the installed package as a desktop sees it: the MIME database, xdg-mime
  # (which reads it through File::MimeInfo) and gio
  shared-mime-info xdg-utils libfile-mimeinfo-perl libglib2.0-bin
  # statistics of an archive split into jobs (tests/cli/test_stats_parallel.sh)
  parallel
  # the database of export --format sqlite, queried by its tests
  sqlite3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run the viewer under a German desktop, which writes a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
