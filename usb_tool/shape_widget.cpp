#include "usb_tool/shape_widget.h"

#include <QPainter>

#include "picture/qt_colour.h"

namespace dotwall::usb_tool {

ShapeWidget::ShapeWidget(QWidget* parent) : QWidget(parent) {}

void ShapeWidget::setBackColour(ColourValue colour) {
    backColour_ = colour;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(),
                     QColor::fromRgb(qRgbFromColour(resolveColour(backColour_, palette()))));
}

}  // namespace dotwall::usb_tool
