#!/usr/bin/env bash
# `DotwallFrame play -` fed by ffmpeg's test source at 30 and then 120 pictures a second for
# 10 s each (640 x 240 grey PGM pictures, `-re`: at their own pace), streaming into the USB
# adapter port library over the stand-in for libftdi1 taking 4.7 MB/s, as an FT232H would
# (DotwallLpt's panel: 60.75 frames/s). Prints play's rate line, the underruns the library
# and the chip counted, and play's processor time per second of stream.
#   bench/play_ftdi.sh [BUILD_FOLDER]   (default: build; needs the tests built, for the stand-in)
set -euo pipefail
cd "$(dirname "$0")/.."
play=${1:-build}/tests/ftdi_port/DotwallFrame
[ -x "$play" ] || { echo "no $play: build the tests first (cmake --build build)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export DOTWALL_STANDIN_FTDI_RATE=4700000 DOTWALL_STANDIN_FTDI_RECORD="$work/chip"
seconds=10

for rate in 30 120; do
    ffmpeg -loglevel error -nostdin -re -f lavfi -i "testsrc=size=640x240:rate=$rate" \
        -t $seconds -f image2pipe -c:v pgm - |
        /usr/bin/time -f "%U %S" -o "$work/time" "$play" play - >"$work/out" 2>"$work/err" ||
        { echo "play failed:"; cat "$work/err"; exit 1; }
    stalls=$(grep -o 'stalls [0-9]*' "$work/chip" | cut -d' ' -f2)
    underruns=$(grep -o 'ran out of bytes [0-9]*' "$work/err" | grep -o '[0-9]*$' || echo 0)
    printf '%3d pictures/s: %s\n' "$rate" "$(cat "$work/out")"
    awk -v s=$seconds -v u="$underruns" -v c="${stalls:-?}" '{ printf \
        "                underruns: %d (library), %s (chip); play %.1f ms processor time per second of " \
        "stream (%.1f%% of one core)\n", u, c, 1000 * ($1 + $2) / s, 100 * ($1 + $2) / s }' \
        "$work/time"
done
