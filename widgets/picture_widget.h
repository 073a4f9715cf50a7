#pragma once

#include <QImage>
#include <QWidget>

#include "common/picture_area.h"
#include "common/picture_surface.h"

namespace dotwall {

// The picture control of both programs. It draws its picture 1:1 from its top-left corner,
// paints its background colour where the picture does not reach, and answers the point
// query from what it shows (see PictureSurface for the coordinate rule). The background
// may be a system colour reference; it is resolved through the widget's palette and
// follows palette changes.
class PictureWidget final : public QWidget, public PictureArea {
    Q_OBJECT

  public:
    PictureWidget(AreaSize size, ColourValue background, QWidget* parent = nullptr);

    ColourValue pointColour(float x, float y) const override { return surface_.pointColour(x, y); }
    float areaWidth() const override { return surface_.areaWidth(); }
    float areaHeight() const override { return surface_.areaHeight(); }

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
    PictureSurface surface_;
};

}  // namespace dotwall
