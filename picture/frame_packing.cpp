#include "picture/frame_packing.h"

#include <QGuiApplication>

#include "frames/dual_scan_frame.h"
#include "frames/single_scan_frame.h"
#include "picture/area_image.h"
#include "picture/qt_colour.h"

namespace dotwall {

FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture) {
    const ColourValue background =
        resolveColour(dual_scan::kPictureBackground, QGuiApplication::palette());
    return dual_scan::pack(
        areaShowing(dual_scan::kPictureAreaSize, background, blackAndWhitePicture));
}

FrameBuffer packLptFrame(const QImage& picture) {
    return single_scan::pack(
               areaShowing(single_scan::kPictureAreaSize, single_scan::kPictureBackground, picture))
        .frame;
}

}  // namespace dotwall
