#include "widgets/picture_widget.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "picture/area_image.h"
#include "picture/qt_colour.h"

namespace dotwall {

PictureWidget::PictureWidget(AreaSize size, ColourValue background, QWidget* parent)
    : QWidget(parent),
      size_(size),
      backgroundReference_(background),
      shown_(composeArea(size, resolveColour(background, palette()), QImage())),
      area_(areaOf(size, shown_)) {
    const double unitsPerPixel = static_cast<double>(size.unit);
    setFixedSize(static_cast<int>(std::lround(size.width / unitsPerPixel)),
                 static_cast<int>(std::lround(size.height / unitsPerPixel)));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::setPicture(const QImage& picture) {
    picture_ = picture;
    compose();
}

void PictureWidget::compose() {
    shown_ = composeArea(size_, resolveColour(backgroundReference_, palette()), picture_);
    area_ = areaOf(size_, shown_);
    update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), shown_, event->rect());
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    const double unitsPerPixel = static_cast<double>(size_.unit);
    const QPointF position = event->position();
    emit mouseMovedTo(static_cast<float>(position.x() * unitsPerPixel),
                      static_cast<float>(position.y() * unitsPerPixel));
}

void PictureWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        compose();
    }
    QWidget::changeEvent(event);
}

namespace {

// The one local file a drag carries, or an empty text.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

}  // namespace

void PictureWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void PictureWidget::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        emit fileDropped(path);
    }
}

}  // namespace dotwall
