#pragma once

#include <cstdint>

namespace dotwall {

// A colour as the panel logic sees it: signed 32-bit 0x00BBGGRR, red in the low byte.
// -1 means "outside the picture area". A value with the top bit set is a reference to a
// system colour by its index in the low bits (see qt_colour.h for how it is resolved).
using ColourValue = std::int32_t;

inline constexpr ColourValue kBlack = 0;
inline constexpr ColourValue kWhite = 0x00FFFFFF;  // 16777215
inline constexpr ColourValue kPureRed = 0x000000FF;
inline constexpr ColourValue kOutsideArea = -1;

constexpr ColourValue systemColourReference(int index) {
    return static_cast<ColourValue>(0x80000000u | static_cast<std::uint32_t>(index));
}

// The window-background system colour, 0x80000005.
inline constexpr ColourValue kWindowBackground = systemColourReference(5);

constexpr bool isSystemColourReference(ColourValue value) {
    return (static_cast<std::uint32_t>(value) & 0x80000000u) != 0 && value != kOutsideArea;
}

constexpr int systemColourIndex(ColourValue value) {
    return static_cast<int>(static_cast<std::uint32_t>(value) & 0x00FFFFFFu);
}

constexpr ColourValue colourFromRgb(int red, int green, int blue) {
    return static_cast<ColourValue>((static_cast<std::uint32_t>(blue) << 16) |
                                    (static_cast<std::uint32_t>(green) << 8) |
                                    static_cast<std::uint32_t>(red));
}

}  // namespace dotwall
