#pragma once

#include <QWidget>

#include "frames/colour_value.h"

namespace dotwall::usb_tool {

// A shape painted solid in its back colour; DotwallUsb's busy lamp. The back colour may be
// a system colour reference, resolved through the palette when painted.
class ShapeWidget final : public QWidget {
    Q_OBJECT

  public:
    explicit ShapeWidget(QWidget* parent = nullptr);

    ColourValue backColour() const { return backColour_; }
    void setBackColour(ColourValue colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ColourValue backColour_ = kWindowBackground;
};

}  // namespace dotwall::usb_tool
