#pragma once

#include <QImage>

#include "frames/colour_value.h"
#include "frames/panel_picture.h"
#include "frames/picture_area.h"

namespace dotwall {

// What a picture area shows when it holds `picture` 1:1 from its top-left corner on
// `background` (a plain colour; resolve system colour references first): one image pixel
// per pixel of the area. Transparent parts show the background; a larger picture is cut.
QImage composeArea(AreaSize size, ColourValue background, const QImage& picture);

// The point query's view of a composed area.
PictureArea areaOf(AreaSize size, const QImage& shown);

// Both in one step, to pack a picture without a window.
PictureArea areaShowing(AreaSize size, ColourValue background, const QImage& picture);

// What composeArea shows, read a row at a time for the packer. A picture of 32-bit colour, of
// 8-bit grey, or black and white on an opaque palette (all a stream or a dither gives) is read
// where it is; any other is composed first.
class PictureOnArea final : public AreaRows {
  public:
    PictureOnArea(AreaSize size, ColourValue background, const QImage& picture);

    AreaSize size() const override { return size_; }
    void readRow(std::size_t row, std::span<ColourValue> colours) const override;

  private:
    AreaSize size_;
    ColourValue background_;
    QImage picture_;  // readable where it is
};

// Whether the picture is read where it is: it shows its own colours on any background.
bool readsDirectly(const QImage& picture);

// A panel's picture, lit pixels white and dark ones black, each a scale x scale square; a
// panel of more grey levels as an 8-bit grey picture, its levels from black to white.
QImage panelImage(const PanelPicture& panel, int scale = 1);

}  // namespace dotwall
