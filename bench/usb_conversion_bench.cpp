// One whole Convert of DotwallUsb's default picture through the real picture widget's
// point query, beside a reference loop that reads every pixel of the same picture once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "busy_lamp.h"
#include "dual_scan_packer.h"
#include "picture_widget.h"
#include "qt_colour.h"

namespace {

using namespace dotwall;

class UnlitLamp final : public usb_tool::BusyLamp {
  public:
    void setLampColour(ColourValue) override {}
    void repaintWindowNow() override {}
};

QImage defaultPicture() {
    return QImage(":/dotwall_usb/default_picture.bmp");
}

void BM_ConvertDefaultPicture(benchmark::State& state) {
    PictureWidget picture({640.0f, 480.0f, AreaUnit::Pixel}, kWindowBackground);
    picture.setPicture(defaultPicture());
    UnlitLamp lamp;
    FrameBuffer frame;
    for (auto _ : state) {
        usb_tool::convertDualScan(picture, lamp, frame);
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_ConvertDefaultPicture)->Unit(benchmark::kMicrosecond);

// Reads each of the picture's 640 x 480 pixels once as a colour value.
void BM_ReadEveryPixelOnce(benchmark::State& state) {
    const QImage picture = defaultPicture().convertToFormat(QImage::Format_RGB32);
    const int width = picture.width();
    const int height = picture.height();
    for (auto _ : state) {
        long lit = 0;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                lit += colourFromQRgb(line[x]) > usb_tool::kDualScanThreshold;
            }
        }
        benchmark::DoNotOptimize(lit);
    }
}
BENCHMARK(BM_ReadEveryPixelOnce)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
