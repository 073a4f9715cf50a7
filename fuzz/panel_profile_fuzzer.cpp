// Any bytes as a panel profile file: read into a profile whose frames (for grey levels, their
// cycles) stream and decode back without a fault into what was packed, and that is printed
// and read again alike, or refused with RuntimeError; nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "frames/single_scan_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    PanelProfile profile;
    try {
        profile = parsePanelProfile(std::string_view(reinterpret_cast<const char*>(data), size),
                                    "\"fuzz input\"");
    } catch (const RuntimeError&) {
        return 0;
    }
    // The panel's own decoder takes every frame its encoder streams: any fault, such as an AC
    // line that does not turn over where the profile says, would spoil one. Two whole cycles
    // of a frame whose pixels take every level in turn: the eye sees each pixel at its level.
    if (profile.frameBytes() <= 64 * 1024) {
        const int levels = profile.greyLevels;
        PanelFrame frame = PanelFrame::dark(profile.size(), levels);
        for (std::size_t i = 0; i < frame.bytes.size(); ++i) {
            frame.bytes[i] = static_cast<std::uint8_t>(levels > 2 ? i % levels : 0x0A);
        }
        port_signals::FrameEncoder encoder(profile);
        port_signals::StreamDecoder decoder(profile);
        long sent = 0;
        port_signals::streamFrames(encoder, FrameCycle::of(frame), decoder,
                                   [&] { return ++sent == 2 * profile.framesPerCycle(); });
        if (decoder.frames() != sent ||
            (levels > 2 && decoder.seenPicture() != single_scan::panelPicture(frame))) {
            __builtin_trap();
        }
    }
    const PanelProfile again = parsePanelProfile(profileJson(profile), "\"printed\"");
    if (again.name != profile.name || again.width != profile.width ||
        again.lines != profile.lines || again.ac != profile.ac ||
        again.acEveryLines != profile.acEveryLines ||
        again.framesPerSecond != profile.framesPerSecond ||
        again.greyLevels != profile.greyLevels) {
        __builtin_trap();
    }
    return 0;
}
