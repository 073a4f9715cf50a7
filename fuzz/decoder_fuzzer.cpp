// Any bytes decoded as a panel receives them: as a port stream, byte by byte, and as a
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
    port_signals::StreamDecoder decoder;
    for (std::size_t i = 0; i < size; ++i) {
        decoder.write(data[i]);
    }
    if (size == 0) {
        return 0;
    }
    const bool dual = data[0] % 2 == 0;
    std::vector<std::uint8_t> frame(data, data + size);
    frame.resize(dual ? dual_scan::kFrameFileBytes : single_scan::kFrameBytes);
    const PanelPicture panel =
        dual ? dual_scan::panelPicture(frame) : single_scan::panelPicture(frame);
    if (panelImage(panel, 2).width() != 1280) {
        __builtin_trap();
    }
    return 0;
}
