// Any bytes decoded as a panel receives them: as a port stream, byte by byte, for DotwallLpt's
// panel and for one with an AC line turned over every 3 lines and inverted data, and as a
// frame, the first byte picking the dual-scan or the single-scan layout and the rest filling
// it (zeros beyond the input).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frames/dual_scan_frame.h"
#include "frames/port_signals.h"
#include "frames/single_scan_frame.h"
#include "picture/area_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    static const PanelProfile described = dotwallLptProfile();
    static const PanelProfile small = [] {
        PanelProfile profile = dotwallLptProfile();
        profile.width = 8;
        profile.lines = 5;
        profile.sampling = PictureSampling::PixelForPixel;
        profile.ac = 7;
        profile.acEveryLines = 3;
        profile.invert = true;
        return profile;
    }();
    for (const PanelProfile* profile : {&described, &small}) {
        port_signals::StreamDecoder decoder(*profile);
        for (std::size_t i = 0; i < size; ++i) {
            decoder.write(data[i]);
        }
    }
    if (size == 0) {
        return 0;
    }
    const bool dual = data[0] % 2 == 0;
    PanelFrame frame{described.size(), 2, std::vector<std::uint8_t>(data, data + size)};
    frame.bytes.resize(dual ? dual_scan::kFrameFileBytes : described.frameBytes());
    const PanelPicture panel =
        dual ? dual_scan::panelPicture(frame.bytes) : single_scan::panelPicture(frame);
    if (panelImage(panel, 2).width() != 1280) {
        __builtin_trap();
    }
    return 0;
}
