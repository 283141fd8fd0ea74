#!/usr/bin/env bash
# Installs the Debian packages the viewer needs to build, run and test.
# Idempotent and quiet: only missing packages are installed.
set -euo pipefail

packages=(
  # build
  cmake g++ ninja-build qt6-base-dev qt6-svg-dev libasound2-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev
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
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
