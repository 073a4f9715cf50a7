#include "picture/area_image.h"

#include <QPainter>
#include <algorithm>
#include <array>

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

namespace {

// The colours of the first colours.size() pixels of a row of a picture that reads directly.
void readPictureRow(const QImage& picture, int row, std::span<ColourValue> colours) {
    const uchar* line = picture.constScanLine(row);
    switch (picture.format()) {
        case QImage::Format_Grayscale8:
            std::ranges::transform(line, line + colours.size(), colours.begin(),
                                   [](uchar grey) { return colourFromRgb(grey, grey, grey); });
            return;
        case QImage::Format_Mono: {
            const std::array<ColourValue, 2> palette{colourFromQRgb(picture.color(0)),
                                                     colourFromQRgb(picture.color(1))};
            for (std::size_t x = 0; x < colours.size(); ++x) {
                colours[x] = palette[(line[x / 8] >> (7 - x % 8)) & 1];
            }
            return;
        }
        default:  // 32-bit colour
            std::ranges::transform(reinterpret_cast<const QRgb*>(line),
                                   reinterpret_cast<const QRgb*>(line) + colours.size(),
                                   colours.begin(), colourFromQRgb);
    }
}

}  // namespace

PictureArea areaOf(AreaSize size, const QImage& shown) {
    const auto width = static_cast<std::size_t>(shown.width());
    std::vector<ColourValue> colours(width * static_cast<std::size_t>(shown.height()));
    for (int row = 0; row < shown.height(); ++row) {
        readPictureRow(shown, row,
                       std::span(colours).subspan(static_cast<std::size_t>(row) * width, width));
    }
    return PictureArea(size, std::move(colours));
}

PictureArea areaShowing(AreaSize size, ColourValue background, const QImage& picture) {
    return areaOf(size, composeArea(size, background, picture));
}

bool readsDirectly(const QImage& picture) {
    switch (picture.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_Grayscale8:
            return true;
        case QImage::Format_Mono:
            return picture.colorCount() == 2 && qAlpha(picture.color(0)) == 255 &&
                   qAlpha(picture.color(1)) == 255;
        default:
            return false;
    }
}

PictureOnArea::PictureOnArea(AreaSize size, ColourValue background, const QImage& picture)
    : size_(size),
      background_(background),
      picture_(readsDirectly(picture) ? picture : composeArea(size, background, picture)) {}

void PictureOnArea::readRow(std::size_t row, std::span<ColourValue> colours) const {
    std::size_t inPicture = 0;
    if (row < static_cast<std::size_t>(picture_.height())) {
        inPicture = std::min(colours.size(), static_cast<std::size_t>(picture_.width()));
        readPictureRow(picture_, static_cast<int>(row), colours.first(inPicture));
    }
    std::ranges::fill(colours.subspan(inPicture), background_);
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
