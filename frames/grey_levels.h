#pragma once

#include <cstdint>
#include <span>

#include "frames/colour_value.h"

// A picture's brightness taken to a panel's grey levels: black is level 0, white the top
// level (levels - 1), lit in every frame of the panel's cycle.
namespace dotwall::grey_levels {

// The brightness of a colour value, 0 to 255, with the weights Qt gives red, green and blue
// when it turns a picture grey (11, 16 and 5 of 32); outside the area (-1), 0.
inline std::uint8_t brightness(ColourValue colour) {
    if (colour == kOutsideArea) {
        return 0;
    }
    const auto value = static_cast<std::uint32_t>(colour);
    const std::uint32_t red = value & 0xFF, green = (value >> 8) & 0xFF,
                        blue = (value >> 16) & 0xFF;
    return static_cast<std::uint8_t>((11 * red + 16 * green + 5 * blue) / 32);
}

enum class LevelChoice {
    Nearest,   // each pixel to the nearest level
    Diffused,  // the error of each pixel spread over its neighbours (Floyd and Steinberg)
};

// Turns the pixels' brightness (0 to 255, `width` pixels a line) into levels 0 to
// `levels` - 1, in place.
void toLevels(std::span<std::uint8_t> pixels, int width, int levels, LevelChoice choice);

}  // namespace dotwall::grey_levels
