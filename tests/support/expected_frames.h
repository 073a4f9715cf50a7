#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

#include "frames/panel_picture.h"

// What the panels must receive, worked out from their wiring alone and never from the
// programs' packers, so that a test compares the programs' bytes with an independent
// expectation.
namespace dotwall::testing {

using Bytes = std::vector<std::uint8_t>;

// A picture whose every pixel tells: each is drawn from `colours` by a fixed pseudo-random
// sequence, so a mirrored nibble, a swapped half or a shifted row changes the frame.
inline QImage noisePicture(int width, int height, const std::vector<QRgb>& colours) {
    QImage picture(width, height, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            picture.setPixel(x, y, colours[(state >> 16) % colours.size()]);
        }
    }
    return picture;
}

inline const std::vector<QRgb> kBlackAndWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};

// Lit where the picture is white, as a black-and-white picture lights the panel.
inline std::function<bool(int x, int y)> whiteIn(const QImage& picture) {
    return [&picture](int x, int y) { return picture.pixel(x, y) == qRgb(255, 255, 255); };
}

// Lit where a 640-pixel-wide frame's bit is 1; bit 3 of each byte is the leftmost pixel.
inline std::function<bool(int x, int y)> litIn(const Bytes& frame) {
    return [&frame](int x, int y) { return (frame[160 * y + x / 4] >> (3 - x % 4) & 1) != 0; };
}

// What a panel of that size shows for the pixels lit(x, y) tells.
inline PanelPicture panelPicture(int width, int lines,
                                 const std::function<bool(int x, int y)>& lit) {
    PanelPicture picture(width, lines);
    for (int y = 0; y < lines; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setLit(x, y, lit(x, y));
        }
    }
    return picture;
}

// The colour value of a Qt colour: 0x00BBGGRR, red in the low byte.
inline std::int32_t colourValueOf(QRgb rgb) {
    return qBlue(rgb) << 16 | qGreen(rgb) << 8 | qRed(rgb);
}

// DotwallUsb's 38402-byte frame file for the 640 x 480 area whose lit pixels lit(x, y) tells.
// Line k carries picture rows k + 1 (low nibble) and k + 241 (high nibble), the last line rows
// 0 and 240; the leftmost of four pixels sits in its nibble's top bit. Then 0 and 5.
inline Bytes expectedUsbFrameFile(const std::function<bool(int x, int y)>& lit) {
    Bytes file(38402, 0);
    for (int line = 0; line < 240; ++line) {
        const int upperRow = (line + 1) % 240;
        for (int x = 0; x < 640; ++x) {
            const int bit = 3 - x % 4;
            file[160 * line + x / 4] |=
                (lit(x, upperRow) << bit) | (lit(x, upperRow + 240) << (bit + 4));
        }
    }
    file[38401] = 5;
    return file;
}

// DotwallLpt's 241 lines of 160 bytes, without the test mark, for a picture shown as it is at
// the top-left of the 9650 x 3660-twip area on white paper (15 twips to a pixel). Grid point
// (column, line) lies at (column · 9650 / 640, line · 3660 / 240) twips; it is lit when its
// colour value is above 128. The 241st line lies on the lower edge, outside the area.
inline Bytes expectedLptFrameUnmarked(const QImage& picture) {
    Bytes frame(38560, 0);
    const float pitchAcross = 9650.0f / 640.0f;
    for (int line = 0; line <= 240; ++line) {
        const double y = line * (3660.0 / 240.0);
        for (int column = 0; column < 640; ++column) {
            const auto x = static_cast<double>(static_cast<float>(column) * pitchAcross);
            const int px = static_cast<int>(x / 15);
            const int py = static_cast<int>(y / 15);
            const std::int32_t colour = y >= 3660 ? -1
                                        : px < picture.width() && py < picture.height()
                                            ? colourValueOf(picture.pixel(px, py))
                                            : 0xFFFFFF;
            frame[160 * line + column / 4] |= (colour > 128) << (3 - column % 4);
        }
    }
    return frame;
}

// The same with the test mark: 0101 on even and 1010 on odd lines 0 to 8, byte column 20.
inline Bytes expectedLptFrame(const QImage& picture) {
    Bytes frame = expectedLptFrameUnmarked(picture);
    for (int line = 0; line < 9; ++line) {
        frame[20 + 160 * line] = line % 2 == 0 ? 0b0101 : 0b1010;
    }
    return frame;
}

// A panel as its profile file describes it, for the test's own stream of it.
struct PanelWiring {
    int width, lines;
    int data[4];  // the port bits of a group's pixels, leftmost first
    int clock, latch, marker;
    int ac = -1;           // none
    int acEveryLines = 0;  // 0: the AC line turns over at each frame marker
    bool invert = false;
};

// The port bytes of `frames` frames of such a panel for the pixels lit(x, y) tells: marker
// with latch, marker, then per line each group with the clock high and again low, then the
// latch; the AC level in every byte, turned over at each marker (high in the first frame),
// or for line y of frame f (y / N + f) mod 2 (the byte after a latch carries the new level).
inline Bytes expectedWiredStream(const PanelWiring& panel,
                                 const std::function<bool(int x, int y)>& lit, int frames) {
    Bytes stream;
    auto bit = [](int n) { return static_cast<std::uint8_t>(1 << n); };
    std::uint8_t ac = 0;
    for (int f = 0; f < frames; ++f) {
        if (panel.ac >= 0) {
            ac = (f + (panel.acEveryLines == 0)) % 2 != 0 ? bit(panel.ac) : 0;
        }
        stream.insert(stream.end(),
                      {static_cast<std::uint8_t>(bit(panel.marker) | bit(panel.latch) | ac),
                       static_cast<std::uint8_t>(bit(panel.marker) | ac)});
        for (int y = 0; y < panel.lines; ++y) {
            for (int x = 0; x < panel.width; x += 4) {
                std::uint8_t data = ac;
                for (int k = 0; k < 4; ++k) {
                    data |= lit(x + k, y) != panel.invert ? bit(panel.data[k]) : 0;
                }
                stream.insert(stream.end(),
                              {static_cast<std::uint8_t>(data | bit(panel.clock)), data});
            }
            stream.push_back(bit(panel.latch) | ac);
            if (panel.ac >= 0 && panel.acEveryLines > 0 && (y + 1) % panel.acEveryLines == 0) {
                ac ^= bit(panel.ac);
            }
        }
    }
    return stream;
}

// DotwallLpt's port bytes of `frames` frames: frame marker with latch (48), frame marker (32),
// then per line each nibble with the shift clock (64) and again without it, and the latch (16).
inline Bytes expectedPortStream(const Bytes& frame, int frames) {
    return expectedWiredStream({640, 241, {3, 2, 1, 0}, 6, 4, 5}, litIn(frame), frames);
}

}  // namespace dotwall::testing
