// DotwallLpt's refresh through the real port writer, Module1 and the binder, into a
// stand-in SetPortVal that does nothing: the program's own cost of one port write, which
// should stay far below the microsecond a write to a real parallel port takes.
#include <benchmark/benchmark.h>

#include "frame_buffer.h"
#include "frame_stream.h"
#include "module1.h"
#include "numeric_text.h"
#include "winio_port_writer.h"

namespace {

using namespace dotwall;
using namespace dotwall::port_tool;

void BM_RefreshOneFrame(benchmark::State& state) {
    Module1 module1{NULL_WINIO_PATH};
    WinIoPortWriter port{module1};
    FrameBuffer frame;
    frame.preFill();
    for (auto _ : state) {
        streamFrames(frame, port, [] { return true; });
    }
    using benchmark::Counter;
    state.counters["time_per_write"] =
        Counter(static_cast<double>(kWritesPerFrame),
                Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["writes_per_s"] =
        Counter(static_cast<double>(kWritesPerFrame), Counter::kIsIterationInvariantRate);
    state.counters["frames_per_s"] = Counter(1.0, Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RefreshOneFrame)->Unit(benchmark::kMicrosecond);

// The part of each write spent reading the port address text.
void BM_PortAddressText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(toInt16(WinIoPortWriter::kPortAddressText));
    }
}
BENCHMARK(BM_PortAddressText);

}  // namespace

BENCHMARK_MAIN();
