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

// A panel's picture, lit pixels white and dark ones black, each a scale x scale square; a
// panel of more grey levels as an 8-bit grey picture, its levels from black to white.
QImage panelImage(const PanelPicture& panel, int scale = 1);

}  // namespace dotwall
