#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace dotwall {

// How many frames of a GIF end inside its bytes: a frame whose data the file cuts short is
// handed out by Qt's reader as if whole (the rows it lacks filled in), so the frames from the
// first cut one on must be refused here. nullopt when the bytes are not a GIF.
std::optional<int> wholeGifFrames(std::span<const std::uint8_t> gif);

}  // namespace dotwall
