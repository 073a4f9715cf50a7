#include "frames/grey_levels.h"

#include <algorithm>
#include <array>
#include <vector>

namespace dotwall::grey_levels {

namespace {

constexpr int kWhite = 255;

// Floyd and Steinberg's weights, in sixteenths of the error: 7 to the next pixel, 3, 5 and 1
// to the three below. Brightness and errors are counted in 256ths of a level step, so that a
// smooth ramp keeps its fractions and a level is a shift away; the error to the next pixel
// stays in a register, as each pixel waits for it.
void diffuse(std::span<std::uint8_t> pixels, int width, int steps) {
    std::array<int, kWhite + 1> inSteps{};
    for (int brightness = 0; brightness <= kWhite; ++brightness) {
        inSteps[static_cast<std::size_t>(brightness)] = (256 * steps * brightness + 127) / kWhite;
    }
    // Errors for this line and the next, one pixel of margin on each side, in sixteenths.
    std::vector<int> here(static_cast<std::size_t>(width) + 2, 0);
    std::vector<int> below(here.size(), 0);
    for (std::size_t start = 0; start < pixels.size(); start += static_cast<std::size_t>(width)) {
        std::swap(here, below);
        below[0] = below[1] = 0;
        int toTheRight = 0;
        for (int x = 0; x < width; ++x) {
            std::uint8_t& pixel = pixels[start + static_cast<std::size_t>(x)];
            const int wanted = inSteps[pixel] + ((here[x + 1] + toTheRight + 8) >> 4);
            const int level = std::clamp((wanted + 128) >> 8, 0, steps);
            const int error = wanted - 256 * level;
            pixel = static_cast<std::uint8_t>(level);
            toTheRight = 7 * error;
            below[x] += 3 * error;
            below[x + 1] += 5 * error;
            below[x + 2] = error;  // the first share it takes on this line
        }
    }
}

}  // namespace

void toLevels(std::span<std::uint8_t> pixels, int width, int levels, LevelChoice choice) {
    const int steps = levels - 1;
    if (choice == LevelChoice::Diffused) {
        diffuse(pixels, width, steps);
        return;
    }
    // A table of the 256 answers: a look-up a pixel instead of a division.
    std::array<std::uint8_t, kWhite + 1> nearest{};
    for (int brightness = 0; brightness <= kWhite; ++brightness) {
        nearest[static_cast<std::size_t>(brightness)] =
            static_cast<std::uint8_t>((brightness * steps + kWhite / 2) / kWhite);
    }
    for (std::uint8_t& pixel : pixels) {
        pixel = nearest[pixel];
    }
}

}  // namespace dotwall::grey_levels
