#pragma once

#include <cstdint>
#include <vector>

namespace dotwall::picture_stream {

// A picture as the panel's packing takes it: one level a pixel, 0 black to 255 white, row by
// row from the top-left.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels;

    bool operator==(const GreyPicture&) const = default;
};

}  // namespace dotwall::picture_stream
