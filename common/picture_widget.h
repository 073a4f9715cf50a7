#pragma once

#include <QWidget>

#include "picture_area.h"
#include "picture_surface.h"

namespace dotwall {

// The picture control of both programs. It draws its picture 1:1 from its top-left corner,
// paints its background colour where the picture does not reach, and answers the point
// query from the picture it shows (see PictureSurface for the coordinate rule). The
// background may be a system colour reference; it is resolved through the widget's palette
// and follows palette changes.
class PictureWidget final : public QWidget, public PictureArea {
    Q_OBJECT

  public:
    PictureWidget(AreaSize size, ColourValue background, QWidget* parent = nullptr);

    ColourValue pointColour(float x, float y) const override { return surface_.pointColour(x, y); }
    float areaWidth() const override { return surface_.areaWidth(); }
    float areaHeight() const override { return surface_.areaHeight(); }
    void setPicture(const QImage& picture) override;
    void redraw() override { repaint(); }

    const PictureSurface& surface() const { return surface_; }

  signals:
    // The mouse moved over the control (or is dragged beyond it with a button held);
    // coordinates in the control's unit.
    void mouseMovedTo(float x, float y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    ColourValue backgroundReference_;
    PictureSurface surface_;
};

}  // namespace dotwall
