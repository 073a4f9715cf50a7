#pragma once

#include "common/colour_value.h"

namespace dotwall {

// The picture control as the packers and the mouse probes see it. Coordinates are in the
// control's own unit (the pixel or the twip, set per program), counted from its top-left.
class PictureArea {
  public:
    virtual ~PictureArea() = default;

    // Colour value of the point (x, y); kOutsideArea (-1) when the point is not inside the
    // control.
    virtual ColourValue pointColour(float x, float y) const = 0;
    virtual float areaWidth() const = 0;
    virtual float areaHeight() const = 0;
};

}  // namespace dotwall
