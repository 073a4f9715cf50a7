#pragma once

#include <cstdint>
#include <vector>

#include "picture_stream/pnm_header.h"

namespace dotwall::picture_stream {

// Reads the raster that follows `header` and turns it into levels 0 (black) to 255 (white):
// a sample scaled from 0..maxval, rounded; a bit 1 black; RGB by its luma. The levels' memory
// is reserved at once but written only as the raster comes, so the system gives a forged
// header no more of it than its bytes fill. A cut raster, a value over maxval or no value
// where one should be raises InvalidPicture.
std::vector<std::uint8_t> readPnmRaster(const PicturePlace& place, const PnmHeader& header);

}  // namespace dotwall::picture_stream
