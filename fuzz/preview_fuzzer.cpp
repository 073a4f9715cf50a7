// Decodes any bytes as a frame: the first byte picks the frame's kind, the rest fills it
// (zeros beyond the input), so every input reaches the decoding of one of the two frames.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "panel_preview.h"
#include "runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall::frame_tool;
    std::vector<std::uint8_t> frame(data, data + size);
    try {
        previewPanel(frame);  // mostly the wrong length, which must be refused cleanly
    } catch (const dotwall::RuntimeError&) {
    }
    if (size > 0) {
        frame.resize(data[0] % 2 == 0 ? kDualScanFrameFileBytes : kSingleScanFrameBytes);
        const QImage panel = previewPanel(frame);
        if (panel.width() != 640) {
            __builtin_trap();
        }
    }
    return 0;
}
