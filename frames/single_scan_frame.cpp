#include "frames/single_scan_frame.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/float_checks.h"
#include "base/runtime_error.h"

namespace dotwall::single_scan {

namespace {

// The distance between two samples across and down, in the area's unit.
struct GridPitch {
    float across;
    double down;
};

GridPitch gridPitch(const PanelProfile& profile, AreaSize area) {
    if (profile.sampling == PictureSampling::PixelForPixel) {
        return {1.0f, 1.0};
    }
    // The pitch across is a 32-bit float, the pitch down a 64-bit one.
    return {checkedDivide(area.width, static_cast<float>(kGridColumns),
                          "the grid pitch across (picture width / 640)"),
            checkedDivide(static_cast<double>(area.height), static_cast<double>(kGridLinePitches),
                          "the grid pitch down (picture height / 240)")};
}

double gridPosition(double gridSize, float areaSize, float position, std::string_view what) {
    const double scale = checkedDivide(gridSize, static_cast<double>(areaSize), what);
    return checkedMultiply(scale, static_cast<double>(position), what);
}

// The area's pixel column under each of the panel's columns and its pixel row under each
// line, worked out once for the whole picture; a point outside the area has the column
// `outside`, one past the area's last.
struct SampledPixels {
    std::vector<std::size_t> columns;
    std::vector<std::optional<std::size_t>> rows;
    std::size_t outside;
};

SampledPixels sampledPixels(const PanelProfile& profile, AreaSize area) {
    const GridPitch pitch = gridPitch(profile, area);
    SampledPixels pixels{{}, {}, area.pixelWidth()};
    for (int x = 0; x < profile.width; ++x) {
        pixels.columns.push_back(
            area.pixelColumnAt(static_cast<float>(x) * pitch.across).value_or(pixels.outside));
    }
    for (int line = 0; line < profile.lines; ++line) {
        pixels.rows.push_back(area.pixelRowAt(static_cast<float>(line * pitch.down)));
    }
    return pixels;
}

// Hands `packLine` each line's number and the colours of its points, left to right: each
// pixel row of the area read once, and a point outside the area kOutsideArea.
template <typename PackLine>
void sampleLines(const PanelProfile& profile, const AreaRows& area, PackLine packLine) {
    const SampledPixels pixels = sampledPixels(profile, area.size());
    // The row read, and past its end the colour of the columns outside.
    std::vector<ColourValue> row(pixels.outside + 1, kOutsideArea);
    std::vector<ColourValue> colours(static_cast<std::size_t>(profile.width));
    for (int line = 0; line < profile.lines; ++line) {
        if (const std::optional<std::size_t> pixelRow =
                pixels.rows[static_cast<std::size_t>(line)]) {
            area.readRow(*pixelRow, std::span(row).first(pixels.outside));
            std::ranges::transform(pixels.columns, colours.begin(),
                                   [&](std::size_t column) { return row[column]; });
        } else {
            std::ranges::fill(colours, kOutsideArea);
        }
        packLine(line, std::span<const ColourValue>(colours));
    }
}

// Four pixels a byte, the leftmost in bit 3, lit above the threshold.
PanelFrame sampleBits(const PanelProfile& profile, const AreaRows& area) {
    PanelFrame frame = PanelFrame::dark(profile.size());
    sampleLines(profile, area, [&](int line, std::span<const ColourValue> colours) {
        std::uint8_t* byte =
            frame.bytes.data() + static_cast<std::size_t>(line) * frame.bytesPerLine();
        for (std::size_t x = 0; x < colours.size(); x += 4, ++byte) {
            int bits = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                bits = 2 * bits + (colours[x + k] > kThreshold ? 1 : 0);
            }
            *byte = static_cast<std::uint8_t>(bits);
        }
    });
    return frame;
}

// A byte a pixel, its brightness taken to the profile's levels.
PanelFrame sampleGreys(const PanelProfile& profile, const AreaRows& area,
                       grey_levels::LevelChoice choice) {
    PanelFrame frame = PanelFrame::dark(profile.size(), profile.greyLevels);
    sampleLines(profile, area, [&](int line, std::span<const ColourValue> colours) {
        std::ranges::transform(
            colours, frame.bytes.begin() + static_cast<std::ptrdiff_t>(line) * profile.width,
            grey_levels::brightness);
    });
    grey_levels::toLevels(frame.bytes, profile.width, profile.greyLevels, choice);
    return frame;
}

}  // namespace

AreaSize pictureAreaSize(const PanelProfile& profile) {
    return profile.sampling == PictureSampling::ScaledGridWithTestMark
               ? kPictureAreaSize
               : AreaSize{static_cast<float>(profile.width), static_cast<float>(profile.lines),
                          AreaUnit::Pixel};
}

double gridColumnAt(const PictureArea& picture, float x) {
    return gridPosition(kGridColumns, picture.areaWidth(), x, "the grid column (640 / width · X)");
}

double gridLineAt(const PictureArea& picture, float y) {
    return gridPosition(kGridLinePitches, picture.areaHeight(), y,
                        "the grid line (240 / height · Y)");
}

PanelFrame sample(const PanelProfile& profile, const AreaRows& area,
                  grey_levels::LevelChoice choice) {
    return profile.greyLevels > 2 ? sampleGreys(profile, area, choice) : sampleBits(profile, area);
}

void stampTestMark(const PanelProfile& profile, PanelFrame& frame) {
    if (profile.sampling != PictureSampling::ScaledGridWithTestMark) {
        return;
    }
    constexpr int kMarkColumn = 20;
    constexpr int kMarkedLines = 9;
    for (int line = 0; line < kMarkedLines; ++line) {
        frame.bytes.at(kMarkColumn + kBytesPerLine * line) = line % 2 == 0 ? 0b0101 : 0b1010;
    }
}

PanelFrame pack(const PanelProfile& profile, const AreaRows& area,
                grey_levels::LevelChoice choice) {
    PanelFrame frame = sample(profile, area, choice);
    stampTestMark(profile, frame);
    return frame;
}

PanelPicture panelPicture(const PanelFrame& frame) {
    PanelPicture panel(frame.size.width, frame.size.lines, frame.greyLevels);
    if (frame.greyLevels > 2) {
        for (std::size_t i = 0; i < frame.bytes.size(); ++i) {
            if (frame.bytes[i] >= frame.greyLevels) {
                throw RuntimeError(
                    ErrorKind::InvalidFrame,
                    "its byte " + std::to_string(i) + " holds " + std::to_string(frame.bytes[i]) +
                        ", but a pixel's level is 0 to " + std::to_string(frame.greyLevels - 1));
            }
            panel.setLevel(static_cast<int>(i % frame.size.width),
                           static_cast<int>(i / frame.size.width), frame.bytes[i]);
        }
        return panel;
    }
    const std::size_t bytesPerLine = frame.bytesPerLine();
    for (int y = 0; y < frame.size.lines; ++y) {
        for (int x = 0; x < frame.size.width; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * bytesPerLine + x / 4;
            panel.setLit(x, y, ((frame.bytes[index] >> (3 - x % 4)) & 1u) != 0);
        }
    }
    return panel;
}

}  // namespace dotwall::single_scan
