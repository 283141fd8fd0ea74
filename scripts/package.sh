#!/usr/bin/env bash
# Builds the packages from a build directory (default build/, configured and
# built first where needed): the .deb of the system layout and the portable
# .tar.gz folder, both into BUILD_DIR/packages/. Prints their paths.
#
#   scripts/package.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
if [ ! -f "$dir/CPackConfig.cmake" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" -t voxa32vw voxa_printer voxacurve make_examples package_files
rm -rf "$dir/packages"
(cd "$dir" && cpack --config CPackConfig.cmake >/dev/null)
ls "$dir"/packages/*.deb "$dir"/packages/*.tar.gz
