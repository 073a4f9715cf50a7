#include "frames/frame_cycle.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

namespace {

constexpr int kPatternSide = 16;

// The 16 x 16 ordered pattern's index of (x, y), 0 to 255: the bits of x xor y and of y
// interleaved, lowest first, into the index's bits from the top down.
constexpr int patternIndex(int x, int y) {
    int index = 0;
    for (int bit = 0; bit < 4; ++bit) {
        index |= (((x ^ y) >> bit) & 1) << (2 * (3 - bit) + 1);
        index |= ((y >> bit) & 1) << (2 * (3 - bit));
    }
    return index;
}

// For each level and phase, the frames of the cycle in which such a pixel is lit, frame f
// in bit 4 f: four pixels of a group shifted by 3, 2, 1 and 0 and added give, in bits 4 f to
// 4 f + 3, the group's nibble in frame f. 15 frames fit a 64-bit word.
using LitFrames = std::array<std::array<std::uint64_t, PanelFrame::kMostGreyLevels - 1>,
                             PanelFrame::kMostGreyLevels>;

LitFrames litFrames(int cycleFrames) {
    LitFrames lit{};
    for (int level = 0; level <= cycleFrames; ++level) {
        for (int phase = 0; phase < cycleFrames; ++phase) {
            for (int f = 0; f < cycleFrames; ++f) {
                const bool on = (f - phase + cycleFrames) % cycleFrames < level;
                lit[level][phase] |= std::uint64_t{on} << (4 * f);
            }
        }
    }
    return lit;
}

[[noreturn]] void throwNoLevel(std::size_t index, std::uint8_t value, int levels) {
    throw RuntimeError(ErrorKind::Overflow, "The frame byte " + std::to_string(index) + " holds " +
                                                std::to_string(value) +
                                                ", which is no grey level of the panel (0 to " +
                                                std::to_string(levels - 1) + ").");
}

}  // namespace

FrameCycle FrameCycle::of(const PanelFrame& frame) {
    FrameCycle cycle{frame.size, frame.greyLevels, {}};
    cycle.bytes.resize(cycle.frameBytes() * static_cast<std::size_t>(cycle.frames()));
    cycle.show(frame);
    return cycle;
}

void FrameCycle::show(const PanelFrame& frame) {
    if (greyLevels == 2) {
        std::copy(frame.bytes.begin(), frame.bytes.end(), bytes.begin());
        return;
    }
    const int cycleFrames = frames();
    const LitFrames lit = litFrames(cycleFrames);
    const std::size_t frameSize = frameBytes();
    const int groups = size.width / 4;
    const std::uint8_t* level = frame.bytes.data();
    for (int y = 0; y < size.lines; ++y) {
        std::array<int, kPatternSide> phase{};
        for (int x = 0; x < kPatternSide; ++x) {
            phase[x] = patternIndex(x, y % kPatternSide) * cycleFrames / 256;
        }
        if (*std::max_element(level, level + size.width) >= greyLevels) [[unlikely]] {
            const std::uint8_t* high = std::find_if(
                level, level + size.width, [this](std::uint8_t l) { return l >= greyLevels; });
            throwNoLevel(static_cast<std::size_t>(high - frame.bytes.data()), *high, greyLevels);
        }
        std::uint8_t* out = bytes.data() + static_cast<std::size_t>(y) * groups;
        for (int group = 0; group < groups; ++group, level += 4, ++out) {
            const int x = (4 * group) % kPatternSide;
            const std::uint64_t nibbles =
                lit[level[0]][phase[x]] << 3 | lit[level[1]][phase[x + 1]] << 2 |
                lit[level[2]][phase[x + 2]] << 1 | lit[level[3]][phase[x + 3]];
            for (int f = 0; f < cycleFrames; ++f) {
                out[static_cast<std::size_t>(f) * frameSize] =
                    static_cast<std::uint8_t>((nibbles >> (4 * f)) & 0xF);
            }
        }
    }
}

}  // namespace dotwall
