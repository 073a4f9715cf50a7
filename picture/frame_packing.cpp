#include "picture/frame_packing.h"

#include <QGuiApplication>
#include <QPainter>

#include "frames/dual_scan_frame.h"
#include "frames/single_scan_frame.h"
#include "picture/area_image.h"
#include "picture/picture_loader.h"
#include "picture/qt_colour.h"

namespace dotwall {

namespace {

// The picture scaled to fill width x height, keeping its proportions, centred on white. One
// that fills it already and shows its own colours stays as it is: scaled and painted on white
// it would be the same.
QImage fitted(const QImage& picture, int width, int height) {
    if (picture.size() == QSize(width, height) && readsDirectly(picture)) {
        return picture;
    }
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    if (!picture.isNull()) {
        const QImage scaled =
            picture.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&canvas).drawImage((width - scaled.width()) / 2, (height - scaled.height()) / 2,
                                    scaled);
    }
    return canvas;
}

}  // namespace

FrameBuffer packUsbFrame(const QImage& blackAndWhitePicture) {
    const ColourValue background =
        resolveColour(dual_scan::kPictureBackground, QGuiApplication::palette());
    return dual_scan::pack(
        areaShowing(dual_scan::kPictureAreaSize, background, blackAndWhitePicture));
}

PanelFrame packPanelFrame(const PanelProfile& profile, const QImage& picture,
                          PictureFitting fitting) {
    // DotwallLpt's picture is 640 x 240, its 241st line on the area's lower edge.
    const int pictureLines = profile.sampling == PictureSampling::ScaledGridWithTestMark
                                 ? single_scan::kGridLinePitches
                                 : profile.lines;
    QImage ready = fitting.fit ? fitted(picture, profile.width, pictureLines) : picture;
    const bool greys = profile.greyLevels > 2;
    if (fitting.dither && !greys) {
        ready = blackAndWhite(ready);
    }
    using grey_levels::LevelChoice;
    return single_scan::pack(profile,
                             PictureOnArea(single_scan::pictureAreaSize(profile),
                                           single_scan::kPictureBackground, ready),
                             fitting.dither ? LevelChoice::Diffused : LevelChoice::Nearest);
}

}  // namespace dotwall
