#!/usr/bin/env bash
# The Debian package checked as a user's machine would take it.
#   package_check.sh build BUILD_DIR WORK_DIR PICTURE   makes the package from the build into
#       WORK_DIR and checks it without installing it: lintian, its files, and the programs'
#       library search, also from the package unpacked elsewhere.
#   package_check.sh install BUILD_DIR WORK_DIR PICTURE   installs it with apt-get, uses the
#       installed programs, and purges it again; as root on a machine to spare (CI) only.
set -euo pipefail
mode=$1 build=$2 work=$3 picture=$4
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

if [ "$mode" = build ]; then
    prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
    [ "$prefix" = /usr ] || skip "the build is for $prefix; Debian's package comes from a build for /usr (./dev package)"
    rm -rf "$work" && mkdir -p "$work"
    cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
    deb=$(echo "$work"/dotwall_*_amd64.deb)
    [ -f "$deb" ] || fail "cpack made no dotwall_VERSION_amd64.deb"
    lintian --allow-root "$deb" | tee "$work/lintian.txt"
    ! grep -q '^E: ' "$work/lintian.txt" || fail "lintian reports errors"

    # The programs, their private libraries and nothing the system's loader would find.
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/files.txt"
    for file in usr/bin/{DotwallUsb,DotwallLpt,DotwallFrame,DotwallPanel} \
        usr/lib/dotwall/{libAVR309.so,libWinIo.so,virtual/libWinIo.so,ftdi/libWinIo.so} \
        usr/lib/udev/rules.d/60-dotwall-ftdi.rules \
        usr/lib/systemd/system/dotwall-lcdd.service etc/default/dotwall-lcdd \
        usr/share/man/man1/{DotwallUsb,DotwallLpt,DotwallFrame,DotwallPanel}.1.gz \
        usr/share/applications/dotwall-{usb,lpt,panel}.desktop \
        usr/share/icons/hicolor/32x32/apps/dotwall-{usb,lpt,panel}.png \
        usr/share/doc/dotwall/{README.md,copyright,changelog.gz}; do
        grep -qx "$file" "$work/files.txt" || fail "the package lacks $file"
    done
    # Files only root may change: the service's settings, for one, set the library search of a
    # service that runs as root.
    others=$(dpkg-deb -c "$deb" | awk '$1 !~ /^l/ && ($2 != "root/root" || $1 ~ /^.....w|^........w/)')
    [ -z "$others" ] || fail "files that others than root may change: $others"
    ! grep -E '\.so' "$work/files.txt" | grep -v '^usr/lib/dotwall/' ||
        fail "a library outside usr/lib/dotwall"
    grep -q '^Depends: .*libqt6widgets6' <(dpkg-deb -f "$deb") || fail "no dependencies worked out"
    [ "$(dpkg-deb -I "$deb" conffiles)" = /etc/default/dotwall-lcdd ] ||
        fail "the service's settings are not the one conffile"

    # The programs search their own folder's ../lib/dotwall, then /usr/lib/dotwall, and
    # nothing else. Unpacked elsewhere, the tree finds its own port library: the virtual one,
    # put in the parallel port's place, so that nothing reaches a real port.
    dpkg-deb -x "$deb" "$work/unpacked"
    version=$(dpkg-deb -f "$deb" Version)
    for program in "$work"/unpacked/usr/bin/*; do
        readelf -d "$program" | grep -q 'RUNPATH.*\[\$ORIGIN/../lib/dotwall:/usr/lib/dotwall\]' ||
            fail "$program searches elsewhere: $(readelf -d "$program" | grep PATH)"
        [ "$("$program" --version)" = "${program##*/} $version" ] ||
            fail "$program --version does not tell the package's version $version"
    done
    libraries=$work/unpacked/usr/lib/dotwall
    cp "$libraries/virtual/libWinIo.so" "$libraries/libWinIo.so"
    env -u LD_LIBRARY_PATH DOTWALL_VIRTUAL_PANEL=package-check-$$ DOTWALL_VIRTUAL_PORT_NS=0 \
        "$work/unpacked/usr/bin/DotwallFrame" play "$picture" --frames 1 ||
        fail "the unpacked DotwallFrame play did not find the port library beside it"
    exit 0
fi

[ "$mode" = install ] || fail "unknown mode $mode"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root; CI runs this as root on a throwaway machine"
! dpkg-query -W -f='${Status}' dotwall 2>/dev/null | grep -q installed ||
    skip "dotwall is installed on this machine already; the test would replace and remove it"
deb=$(echo "$work"/dotwall_*_amd64.deb)
cd "$work"
export QT_QPA_PLATFORM=offscreen DOTWALL_VIRTUAL_PANEL=package-check-$$
trap 'apt-get purge -y -q dotwall >/dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >apt.txt || { cat apt.txt; fail "apt-get install"; }

# From /usr/bin, as the build packs.
/usr/bin/DotwallFrame usb "$picture" -o installed.bin
"$build/bin/DotwallFrame" usb "$picture" -o built.bin
cmp installed.bin built.bin || fail "the installed DotwallFrame usb packs otherwise than the build"
/usr/bin/DotwallPanel installed.bin --snapshot frame.png >/dev/null || fail "DotwallPanel FRAME --snapshot"

# play on the installed virtual library feeds the panel the picture 'lpt' packs, until the
# panel has taken a frame, however late either starts.
LD_LIBRARY_PATH=/usr/lib/dotwall/virtual /usr/bin/DotwallFrame play "$picture" >play.txt &
player=$!
/usr/bin/DotwallPanel --snapshot live.png >panel.txt ||
    { kill "$player"; fail "DotwallPanel saw no frame of play: $(cat panel.txt)"; }
kill -TERM "$player" && wait "$player" || fail "play did not end on SIGTERM with status 0"
/usr/bin/DotwallFrame lpt "$picture" -o lpt.bin
/usr/bin/DotwallFrame preview lpt.bin -o expected.png
cmp live.png expected.png || fail "the panel showed otherwise than the frame play streamed"

# The windows start and close on SIGTERM as on their user's close, once they catch it: the
# program itself, not the shell forked to start it, which catches SIGTERM until it execs.
catches_sigterm() {
    [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ] &&
        (("0x$(sed -n 's/^SigCgt:\s*//p' "/proc/$1/status")" & 1 << 14))
}
for program in DotwallUsb DotwallLpt; do
    LD_LIBRARY_PATH=/usr/lib/dotwall/virtual "/usr/bin/$program" 2>"$program.txt" &
    window=$!
    for _ in $(seq 300); do
        kill -0 "$window" 2>/dev/null && ! catches_sigterm "$window" "$program" || break
        sleep 0.1
    done
    kill -0 "$window" 2>/dev/null || fail "$program ended at start: $(cat "$program.txt")"
    kill -TERM "$window"
    wait "$window" || fail "$program did not close on SIGTERM with status 0"
done

man -w DotwallUsb DotwallLpt DotwallFrame DotwallPanel >/dev/null || fail "man misses a page"
# The service is there, its settings read as the unit reads them, and it is not enabled.
[ ! -e /etc/systemd/system/multi-user.target.wants/dotwall-lcdd.service ] ||
    fail "dotwall-lcdd.service is enabled"
# On a port of its own: LCDproc's package, which the tests use, may run LCDd on 13666.
port=$((20000 + $$ % 10000))
(set -a && . /etc/default/dotwall-lcdd && exec env LD_LIBRARY_PATH=/usr/lib/dotwall/virtual \
    /usr/bin/DotwallFrame lcdd --panel "$DOTWALL_LCDD_PANEL" ${DOTWALL_LCDD_OPTIONS/13666/$port}) \
    >lcdd.txt 2>&1 &
server=$!
/usr/bin/DotwallPanel --snapshot served.png >panel.txt ||
    { kill "$server"; fail "DotwallPanel saw no frame of lcdd: $(cat lcdd.txt panel.txt)"; }
exec 3<>"/dev/tcp/127.0.0.1/$port" && echo hello >&3 && read -r -t 10 reply <&3 || reply=none
exec 3>&-
[[ $reply == "connect LCDproc "* ]] || { kill "$server"; fail "lcdd answered hello with $reply"; }
kill -TERM "$server" && wait "$server" || fail "lcdd did not end on SIGTERM with status 0"
! ldconfig -p | grep -E 'libWinIo|libAVR309' || fail "the system's loader offers the package's libraries"

files=$(dpkg-query -L dotwall)
apt-get purge -y -q dotwall >/dev/null
for file in $files; do
    [ -d "$file" ] || [ ! -e "$file" ] || fail "$file is left after apt-get purge"
done
[ ! -e /usr/lib/dotwall ] || fail "/usr/lib/dotwall is left after apt-get purge"
