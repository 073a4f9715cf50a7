#include "picture_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "qt_colour.h"

namespace dotwall {

PictureWidget::PictureWidget(AreaSize size, ColourValue background, QWidget* parent)
    : QWidget(parent),
      backgroundReference_(background),
      surface_(size, resolveColour(background, palette())) {
    const double unitsPerPixel = static_cast<double>(size.unit);
    setFixedSize(static_cast<int>(std::lround(size.width / unitsPerPixel)),
                 static_cast<int>(std::lround(size.height / unitsPerPixel)));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::setPicture(const QImage& picture) {
    surface_.setPicture(picture);
    update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.shownImage(), event->rect());
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    const double unitsPerPixel = static_cast<double>(surface_.unit());
    const QPointF position = event->position();
    emit mouseMovedTo(static_cast<float>(position.x() * unitsPerPixel),
                      static_cast<float>(position.y() * unitsPerPixel));
}

void PictureWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        surface_.setBackground(resolveColour(backgroundReference_, palette()));
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace dotwall
