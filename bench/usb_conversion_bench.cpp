// One whole Convert of DotwallUsb's default picture through the point query of the picture
// area the window shows, beside a reference loop that reads every pixel of the same picture
// once.
#include <benchmark/benchmark.h>

#include <QImage>

#include "frames/dual_scan_frame.h"
#include "picture/area_image.h"
#include "picture/qt_colour.h"

namespace {

using namespace dotwall;

QImage defaultPicture() {
    return QImage(USB_DEFAULT_PICTURE);
}

void BM_ConvertDefaultPicture(benchmark::State& state) {
    const PictureArea area = areaShowing(dual_scan::kPictureAreaSize, kWhite, defaultPicture());
    for (auto _ : state) {
        benchmark::DoNotOptimize(dual_scan::pack(area));
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
                lit += colourFromQRgb(line[x]) > dual_scan::kThreshold;
            }
        }
        benchmark::DoNotOptimize(lit);
    }
}
BENCHMARK(BM_ReadEveryPixelOnce)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
