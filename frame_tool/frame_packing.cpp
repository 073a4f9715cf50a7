#include "frame_packing.h"

#include <QGuiApplication>
#include <string>

#include "busy_lamp.h"
#include "dual_scan_packer.h"
#include "lpt_picture_area.h"
#include "picture_surface.h"
#include "qt_colour.h"
#include "single_scan_packer.h"
#include "text_box.h"
#include "usb_picture_area.h"

namespace dotwall::frame_tool {

namespace {

// No window, so no lamp to light.
class NoLamp final : public usb_tool::BusyLamp {
  public:
    void setLampColour(ColourValue) override {}
    void repaintWindowNow() override {}
};

// The dump of the conversion goes nowhere: there is no Text1 to show it.
class NoTextBox final : public TextBox {
  public:
    std::string text() const override { return {}; }
    void setText(const std::string&) override {}
};

}  // namespace

FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture) {
    const PictureSurface area(
        usb_tool::kUsbPictureArea,
        resolveColour(usb_tool::kUsbPictureBackground, QGuiApplication::palette()),
        blackAndWhitePicture);
    FrameBuffer frame;
    NoLamp lamp;
    usb_tool::convertDualScan(area, lamp, frame);
    return frame;
}

FrameBuffer packLptFrame(const QImage& picture) {
    const PictureSurface area(port_tool::kLptPictureArea, port_tool::kLptPictureBackground,
                              picture);
    FrameBuffer frame;
    NoTextBox text1;
    port_tool::convertSingleScan(area, text1, frame);
    return frame;
}

}  // namespace dotwall::frame_tool
