#pragma once

#include <QWidget>

namespace dotwall {

// Control positions are stored in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

// Places a control at a position and size given in twips, in its parent's coordinates.
inline void placeInTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

}  // namespace dotwall
