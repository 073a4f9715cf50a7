#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/colour_value.h"
#include "common/picture_area.h"

namespace dotwall {

// The unit a picture area measures in: the pixel, or the twip (15 to a pixel at 96 dpi).
enum class AreaUnit { Pixel = 1, Twip = 15 };

struct AreaSize {
    float width;   // in units
    float height;  // in units
    AreaUnit unit;

    // The screen pixels the area covers; a partly covered last pixel counts.
    std::size_t pixelWidth() const { return pixelsFor(width); }
    std::size_t pixelHeight() const { return pixelsFor(height); }

  private:
    std::size_t pixelsFor(float units) const;
};

// What a picture area shows, one colour value per screen pixel, answering the point query
// without any window, so that the programs' windows and the command-line tool pack alike.
//
// Mapping a point to a pixel, one fixed rule: (x, y) lies inside when 0 <= x < width and
// 0 <= y < height (a NaN lies outside); its pixel is (floor(x / u), floor(y / u)), where u
// is 1 for pixels and 15 for twips and the division is done in double precision.
class PictureSurface final : public PictureArea {
  public:
    // `shown` holds size.pixelWidth() x size.pixelHeight() colours, row by row.
    PictureSurface(AreaSize size, std::vector<ColourValue> shown);

    ColourValue pointColour(float x, float y) const override {
        if (!(x >= 0.0f && x < size_.width && y >= 0.0f && y < size_.height)) {
            return kOutsideArea;
        }
        return shown_[pixelOf(y) * pixelWidth_ + pixelOf(x)];
    }
    float areaWidth() const override { return size_.width; }
    float areaHeight() const override { return size_.height; }

  private:
    std::size_t pixelOf(float coordinate) const {
        // Whole pixels need no division, the common case when packing a DotwallUsb frame.
        // The coordinate is inside the area, so neither it nor its pixel is negative, and
        // converting through a signed integer is one instruction.
        const auto pixel =
            size_.unit == AreaUnit::Pixel
                ? static_cast<std::int64_t>(coordinate)
                : static_cast<std::int64_t>(static_cast<double>(coordinate) / unitsPerPixel_);
        return static_cast<std::size_t>(pixel);
    }

    AreaSize size_;
    double unitsPerPixel_;
    std::size_t pixelWidth_;
    std::vector<ColourValue> shown_;
};

}  // namespace dotwall
