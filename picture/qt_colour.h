#pragma once

#include <QColor>
#include <QPalette>
#include <QRgb>

#include "frames/colour_value.h"

namespace dotwall {

// Qt's QRgb is 0xAARRGGBB; a colour value is 0x00BBGGRR. Alpha is dropped.
constexpr ColourValue colourFromQRgb(QRgb rgb) {
    return colourFromRgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

constexpr QRgb qRgbFromColour(ColourValue value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return qRgb(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                static_cast<int>((bits >> 16) & 0xFF));
}

// Resolves a colour value to a plain colour. System colour references are looked up in
// the palette by their index:
//   4 menu bar -> Window            5 window background -> Base
//   7 menu text -> WindowText       8 window text -> Text
//   13 highlight -> Highlight       14 highlighted text -> HighlightedText
//   15 button face -> Button        18 button text -> ButtonText
// Any other index resolves to the palette's Window colour.
ColourValue resolveColour(ColourValue value, const QPalette& palette);

}  // namespace dotwall
