// DotwallLpt's refresh through the real port binding (PortBinding and the binder) into a
// stand-in SetPortVal that does nothing: the program's own cost of one port write, which
// should stay far below the microsecond a write to a real parallel port takes.
#include <benchmark/benchmark.h>

#include "frames/port_signals.h"
#include "port_stream/port_binding.h"

namespace {

using namespace dotwall;

void BM_RefreshOneFrame(benchmark::State& state) {
    port_stream::PortBinding port{NULL_WINIO_PATH};
    const std::vector<std::uint8_t> packed(dotwallLptProfile().frameBytes(), 5);
    port_signals::FrameEncoder encoder(dotwallLptProfile());
    for (auto _ : state) {
        encoder.writeFrame(packed, port);
    }
    using benchmark::Counter;
    const auto writes = static_cast<double>(port_signals::kWritesPerFrame);
    state.counters["time_per_write"] =
        Counter(writes, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["writes_per_s"] = Counter(writes, Counter::kIsIterationInvariantRate);
    state.counters["frames_per_s"] = Counter(1.0, Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RefreshOneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
