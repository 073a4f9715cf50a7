// A 640 x 240 photo-like picture (a smooth ramp with noise over it) packed for a panel of 4
// and of 16 grey levels as play packs each picture, nearest and dithered, with the cycle of
// one-bit frames the refresh sends, beside the same panel in black and white; and the cycle
// alone. Medians of repeated runs.
#include <benchmark/benchmark.h>

#include <QImage>

#include "frames/frame_cycle.h"
#include "picture/frame_packing.h"

namespace {

using namespace dotwall;

PanelProfile greyPanel(int levels) {
    PanelProfile profile = dotwallLptProfile();
    profile.name = "640 x 240";
    profile.lines = 240;
    profile.sampling = PictureSampling::PixelForPixel;
    profile.greyLevels = levels;
    return profile;
}

QImage photoLike() {
    QImage picture(640, 240, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            state = state * 1103515245u + 12345u;
            const int grey = (x * 255 / 640 + static_cast<int>((state >> 16) % 32)) % 256;
            picture.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return picture;
}

void BM_PackWithCycle(benchmark::State& state) {
    const PanelProfile profile = greyPanel(static_cast<int>(state.range(0)));
    const QImage picture = photoLike();
    const PictureFitting fitting{.dither = state.range(1) != 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(FrameCycle::of(packPanelFrame(profile, picture, fitting)));
    }
}
BENCHMARK(BM_PackWithCycle)
    ->ArgNames({"levels", "dither"})
    ->ArgsProduct({{2, 4, 16}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_CycleAlone(benchmark::State& state) {
    const PanelProfile profile = greyPanel(static_cast<int>(state.range(0)));
    const PanelFrame frame = packPanelFrame(profile, photoLike(), {});
    FrameCycle cycle = FrameCycle::of(frame);
    for (auto _ : state) {
        cycle.show(frame);
        benchmark::DoNotOptimize(cycle.bytes.data());
    }
}
BENCHMARK(BM_CycleAlone)
    ->ArgName("levels")
    ->Arg(4)
    ->Arg(16)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
