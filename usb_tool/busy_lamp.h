#pragma once

#include "colour_value.h"

namespace dotwall::usb_tool {

// The window as the dual-scan packer sees it: the busy lamp Shape1 and the forced repaint
// that makes a red lamp show while the window thread is busy.
class BusyLamp {
  public:
    virtual ~BusyLamp() = default;

    virtual void setLampColour(ColourValue colour) = 0;
    virtual void repaintWindowNow() = 0;
};

}  // namespace dotwall::usb_tool
