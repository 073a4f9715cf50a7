#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "frames/panel_frame.h"

namespace dotwall {

// How a picture becomes the panel's pixels: one for one, or, for DotwallLpt's own panel as
// its window packs it, sampled on a grid scaled to its picture area of 9650 x 3660 twips,
// with a test mark (see single_scan_frame.h).
enum class PictureSampling { PixelForPixel, ScaledGridWithTestMark };

// A single-scan panel with a 4-bit bus, as its profile describes it: its size, the port bits
// its signals are wired to, its AC line, and the pace of its lines. A frame is, with each
// signal on its profile's bit: frame marker with line latch, frame marker, then for each line
// each group of four pixels with the shift clock high and again with it low, then the line
// latch. The packed frame is the panel's lines, width / 4 bytes each, a group of four pixels
// in the low nibble with the leftmost in bit 3 and a lit pixel 1; with more than two grey
// levels a byte a pixel holding its level, which the stream shows by frame-rate control
// (see frame_cycle.h).
struct PanelProfile {
    static constexpr int kMostPixels = 4096;
    static constexpr int kMostLines = 4096;
    // Each line at least 1 µs, about what one port write takes.
    static constexpr double kMostLinesPerSecond = 1'000'000;

    std::string name;
    int width = 0;  // pixels per line, a multiple of 4
    int lines = 0;  // lines per frame
    // The port bits of the four pixels of a group, leftmost first.
    std::array<int, 4> data{};
    int shiftClock = 0;
    int lineLatch = 0;
    int frameMarker = 0;
    // The AC line's bit, turned over at each frame marker, or after every acEveryLines line
    // latches counted from the frame's start with each frame starting at the level opposite
    // to the previous frame's start; its level is held in every byte written.
    std::optional<int> ac;
    int acEveryLines = 0;  // 0: at each frame marker
    bool invert = false;   // a lit pixel is 0 on the data lines
    // 2: black and white; up to PanelFrame::kMostGreyLevels, shown as greys over a cycle of
    // greyLevels - 1 frames.
    int greyLevels = 2;
    // 0: lines as fast as the port takes them; else every line gets 1 / (rate x lines), read
    // from 1 up to kMostLinesPerSecond / lines.
    double framesPerSecond = 0;
    // Set by the built-in profile only; a profile file takes a picture's pixels one for one.
    PictureSampling sampling = PictureSampling::PixelForPixel;
    // The file the profile was read from; empty for a built-in.
    std::filesystem::path file;

    PanelSize size() const { return {width, lines}; }
    // The frames on the wire, of one bit a pixel whatever the grey levels.
    int bytesPerLine() const { return static_cast<int>(PanelFrame::bytesPerLine(size(), 2)); }
    long writesPerFrame() const { return 2 + static_cast<long>(lines) * (2 * bytesPerLine() + 1); }
    // The packed frame, of the profile's grey levels.
    std::size_t frameBytes() const { return PanelFrame::bytesFor(size(), greyLevels); }
    // The wire frames that show a packed frame once.
    int framesPerCycle() const { return greyLevels - 1; }
    // The nanoseconds each line takes at the set rate, 1000 to 1e9 for a rate read; 0 without.
    long linePeriodNs() const;
};

// The built-in profile of the panel DotwallLpt drives: 640 pixels, 241 lines (the 241st on
// the lower edge of its picture area), data on D3 to D0, latch D4, marker D5, clock D6, no
// AC line, lines as fast as the port goes.
inline constexpr std::string_view kDotwallLptProfile = "dotwall-lpt";
PanelProfile dotwallLptProfile();

// The profile a name gives: a built-in's name, or a profile file (JSON, by the bytes of its
// name). Every key is required but "ac", "ac_toggle", "invert", "grey_levels" and
// "frames_per_second";
// unknown keys are refused by name. Raises RuntimeError InvalidProfile naming the file, the
// key and what is wrong, or FileAccess when the file cannot be read.
PanelProfile loadPanelProfile(const std::string& nameOrFile);

// The profile read from JSON text; `source` names it in messages.
PanelProfile parsePanelProfile(std::string_view json, const std::string& source);

// The profile as a JSON file holds it, a starting point for one's own.
std::string profileJson(const PanelProfile& profile);

}  // namespace dotwall
