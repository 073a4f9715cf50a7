#include "picture/qt_colour.h"

namespace dotwall {

namespace {

QPalette::ColorRole roleOfSystemColour(int index) {
    switch (index) {
        case 5:
            return QPalette::Base;
        case 7:
            return QPalette::WindowText;
        case 8:
            return QPalette::Text;
        case 13:
            return QPalette::Highlight;
        case 14:
            return QPalette::HighlightedText;
        case 15:
            return QPalette::Button;
        case 18:
            return QPalette::ButtonText;
        default:
            return QPalette::Window;
    }
}

}  // namespace

ColourValue resolveColour(ColourValue value, const QPalette& palette) {
    if (!isSystemColourReference(value)) {
        return value;
    }
    const QColor colour =
        palette.color(QPalette::Active, roleOfSystemColour(systemColourIndex(value)));
    return colourFromQRgb(colour.rgb());
}

}  // namespace dotwall
