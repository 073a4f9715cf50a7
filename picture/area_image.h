#pragma once

#include <QImage>

#include "common/colour_value.h"
#include "common/panel_picture.h"
#include "common/picture_surface.h"

namespace dotwall {

// What a picture area shows when it holds `picture` 1:1 from its top-left corner on
// `background` (a plain colour; resolve system colour references first): one image pixel
// per pixel of the area. Transparent parts show the background; a larger picture is cut.
QImage composeArea(AreaSize size, ColourValue background, const QImage& picture);

// The point query's view of a composed area.
PictureSurface surfaceOf(AreaSize size, const QImage& shown);

// Both in one step, to pack a picture without a window.
PictureSurface surfaceShowing(AreaSize size, ColourValue background, const QImage& picture);

// A panel's picture, lit pixels white and dark ones black, each a scale x scale square.
QImage panelImage(const PanelPicture& panel, int scale = 1);

}  // namespace dotwall
