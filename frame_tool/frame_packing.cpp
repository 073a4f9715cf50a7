#include "frame_tool/frame_packing.h"

#include <QGuiApplication>

#include "common/dual_scan_frame.h"
#include "common/single_scan_frame.h"
#include "picture/area_image.h"
#include "picture/qt_colour.h"

namespace dotwall::frame_tool {

FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture) {
    const ColourValue background =
        resolveColour(dual_scan::kPictureBackground, QGuiApplication::palette());
    return dual_scan::pack(
        surfaceShowing(dual_scan::kPictureArea, background, blackAndWhitePicture));
}

FrameBuffer packLptFrame(const QImage& picture) {
    return single_scan::pack(
               surfaceShowing(single_scan::kPictureArea, single_scan::kPictureBackground, picture))
        .frame;
}

}  // namespace dotwall::frame_tool
