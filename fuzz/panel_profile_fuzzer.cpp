// Any bytes as a panel profile file: read into a profile whose frames stream and decode back
// without a fault and that is printed and read again alike, or refused with RuntimeError;
// nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"

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
    // line that does not turn over where the profile says, would spoil one.
    if (profile.frameBytes() <= 64 * 1024) {
        const std::vector<std::uint8_t> frame(profile.frameBytes(), 0x0A);
        port_signals::FrameEncoder encoder(profile);
        port_signals::StreamDecoder decoder(profile);
        encoder.writeFrame(frame, decoder);
        encoder.writeFrame(frame, decoder);
        if (decoder.frames() != 2) {
            __builtin_trap();
        }
    }
    const PanelProfile again = parsePanelProfile(profileJson(profile), "\"printed\"");
    if (again.name != profile.name || again.width != profile.width ||
        again.lines != profile.lines || again.ac != profile.ac ||
        again.acEveryLines != profile.acEveryLines ||
        again.framesPerSecond != profile.framesPerSecond) {
        __builtin_trap();
    }
    return 0;
}
