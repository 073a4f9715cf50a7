#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frames/colour_value.h"

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

// The picture control as the packers and the mouse probes see it: what it shows, one colour
// value per screen pixel, answering the point query in the control's own unit (the pixel or
// the twip) from its top-left. The windows hand their packers the area their control shows,
// and the command line composes the same area without a window, so both pack alike.
//
// Mapping a point to a pixel, one fixed rule: (x, y) lies inside when 0 <= x < width and
// 0 <= y < height (a NaN lies outside); its pixel is (floor(x / u), floor(y / u)), where u
// is 1 for pixels and 15 for twips and the division is done in double precision.
class PictureArea {
  public:
    // `shown` holds size.pixelWidth() x size.pixelHeight() colours, row by row; any other
    // count is an InvalidPicture error.
    PictureArea(AreaSize size, std::vector<ColourValue> shown);

    // The colour value of the point (x, y); kOutsideArea (-1) when it lies outside.
    ColourValue pointColour(float x, float y) const {
        if (!(x >= 0.0f && x < size_.width && y >= 0.0f && y < size_.height)) {
            return kOutsideArea;
        }
        return shown_[pixelOf(y) * pixelWidth_ + pixelOf(x)];
    }
    float areaWidth() const { return size_.width; }
    float areaHeight() const { return size_.height; }

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
