#!/usr/bin/env bash
# DotwallPanel's processor use while it shows the virtual panel at a real port's pace (about
# 13 frames/s): virtual_stream_player streams into the virtual port library for 12 seconds,
# and the viewer's user and system time are read from /proc over 10 of them. The viewer
# runs on the display in DISPLAY, or on Qt's offscreen platform when there is none (under
# Xvfb: xvfb-run bench/panel_cpu.sh).
#   bench/panel_cpu.sh [BUILD_FOLDER]   (default: build)
set -euo pipefail
bin=${1:-build}/bin
export DOTWALL_VIRTUAL_PANEL=cpu-$$
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen

played=$(mktemp)
"$bin/DotwallPanel" &
viewer=$!
trap 'kill $viewer 2>/dev/null; rm -f "$played"' EXIT
LD_LIBRARY_PATH="$bin/virtual" "$bin/virtual_stream_player" 12 > "$played" &
player=$!
sleep 1

ticks() { awk '{ print $14 + $15 }' "/proc/$viewer/stat"; }
before=$(ticks)
sleep 10
after=$(ticks)
wait $player
echo "stream: $(cat "$played")"
awk -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN {
    printf "DotwallPanel: %.1f%% of one core (%d ticks of 1/%d s in 10 s)\n",
           100 * ticks / hz / 10, ticks, hz }'
