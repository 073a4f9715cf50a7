#!/usr/bin/env bash
# DotwallFrame lcdd on the USB adapter's port library over the stand-in chip (4.7 MB/s, as an
# FT232H takes the stream), first idle for 10 s, then with 50 clients each setting a string
# widget 10 times a second for 10 s: the server's processor time per second (the whole
# process, and its server thread alone), read from /proc, and the panel's rate at the end.
#   bench/lcdd_load.sh [BUILD_FOLDER]   (default: build; needs the tests built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
port=$((20000 + $$ % 10000))
export DOTWALL_STANDIN_FTDI_RATE=4700000
"$build/tests/ftdi_port/DotwallFrame" lcdd --listen "127.0.0.1:$port" >"/tmp/lcdd-load-$$.txt" &
server=$!
trap 'kill $server 2>/dev/null; rm -f /tmp/lcdd-load-$$.txt' EXIT
until (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do sleep 0.1; done

ticks() {  # the process's user and system ticks, or those of its thread named $1
    if [ $# -eq 0 ]; then
        awk '{ print $14 + $15 }' "/proc/$server/stat"
    else
        grep -l "^$1\$" /proc/$server/task/*/comm | sed 's/comm$/stat/' | xargs awk '{ print $14 + $15 }'
    fi
}
measure() {  # measure WHAT: the processor time over the next 10 s
    local before=$(ticks) before_server=$(ticks text-server)
    sleep 10
    awk -v all=$(($(ticks) - before)) -v server=$(($(ticks text-server) - before_server)) \
        -v hz="$(getconf CLK_TCK)" -v what="$1" 'BEGIN {
        printf "%s: %.1f ms of processor time a second, %.1f ms of them the server thread\n",
               what, 1000 * all / hz / 10, 1000 * server / hz / 10 }'
}

measure "idle"
client() {  # client N: its own screen with one string widget, set 10 times a second
    exec 3<>"/dev/tcp/127.0.0.1/$port"
    cat <&3 >/dev/null &
    printf 'hello\nclient_set -name c%s\nscreen_add s\nwidget_add s w string\n' "$1" >&3
    for i in $(seq 105); do
        printf 'widget_set s w 1 %s "client %s update %s"\n' $(($1 % 30 + 1)) "$1" "$i" >&3
        sleep 0.1
    done
}
for n in $(seq 50); do client "$n" & done
sleep 0.3
measure "50 clients, 10 updates a second each"
wait $(jobs -p | grep -v "^$server\$") 2>/dev/null || true
kill -TERM $server
wait $server
echo "panel: $(cat "/tmp/lcdd-load-$$.txt")"
