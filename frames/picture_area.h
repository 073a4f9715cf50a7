#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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

    // The pixel column under x and the pixel row under y, as the point query maps them
    // (PictureArea); nullopt outside.
    std::optional<std::size_t> pixelColumnAt(float x) const { return pixelAt(x, width); }
    std::optional<std::size_t> pixelRowAt(float y) const { return pixelAt(y, height); }

  private:
    std::size_t pixelsFor(float units) const;

    std::optional<std::size_t> pixelAt(float coordinate, float extent) const {
        if (!(coordinate >= 0.0f && coordinate < extent)) {
            return std::nullopt;
        }
        // Whole pixels need no division, the common case when packing a DotwallUsb frame.
        // The coordinate is inside the area, so neither it nor its pixel is negative, and
        // converting through a signed integer is one instruction.
        const auto pixel = unit == AreaUnit::Pixel
                               ? static_cast<std::int64_t>(coordinate)
                               : static_cast<std::int64_t>(static_cast<double>(coordinate) /
                                                           static_cast<double>(unit));
        return static_cast<std::size_t>(pixel);
    }
};

// A picture area as the single-scan packer reads it, a row of pixels at a time: held whole
// (PictureArea, what a window shows), or worked out row by row from a picture as it is asked
// for, which spares composing and storing every pixel of the area for each picture of a stream.
class AreaRows {
  public:
    virtual ~AreaRows() = default;

    virtual AreaSize size() const = 0;
    // Writes the colours of pixel row `row` (below size().pixelHeight()) into `colours`, one
    // per pixel column, size().pixelWidth() of them.
    virtual void readRow(std::size_t row, std::span<ColourValue> colours) const = 0;

  protected:
    AreaRows() = default;
    AreaRows(const AreaRows&) = default;
    AreaRows& operator=(const AreaRows&) = default;
};

// The picture control as the packers and the mouse probes see it: what it shows, one colour
// value per screen pixel, answering the point query in the control's own unit (the pixel or
// the twip) from its top-left. The windows hand their packers the area their control shows,
// and the command line composes the same area without a window, so both pack alike.
//
// Mapping a point to a pixel, one fixed rule: (x, y) lies inside when 0 <= x < width and
// 0 <= y < height (a NaN lies outside); its pixel is (floor(x / u), floor(y / u)), where u
// is 1 for pixels and 15 for twips and the division is done in double precision.
class PictureArea final : public AreaRows {
  public:
    // `shown` holds size.pixelWidth() x size.pixelHeight() colours, row by row; any other
    // count is an InvalidPicture error.
    PictureArea(AreaSize size, std::vector<ColourValue> shown);

    // The colour value of the point (x, y); kOutsideArea (-1) when it lies outside.
    ColourValue pointColour(float x, float y) const {
        const std::optional<std::size_t> column = size_.pixelColumnAt(x);
        const std::optional<std::size_t> row = size_.pixelRowAt(y);
        if (!column || !row) {
            return kOutsideArea;
        }
        return shown_[*row * pixelWidth_ + *column];
    }
    float areaWidth() const { return size_.width; }
    float areaHeight() const { return size_.height; }

    AreaSize size() const override { return size_; }
    void readRow(std::size_t row, std::span<ColourValue> colours) const override;

  private:
    AreaSize size_;
    std::size_t pixelWidth_;
    std::vector<ColourValue> shown_;
};

}  // namespace dotwall
