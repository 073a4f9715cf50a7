#include "frames/single_scan_frame.h"

#include <string>

#include "base/float_checks.h"
#include "base/runtime_error.h"

namespace dotwall::single_scan {

namespace {

// The distance between two samples across and down, in the area's unit.
struct GridPitch {
    float across;
    double down;
};

GridPitch gridPitch(const PanelProfile& profile, const PictureArea& picture) {
    if (profile.sampling == PictureSampling::PixelForPixel) {
        return {1.0f, 1.0};
    }
    // The pitch across is a 32-bit float, the pitch down a 64-bit one.
    return {checkedDivide(picture.areaWidth(), static_cast<float>(kGridColumns),
                          "the grid pitch across (picture width / 640)"),
            checkedDivide(static_cast<double>(picture.areaHeight()),
                          static_cast<double>(kGridLinePitches),
                          "the grid pitch down (picture height / 240)")};
}

double gridPosition(double gridSize, float areaSize, float position, std::string_view what) {
    const double scale = checkedDivide(gridSize, static_cast<double>(areaSize), what);
    return checkedMultiply(scale, static_cast<double>(position), what);
}

// A byte a pixel, its brightness taken to the profile's levels.
PanelFrame sampleGreys(const PanelProfile& profile, const PictureArea& picture, GridPitch pitch,
                       grey_levels::LevelChoice choice) {
    PanelFrame frame = PanelFrame::dark(profile.size(), profile.greyLevels);
    std::uint8_t* byte = frame.bytes.data();
    for (int line = 0; line < profile.lines; ++line) {
        const auto y = static_cast<float>(line * pitch.down);
        for (int x = 0; x < profile.width; ++x, ++byte) {
            *byte = grey_levels::brightness(
                picture.pointColour(static_cast<float>(x) * pitch.across, y));
        }
    }
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

PanelFrame sample(const PanelProfile& profile, const PictureArea& picture,
                  grey_levels::LevelChoice choice) {
    const GridPitch pitch = gridPitch(profile, picture);
    if (profile.greyLevels > 2) {
        return sampleGreys(profile, picture, pitch, choice);
    }
    PanelFrame frame = PanelFrame::dark(profile.size());
    std::uint8_t* byte = frame.bytes.data();
    for (int line = 0; line < profile.lines; ++line) {
        const auto y = static_cast<float>(line * pitch.down);
        for (int group = 0; group < profile.bytesPerLine(); ++group, ++byte) {
            int bits = 0;
            for (int k = 0; k < 4; ++k) {
                const float x = static_cast<float>(4 * group + k) * pitch.across;
                bits = 2 * bits + (picture.pointColour(x, y) > kThreshold ? 1 : 0);
            }
            *byte = static_cast<std::uint8_t>(bits);
        }
    }
    return frame;
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

PanelFrame pack(const PanelProfile& profile, const PictureArea& picture,
                grey_levels::LevelChoice choice) {
    PanelFrame frame = sample(profile, picture, choice);
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
