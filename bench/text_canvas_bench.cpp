// A full screen of text drawn on DotwallLpt's 640 x 240 panel in 6 x 8 cells: the canvas
// cleared and 30 lines of 106 characters, as a text server draws it on each stroke. Reports
// the median of repeated runs.
#include <benchmark/benchmark.h>

#include <string>

#include "text_display/text_canvas.h"

namespace {

using namespace dotwall::text_display;

void BM_FullScreenOfText(benchmark::State& state) {
    TextCanvas canvas(640, 240, {6, 8});
    std::string line;
    for (int i = 0; i < canvas.columns(); ++i)
        line += static_cast<char>('!' + i % 94);
    for (auto _ : state) {
        canvas.clear();
        for (int row = 1; row <= canvas.rows(); ++row)
            canvas.string(1, row, line);
        benchmark::DoNotOptimize(canvas.ink().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenOfText)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
