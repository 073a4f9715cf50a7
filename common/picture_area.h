#pragma once

#include "colour_value.h"

class QImage;

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

    // Shows a new picture, drawn 1:1 from the control's top-left corner.
    virtual void setPicture(const QImage& picture) = 0;
    // Redraws the control at once.
    virtual void redraw() = 0;
};

}  // namespace dotwall
