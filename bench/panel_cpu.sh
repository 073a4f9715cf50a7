#!/usr/bin/env bash
# DotwallPanel's processor use while it shows the virtual panel at a real port's pace (about
# 13 frames/s): `DotwallFrame play` streams 150 frames into the virtual port library, and the
# viewer's user and system time are read from /proc over 10 s of them. The viewer runs on
# the display in DISPLAY, or on Qt's offscreen platform when there is none (under Xvfb:
# xvfb-run bench/panel_cpu.sh).
#   bench/panel_cpu.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build}/bin
export DOTWALL_VIRTUAL_PANEL=cpu-$$
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
frames=150

"$bin/DotwallPanel" &
viewer=$!
trap 'kill $viewer 2>/dev/null' EXIT
start=$(date +%s.%N)
LD_LIBRARY_PATH="$bin/virtual" "$bin/DotwallFrame" play lpt_tool/resources/default_picture.bmp \
    --frames $frames &
player=$!
sleep 1

ticks() { awk '{ print $14 + $15 }' "/proc/$viewer/stat"; }
before=$(ticks)
sleep 10
after=$(ticks)
wait $player
awk -v frames=$frames -v start="$start" -v end="$(date +%s.%N)" 'BEGIN {
    printf "stream: %d frames in %.1f s: %.2f frames/s\n", frames, end - start,
           frames / (end - start) }'
awk -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN {
    printf "DotwallPanel: %.1f%% of one core (%d ticks of 1/%d s in 10 s)\n",
           100 * ticks / hz / 10, ticks, hz }'
