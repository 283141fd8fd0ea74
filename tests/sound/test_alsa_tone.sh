#!/usr/bin/env bash
# The real tone path: ALSA's default device sent to a file; the tone must
# block for its whole duration and its spectrum must peak at its frequency.
# Usage: test_alsa_tone.sh TONE_PROBE
set -euo pipefail
probe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/asound.conf" <<CONF
pcm.!default { type file  slave.pcm "null"  file "| cat >> $work/tones.raw"  format "raw" }
CONF
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$work/asound.conf

blocked=$("$probe" 1200 1000)
[ "$blocked" -ge 1000 ] || { echo "FAIL: the tone blocked only $blocked ms"; exit 1; }
for _ in $(seq 50); do [ -s "$work/tones.raw" ] && break; sleep 0.1; done
sleep 0.3
bytes=$(stat -c %s "$work/tones.raw")
[ "$bytes" -ge 80000 ] || { echo "FAIL: only $bytes bytes of sound"; exit 1; }
peak=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$work/tones.raw" -n trim 0.1 0.5 stat -freq 2>&1 \
    | awk 'NF == 2 && $1 ~ /^[0-9.]+$/ { if ($2 > max) { max = $2; f = $1 } } END { print int(f) }')
[ "$peak" -ge 1170 ] && [ "$peak" -le 1230 ] || { echo "FAIL: spectrum peak at $peak Hz"; exit 1; }

blocked=$("$probe" 18 300)
[ "$blocked" -ge 300 ] || { echo "FAIL: 18 Hz silence blocked only $blocked ms"; exit 1; }
echo "tone of 1200 Hz, peak at $peak Hz, blocked $blocked ms: ok"
