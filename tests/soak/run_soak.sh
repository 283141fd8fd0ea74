#!/usr/bin/env bash
# Long test, outside the default suite (ctest label "soak"): 10,000 loads
# through the load flow with the colour cycle checked, and the resident
# memory at the end within 1 MiB of the memory after the first 100 loads.
#   run_soak.sh SOAK_LOADS_BINARY [LOADS]
set -euo pipefail
binary=${1:?usage: run_soak.sh SOAK_LOADS_BINARY [LOADS]}
loads=${2:-10000}
export QT_QPA_PLATFORM=offscreen
exec "$binary" "$loads"
