#!/usr/bin/env bash
# Installs what is missing, builds and starts the viewer. The first start in
# a build directory creates a fresh configuration and puts the example curves
# beside the program, where the file box looks for them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build"
cd "$root/build"
if [ -x ./make_examples ] && ! ls ./*.EA >/dev/null 2>&1; then
    ./make_examples .
fi
if [ -f VOXA32VW.CFG ]; then
    exec ./voxa32vw "$@"
fi
exec ./voxa32vw /Init "$@"
