#include "frames/grey_levels.h"

#include <algorithm>
#include <vector>

namespace dotwall::grey_levels {

namespace {

constexpr int kWhite = 255;

// The level nearest to a brightness of `sixteenths` / 16.
int nearestLevel(int sixteenths, int steps) {
    return (sixteenths * steps + 8 * kWhite) / (16 * kWhite);
}

// Floyd and Steinberg's weights, in sixteenths of the error: 7 to the next pixel, 3, 5 and 1
// to the three below. Errors are carried in sixteenths of a brightness step, so that a smooth
// ramp keeps its fractions.
void diffuse(std::span<std::uint8_t> pixels, int width, int steps) {
    // Errors for this line and the next, one pixel of margin on each side.
    std::vector<int> here(static_cast<std::size_t>(width) + 2, 0);
    std::vector<int> below(here.size(), 0);
    for (std::size_t start = 0; start < pixels.size(); start += static_cast<std::size_t>(width)) {
        std::swap(here, below);
        std::fill(below.begin(), below.end(), 0);
        for (int x = 0; x < width; ++x) {
            std::uint8_t& pixel = pixels[start + static_cast<std::size_t>(x)];
            const int wanted = std::clamp(16 * pixel + here[x + 1] / 16, 0, 16 * kWhite);
            const int level = nearestLevel(wanted, steps);
            const int error = wanted - 16 * kWhite * level / steps;
            pixel = static_cast<std::uint8_t>(level);
            here[x + 2] += 7 * error;
            below[x] += 3 * error;
            below[x + 1] += 5 * error;
            below[x + 2] += error;
        }
    }
}

}  // namespace

std::uint8_t brightness(ColourValue colour) {
    if (colour == kOutsideArea) {
        return 0;
    }
    const auto value = static_cast<std::uint32_t>(colour);
    const std::uint32_t red = value & 0xFF, green = (value >> 8) & 0xFF,
                        blue = (value >> 16) & 0xFF;
    return static_cast<std::uint8_t>((11 * red + 16 * green + 5 * blue) / 32);
}

void toLevels(std::span<std::uint8_t> pixels, int width, int levels, LevelChoice choice) {
    const int steps = levels - 1;
    if (choice == LevelChoice::Diffused) {
        diffuse(pixels, width, steps);
        return;
    }
    for (std::uint8_t& pixel : pixels) {
        pixel = static_cast<std::uint8_t>(nearestLevel(16 * pixel, steps));
    }
}

}  // namespace dotwall::grey_levels
