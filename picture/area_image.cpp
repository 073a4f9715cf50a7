#include "picture/area_image.h"

#include <QPainter>

#include "picture/qt_colour.h"

namespace dotwall {

QImage composeArea(AreaSize size, ColourValue background, const QImage& picture) {
    QImage shown(static_cast<int>(size.pixelWidth()), static_cast<int>(size.pixelHeight()),
                 QImage::Format_RGB32);
    shown.fill(QColor::fromRgb(qRgbFromColour(background)));
    if (!picture.isNull()) {
        QPainter painter(&shown);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, picture);
    }
    return shown;
}

PictureArea areaOf(AreaSize size, const QImage& shown) {
    std::vector<ColourValue> colours;
    colours.reserve(size.pixelWidth() * size.pixelHeight());
    for (int row = 0; row < shown.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(row));
        for (int column = 0; column < shown.width(); ++column) {
            colours.push_back(colourFromQRgb(line[column]));
        }
    }
    return PictureArea(size, std::move(colours));
}

PictureArea areaShowing(AreaSize size, ColourValue background, const QImage& picture) {
    return areaOf(size, composeArea(size, background, picture));
}

namespace {

// Each level's grey, black to white in even steps: the brightness the eye sees of a pixel lit
// in that share of the frames.
QImage greyImage(const PanelPicture& panel) {
    QImage image(panel.width(), panel.height(), QImage::Format_Grayscale8);
    const int steps = panel.levels() - 1;
    for (int y = 0; y < panel.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < panel.width(); ++x) {
            line[x] = static_cast<uchar>((255 * panel.level(x, y) + steps / 2) / steps);
        }
    }
    return image;
}

QImage blackAndWhiteImage(const PanelPicture& panel) {
    QImage image(panel.width(), panel.height(), QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    // Bits set in the lines themselves, the leftmost pixel in a byte's top bit: a viewer draws
    // every frame of a stream, and setPixel checks the format and bounds at each pixel.
    for (int y = 0; y < panel.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < panel.width(); ++x) {
            line[x / 8] |= panel.lit(x, y) ? 0x80 >> (x % 8) : 0;
        }
    }
    return image;
}

}  // namespace

QImage panelImage(const PanelPicture& panel, int scale) {
    const QImage image = panel.levels() > 2 ? greyImage(panel) : blackAndWhiteImage(panel);
    return scale == 1 ? image
                      : image.scaled(image.width() * scale, image.height() * scale,
                                     Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace dotwall
