#include "frames/profile_frame.h"

#include "frames/single_scan_frame.h"

namespace dotwall::profile_frame {

AreaSize areaSize(const PanelProfile& profile) {
    return profile.dotwallLpt ? single_scan::kPictureAreaSize
                              : AreaSize{static_cast<float>(profile.width),
                                         static_cast<float>(profile.lines), AreaUnit::Pixel};
}

std::vector<std::uint8_t> ofFrameBuffer(const FrameBuffer& frame) {
    return {frame.data(), frame.data() + single_scan::kFrameBytes};
}

std::vector<std::uint8_t> pack(const PanelProfile& profile, const PictureArea& area) {
    if (profile.dotwallLpt) {
        return ofFrameBuffer(single_scan::pack(area).frame);
    }
    std::vector<std::uint8_t> frame(profile.frameBytes(), 0);
    std::size_t index = 0;
    for (int y = 0; y < profile.lines; ++y) {
        for (int group = 0; group < profile.bytesPerLine(); ++group, ++index) {
            for (int k = 0; k < 4; ++k) {
                const ColourValue colour =
                    area.pointColour(static_cast<float>(4 * group + k), static_cast<float>(y));
                frame[index] = static_cast<std::uint8_t>(
                    2 * frame[index] + (colour > single_scan::kThreshold ? 1 : 0));
            }
        }
    }
    return frame;
}

PanelPicture panelPicture(const PanelProfile& profile, std::span<const std::uint8_t> frame) {
    PanelPicture panel(profile.width, profile.lines);
    for (int y = 0; y < profile.lines; ++y) {
        for (int x = 0; x < profile.width; ++x) {
            const std::size_t index = static_cast<std::size_t>(y) * profile.bytesPerLine() + x / 4;
            panel.setLit(x, y, ((frame[index] >> (3 - x % 4)) & 1u) != 0);
        }
    }
    return panel;
}

}  // namespace dotwall::profile_frame
