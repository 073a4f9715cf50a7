#!/usr/bin/env python3
"""Draws the programs' stored pictures and icons with ImageMagick and writes them in the
forms the windows keep: 1-bit bitmaps with palette entry 0 white and entry 1 black, and
32 x 32 icons with 16 colours (4 bits per pixel).

Run from the repository root: python3 tools/make_resources.py
"""
import struct
import subprocess

FONT = "DejaVu-Sans-Bold"
MONO = "DejaVu-Sans-Mono-Bold"

# The 16 colours of the classic VGA palette, as (red, green, blue).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def magick(*args):
    return subprocess.run(["convert", *args], check=True, stdout=subprocess.PIPE).stdout


def read_pbm(data):
    """Parses a binary PBM (P4): returns width, height and rows of bits, 1 = black."""
    fields = []
    pos = 0
    while len(fields) < 3:
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    width, height = int(fields[1]), int(fields[2])
    stride = (width + 7) // 8
    rows = [data[pos + r * stride:pos + (r + 1) * stride] for r in range(height)]
    return width, height, rows


def write_mono_bmp(path, width, height, rows):
    stride = ((width + 31) // 32) * 4
    pixels = b"".join(row.ljust(stride, b"\0") for row in reversed(rows))
    palette = bytes([255, 255, 255, 0, 0, 0, 0, 0])  # entry 0 white, entry 1 black (BGRA)
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 3780, 3780, 2, 2)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


def draw_picture(path, width, height, drawing):
    pbm = magick("-size", f"{width}x{height}", "xc:white", "-fill", "black", "-stroke", "none",
                 *drawing, "-threshold", "50%", "pbm:-")
    w, h, rows = read_pbm(pbm)
    assert (w, h) == (width, height)
    write_mono_bmp(path, w, h, rows)


def frame_marks(width, height, step):
    """Border, ticks every `step` pixels along the top and left edges, and a diagonal."""
    marks = ["-stroke", "black", "-fill", "none",
             "-draw", f"rectangle 0,0 {width - 1},{height - 1}",
             "-draw", f"line 0,0 {width - 1},{height - 1}"]
    for x in range(step, width, step):
        length = 12 if x % (step * 4) == 0 else 6
        marks += ["-draw", f"line {x},0 {x},{length}"]
    for y in range(step, height, step):
        length = 12 if y % (step * 4) == 0 else 6
        marks += ["-draw", f"line 0,{y} {length},{y}"]
    return marks + ["-stroke", "none", "-fill", "black"]


def corner_labels(width, height, size):
    pad = 18
    return ["-font", MONO, "-pointsize", str(size),
            "-gravity", "NorthWest", "-annotate", f"+{pad}+{pad}", "TL",
            "-gravity", "NorthEast", "-annotate", f"+{pad}+{pad}", "TR",
            "-gravity", "SouthWest", "-annotate", f"+{pad}+{pad}", "BL",
            "-gravity", "SouthEast", "-annotate", f"+{pad}+{pad}", "BR",
            "-gravity", "NorthWest"]


def usb_picture():
    # The seam between the panel halves (rows 239 and 240) is marked by a dashed line in
    # the upper half and a solid one in the lower half, so swapped nibbles show at once.
    drawing = frame_marks(640, 480, 20) + corner_labels(640, 480, 22)
    drawing += ["-draw", "rectangle 2,2 9,9",  # solid block in the very top-left corner
                "-stroke", "black", "-draw", "line 0,240 639,240", "-stroke", "none"]
    drawing += [arg for x in range(0, 640, 16) for arg in ("-draw", f"rectangle {x},237 {x + 7},238")]
    drawing += ["-font", FONT, "-pointsize", "56", "-gravity", "North",
                "-annotate", "+0+60", "DOTWALL",
                "-pointsize", "22", "-annotate", "+0+130", "upper half  -  rows 0 to 239",
                "-annotate", "+0+300", "lower half  -  rows 240 to 479",
                "-pointsize", "18", "-annotate", "+0+390", "640 x 480 dual scan   \u2192 left to right \u2192",
                "-draw", "polygon 320,170 300,210 340,210",  # an arrow pointing up
                "-draw", "rectangle 314,210 326,226"]
    draw_picture("usb_tool/resources/default_picture.bmp", 640, 480, drawing)


def lpt_picture():
    drawing = frame_marks(640, 240, 20) + corner_labels(640, 240, 18)
    drawing += ["-draw", "rectangle 2,2 9,9",
                "-font", FONT, "-pointsize", "44", "-gravity", "North",
                "-annotate", "+0+40", "DOTWALL",
                "-pointsize", "18", "-annotate", "+0+100", "640 x 240 single scan, 4-bit bus",
                "-annotate", "+0+130", "\u2192 left to right \u2192",
                "-draw", "polygon 560,60 545,90 575,90", "-draw", "rectangle 555,90 565,110"]
    draw_picture("lpt_tool/resources/default_picture.bmp", 640, 240, drawing)


def write_icon(path, drawing):
    ppm = magick("-size", "32x32", "xc:white", *drawing, "-depth", "8", "ppm:-")
    header_end = 0
    for _ in range(4):  # "P6", width, height, maxval
        while ppm[header_end:header_end + 1].isspace():
            header_end += 1
        while not ppm[header_end:header_end + 1].isspace():
            header_end += 1
    pixels = ppm[header_end + 1:]

    def nearest(rgb):
        return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(VGA[i], rgb)))

    indices = [nearest(tuple(pixels[i * 3:i * 3 + 3])) for i in range(32 * 32)]
    xor_rows = []
    for row in range(31, -1, -1):  # bottom-up
        line = indices[row * 32:(row + 1) * 32]
        xor_rows.append(bytes((line[i] << 4) | line[i + 1] for i in range(0, 32, 2)))
    xor = b"".join(xor_rows)
    and_mask = bytes(4 * 32)  # every pixel opaque
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(and_mask), 0, 0, 16, 0)
    image = info + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(directory + entry + image)


def panel_icon(accent):
    """A grey panel with a green screen, dark pixels on it and a coloured plug."""
    return ["-fill", "rgb(128,128,128)", "-draw", "rectangle 1,4 30,27",
            "-fill", "rgb(0,128,0)", "-draw", "rectangle 4,7 27,22",
            "-fill", "black", "-draw", "rectangle 7,10 10,19", "-draw", "rectangle 11,10 13,12",
            "-draw", "rectangle 11,17 13,19", "-draw", "rectangle 14,12 15,17",
            "-draw", "rectangle 18,10 19,19", "-draw", "rectangle 22,10 23,19",
            "-draw", "rectangle 18,18 23,19",
            "-fill", accent, "-draw", "rectangle 12,27 19,31"]


if __name__ == "__main__":
    usb_picture()
    lpt_picture()
    write_icon("usb_tool/resources/icon.ico", panel_icon("rgb(0,0,255)"))
    write_icon("lpt_tool/resources/icon.ico", panel_icon("rgb(255,0,0)"))
    write_icon("panel_tool/resources/icon.ico", panel_icon("rgb(0,255,0)"))
