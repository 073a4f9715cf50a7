#pragma once

#include <QImage>
#include <QWidget>

#include "frames/picture_area.h"

namespace dotwall {

// The picture control of both programs. It draws its picture 1:1 from its top-left corner,
// paints its background colour where the picture does not reach, and hands out what it
// shows as a PictureArea for the packers and the mouse probe. The background may be a
// system colour reference; it is resolved through the widget's palette and follows palette
// changes.
class PictureWidget final : public QWidget {
    Q_OBJECT

  public:
    PictureWidget(AreaSize size, ColourValue background, QWidget* parent = nullptr);

    // What the control shows now, pixel by pixel.
    const PictureArea& area() const { return area_; }

    // Shows a new picture; the control is redrawn when the window next paints.
    void setPicture(const QImage& picture);

  signals:
    // The mouse moved over the control (or is dragged beyond it with a button held);
    // coordinates in the control's unit.
    void mouseMovedTo(float x, float y);
    // A file was dropped onto the control (only when it accepts drops).
    void fileDropped(const QString& path);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void compose();

    AreaSize size_;
    ColourValue backgroundReference_;
    QImage picture_;
    QImage shown_;
    PictureArea area_;
};

}  // namespace dotwall
