#pragma once

#include <cstdint>
#include <vector>

#include "picture_stream/pnm_header.h"

namespace dotwall::picture_stream {

// Reads the raster that follows `header` and turns it into levels 0 (black) to 255 (white):
// a sample scaled from 0..maxval, rounded; a bit 1 black; RGB by its luma. The levels' memory
// is taken as the raster comes, so a forged header costs nothing before its bytes do. A cut
// raster, a value over maxval or no value where one should be raises InvalidPicture.
std::vector<std::uint8_t> readPnmRaster(const PicturePlace& place, const PnmHeader& header);

}  // namespace dotwall::picture_stream
