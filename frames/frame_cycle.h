#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "frames/panel_frame.h"

namespace dotwall {

// Greys on a panel that shows each pixel lit or dark, by frame-rate control: the liquid
// crystal answers slowly, so a pixel lit in k of every L - 1 frames looks k / (L - 1) as bright.
// A frame of L grey levels is shown as a cycle of L - 1 one-bit frames, sent over and over, in
// which a pixel of level k is lit in exactly k; a black-and-white frame is a cycle of one.
//
// Pixel (x, y) of level k is lit in frame f of the cycle when (f - phase(x, y)) mod (L - 1) < k:
// its k lit frames follow each other from its phase on. Were every pixel's phase the same, a
// grey area would be lit in some frames and dark in the others, all of it at once, and blink
// as a whole: the flicker such panels are known for. The phase is therefore taken from a
// 16 x 16 ordered (Bayer) pattern, its index 0 to 255 scaled to 0 to L - 2. The pattern repeats
// every 16 pixels across and down, so every 16 x 16 block of the panel, wherever it starts,
// holds each index once and each phase about 256 / (L - 1) times: in every frame a uniform
// area of level k has k / (L - 1) of its pixels lit in each such block, within a pixel per
// phase. And since the ordered pattern puts neighbouring indices far apart, the pixels lit
// together in a frame are spread evenly through the block, not in clumps or stripes.
struct FrameCycle {
    PanelSize size;
    int greyLevels = 2;
    // The cycle's one-bit frames one after another, each a packed frame of two grey levels.
    std::vector<std::uint8_t> bytes;

    int frames() const { return greyLevels - 1; }
    std::size_t frameBytes() const { return PanelFrame::bytesFor(size, 2); }
    std::span<const std::uint8_t> frame(int f) const {
        return std::span(bytes).subspan(static_cast<std::size_t>(f) * frameBytes(), frameBytes());
    }

    // The cycle that shows `frame`. A level of L or above raises RuntimeError Overflow naming
    // its byte.
    static FrameCycle of(const PanelFrame& frame);
    // Makes the cycle of `frame`, of this cycle's size and grey levels, in place: it allocates
    // nothing.
    void show(const PanelFrame& frame);
};

}  // namespace dotwall
