#include "picture_surface.h"

#include <QPainter>
#include <cmath>

#include "qt_colour.h"

namespace dotwall {

namespace {

std::size_t pixelsFor(float units, double unitsPerPixel) {
    return static_cast<std::size_t>(std::ceil(static_cast<double>(units) / unitsPerPixel));
}

}  // namespace

PictureSurface::PictureSurface(AreaSize size, ColourValue background, const QImage& picture)
    : width_(size.width),
      height_(size.height),
      unit_(size.unit),
      unitsPerPixel_(static_cast<double>(size.unit)),
      pixelWidth_(pixelsFor(size.width, unitsPerPixel_)),
      pixelHeight_(pixelsFor(size.height, unitsPerPixel_)),
      background_(background),
      picture_(picture) {
    compose();
}

void PictureSurface::setPicture(const QImage& picture) {
    picture_ = picture;
    compose();
}

void PictureSurface::setBackground(ColourValue background) {
    background_ = background;
    compose();
}

void PictureSurface::compose() {
    shown_ =
        QImage(static_cast<int>(pixelWidth_), static_cast<int>(pixelHeight_), QImage::Format_RGB32);
    shown_.fill(QColor::fromRgb(qRgbFromColour(background_)));
    if (!picture_.isNull()) {
        QPainter painter(&shown_);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, picture_);
    }
    colours_.resize(pixelWidth_ * pixelHeight_);
    for (std::size_t row = 0; row < pixelHeight_; ++row) {
        const auto* line =
            reinterpret_cast<const QRgb*>(shown_.constScanLine(static_cast<int>(row)));
        for (std::size_t column = 0; column < pixelWidth_; ++column) {
            colours_[row * pixelWidth_ + column] = colourFromQRgb(line[column]);
        }
    }
}

}  // namespace dotwall
