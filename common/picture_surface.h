#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "colour_value.h"
#include "picture_area.h"

namespace dotwall {

// The unit a picture area measures in: the pixel, or the twip (15 to a pixel at 96 dpi).
enum class AreaUnit { Pixel = 1, Twip = 15 };

struct AreaSize {
    float width;   // in units
    float height;  // in units
    AreaUnit unit;
};

// What a picture area shows, held as one colour value per screen pixel: the picture drawn
// 1:1 from the top-left corner over the background colour. It answers the point query
// without any window, so the programs' windows and the command-line tool pack alike.
//
// Mapping a point to a pixel, one fixed rule: (x, y) lies inside when 0 <= x < width and
// 0 <= y < height (a NaN lies outside); its pixel is (floor(x / u), floor(y / u)), where u
// is 1 for pixels and 15 for twips and the division is done in double precision.
class PictureSurface final : public PictureArea {
  public:
    // background must be a plain colour (resolve system colour references first). Giving
    // the picture here composes the area once instead of twice.
    PictureSurface(AreaSize size, ColourValue background, const QImage& picture = QImage());

    ColourValue pointColour(float x, float y) const override {
        if (!(x >= 0.0f && x < width_ && y >= 0.0f && y < height_)) {
            return kOutsideArea;
        }
        const auto column = pixelOf(x);
        const auto row = pixelOf(y);
        return colours_[row * pixelWidth_ + column];
    }
    float areaWidth() const override { return width_; }
    float areaHeight() const override { return height_; }
    void setPicture(const QImage& picture) override;
    void redraw() override {}

    void setBackground(ColourValue background);
    ColourValue background() const { return background_; }
    AreaUnit unit() const { return unit_; }

    // The area as it is shown, one pixel per screen pixel.
    const QImage& shownImage() const { return shown_; }

  private:
    void compose();

    std::size_t pixelOf(float coordinate) const {
        // Whole pixels need no division; the common case when packing a DotwallUsb frame.
        // Converting through a signed integer is one instruction; the coordinate is known to
        // be inside the area, so neither it nor the pixel is negative.
        const auto pixel =
            unit_ == AreaUnit::Pixel
                ? static_cast<std::int64_t>(coordinate)
                : static_cast<std::int64_t>(static_cast<double>(coordinate) / unitsPerPixel_);
        return static_cast<std::size_t>(pixel);
    }

    float width_;
    float height_;
    AreaUnit unit_;
    double unitsPerPixel_;
    std::size_t pixelWidth_;
    std::size_t pixelHeight_;
    ColourValue background_;
    QImage picture_;
    QImage shown_;
    std::vector<ColourValue> colours_;
};

}  // namespace dotwall
