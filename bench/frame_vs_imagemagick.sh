#!/usr/bin/env bash
# Times `DotwallFrame usb PICTURE` as a whole process, and in the same run ImageMagick's
# `convert PICTURE -threshold 50% -depth 1 gray:OUT` on the same 640 x 480 picture, with
# hyperfine (no shell between it and the programs); prints both medians and their ratio.
# The goal is DotwallFrame in at most half of ImageMagick's time. Run by hand:
#   bench/frame_vs_imagemagick.sh [DotwallFrame]     (default: build/bin/DotwallFrame)
# Installs hyperfine and ImageMagick from Debian's packages when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
frame_tool=$(realpath "${1:-build/bin/DotwallFrame}")

missing=()
for package in hyperfine imagemagick; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A colour picture with gradients and shapes, so that the dithering has work to do; as a
# bitmap (DotwallUsb's own format) and as a PNG.
convert -size 640x480 gradient:'#ff8000-#0040ff' \
    -fill white -draw 'circle 320,240 320,120' -fill black -draw 'rectangle 40,40 200,160' \
    -fill '#80c040' -draw 'polygon 420,60 620,200 460,420' -depth 8 "$work/picture.bmp"
convert "$work/picture.bmp" -depth 8 "PNG24:$work/picture.png"

median_ms() {  # median_ms JSON INDEX: the INDEXth command's median in milliseconds
    sed -n 's/.*"median": *\([0-9.eE+-]*\).*/\1/p' "$1" | sed -n "$(($2 + 1))p" |
        awk '{ printf "%.2f", $1 * 1000 }'
}

for format in bmp png; do
    picture="$work/picture.$format"
    echo "== 640 x 480 $format"
    hyperfine -N --warmup 10 --runs 100 --export-json "$work/$format.json" \
        -n "DotwallFrame usb" "$frame_tool usb $picture -o $work/screen.bin" \
        -n "ImageMagick convert" "convert $picture -threshold 50% -depth 1 gray:$work/out.gray"
    ours=$(median_ms "$work/$format.json" 0)
    theirs=$(median_ms "$work/$format.json" 1)
    echo "$format: DotwallFrame usb median $ours ms, ImageMagick convert median $theirs ms," \
        "ratio $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')" \
        "(goal: 0.50 or less)"
done
