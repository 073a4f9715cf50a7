#include "common/picture_surface.h"

#include <cmath>
#include <stdexcept>

namespace dotwall {

std::size_t AreaSize::pixelsFor(float units) const {
    return static_cast<std::size_t>(
        std::ceil(static_cast<double>(units) / static_cast<double>(unit)));
}

PictureSurface::PictureSurface(AreaSize size, std::vector<ColourValue> shown)
    : size_(size),
      unitsPerPixel_(static_cast<double>(size.unit)),
      pixelWidth_(size.pixelWidth()),
      shown_(std::move(shown)) {
    if (shown_.size() != pixelWidth_ * size.pixelHeight()) {
        throw std::invalid_argument("a picture surface needs one colour per pixel of its area");
    }
}

}  // namespace dotwall
