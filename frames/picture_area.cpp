#include "frames/picture_area.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

std::size_t AreaSize::pixelsFor(float units) const {
    return static_cast<std::size_t>(
        std::ceil(static_cast<double>(units) / static_cast<double>(unit)));
}

PictureArea::PictureArea(AreaSize size, std::vector<ColourValue> shown)
    : size_(size), pixelWidth_(size.pixelWidth()), shown_(std::move(shown)) {
    if (shown_.size() != pixelWidth_ * size.pixelHeight()) {
        throw RuntimeError(ErrorKind::InvalidPicture,
                           "A picture area of " + std::to_string(pixelWidth_) + " x " +
                               std::to_string(size.pixelHeight()) + " pixels cannot show " +
                               std::to_string(shown_.size()) + " colours.");
    }
}

void PictureArea::readRow(std::size_t row, std::span<ColourValue> colours) const {
    const auto first = shown_.begin() + static_cast<std::ptrdiff_t>(row * pixelWidth_);
    std::copy(first, first + static_cast<std::ptrdiff_t>(pixelWidth_), colours.begin());
}

}  // namespace dotwall
