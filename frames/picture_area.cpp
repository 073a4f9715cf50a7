#include "frames/picture_area.h"

#include <cmath>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

std::size_t AreaSize::pixelsFor(float units) const {
    return static_cast<std::size_t>(
        std::ceil(static_cast<double>(units) / static_cast<double>(unit)));
}

PictureArea::PictureArea(AreaSize size, std::vector<ColourValue> shown)
    : size_(size),
      unitsPerPixel_(static_cast<double>(size.unit)),
      pixelWidth_(size.pixelWidth()),
      shown_(std::move(shown)) {
    if (shown_.size() != pixelWidth_ * size.pixelHeight()) {
        throw RuntimeError(ErrorKind::InvalidPicture,
                           "A picture area of " + std::to_string(pixelWidth_) + " x " +
                               std::to_string(size.pixelHeight()) + " pixels cannot show " +
                               std::to_string(shown_.size()) + " colours.");
    }
}

}  // namespace dotwall
