#include "panel_preview.h"

#include <string>

#include "runtime_error.h"

namespace dotwall::frame_tool {

namespace {

constexpr int kPanelWidth = 640;
constexpr int kBytesPerLine = 160;
constexpr int kDualScanLines = 240;
constexpr int kSingleScanLines = 241;

// Lights the four pixels of a nibble, leftmost in its top bit, from column 4 · byteColumn.
void putNibble(QImage& panel, int row, int byteColumn, unsigned nibble) {
    for (int pixel = 0; pixel < 4; ++pixel) {
        const bool lit = (nibble >> (3 - pixel)) & 1u;
        panel.setPixel(4 * byteColumn + pixel, row, lit ? 1 : 0);
    }
}

QImage blankPanel(int rows) {
    QImage panel(kPanelWidth, rows, QImage::Format_Mono);
    panel.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    panel.fill(0);
    return panel;
}

}  // namespace

QImage previewPanel(const std::vector<std::uint8_t>& frame) {
    if (frame.size() == kDualScanFrameFileBytes) {
        QImage panel = blankPanel(2 * kDualScanLines);
        for (int line = 0; line < kDualScanLines; ++line) {
            for (int column = 0; column < kBytesPerLine; ++column) {
                const unsigned byte =
                    frame[static_cast<std::size_t>(line * kBytesPerLine + column)];
                putNibble(panel, line, column, byte & 0x0Fu);
                putNibble(panel, kDualScanLines + line, column, byte >> 4);
            }
        }
        return panel;
    }
    if (frame.size() == kSingleScanFrameBytes) {
        QImage panel = blankPanel(kSingleScanLines);
        for (int line = 0; line < kSingleScanLines; ++line) {
            for (int column = 0; column < kBytesPerLine; ++column) {
                const unsigned byte =
                    frame[static_cast<std::size_t>(line * kBytesPerLine + column)];
                putNibble(panel, line, column, byte & 0x0Fu);
            }
        }
        return panel;
    }
    const std::string length = frame.size() > kLongestFrameBytes
                                   ? "more than " + std::to_string(kLongestFrameBytes)
                                   : std::to_string(frame.size());
    throw RuntimeError(ErrorKind::TypeMismatch,
                       "it holds " + length +
                           " bytes, but a frame holds 38402 (dual scan) or 38560 (single scan)");
}

}  // namespace dotwall::frame_tool
