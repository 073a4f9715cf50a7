// Any bytes as a panel profile file: read into a profile that a frame can be packed, streamed
// and decoded with, or refused with RuntimeError; nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/runtime_error.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"

namespace {

struct NoPort final : dotwall::port_signals::PortWriter {
    void write(std::uint8_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    PanelProfile profile;
    try {
        profile = parsePanelProfile(std::string_view(reinterpret_cast<const char*>(data), size),
                                    "\"fuzz input\"");
    } catch (const RuntimeError&) {
        return 0;
    }
    if (profile.frameBytes() <= 64 * 1024) {
        NoPort port;
        port_signals::FrameEncoder(profile).writeFrame(
            std::vector<std::uint8_t>(profile.frameBytes(), 0x0A), port);
    }
    const PanelProfile again = parsePanelProfile(profileJson(profile), "\"printed\"");
    if (again.width != profile.width || again.lines != profile.lines || again.ac != profile.ac) {
        __builtin_trap();
    }
    return 0;
}
