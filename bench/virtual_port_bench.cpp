// The virtual port library's cost of one write, through DotwallLpt's real port binding
// (PortBinding and the binder) as GO! makes it: the stream decoder and the panel link behind
// every SetPortVal. With pacing off it must stay within the budget of the real port path
// (20 ns), so that the decoder never limits the stream; paced, a frame takes what it takes
// on a real port. Allocations are counted over the timed writes: there must be none.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/allocation_count.h"
#include "frames/port_signals.h"
#include "port_stream/port_binding.h"

namespace {

using namespace dotwall;

// A frame of DotwallLpt's panel, every byte 5.
std::vector<std::uint8_t> preFilledFrame() {
    return std::vector<std::uint8_t>(dotwallLptProfile().frameBytes(), 5);
}

// Streams frames into the virtual library with `nanosecondsPerWrite` pacing.
void streamFrames(benchmark::State& state, const char* nanosecondsPerWrite) {
    setenv("DOTWALL_VIRTUAL_PORT_NS", nanosecondsPerWrite, 1);
    // A panel of the benchmark's own, so that a viewer of the user's panel is not disturbed.
    setenv("DOTWALL_VIRTUAL_PANEL", ("bench-" + std::to_string(getpid())).c_str(), 1);
    port_stream::PortBinding port{VIRTUAL_WINIO_PATH};
    if (!port.start()) {
        state.SkipWithError("InitializeWinIo of the virtual library failed");
        return;
    }
    const std::vector<std::uint8_t> frame = preFilledFrame();
    port_signals::FrameEncoder encoder(dotwallLptProfile());
    encoder.writeFrame(frame, port);  // binds SetPortVal before the timing
    const long before = bench::allocationCount();
    for (auto _ : state) {
        encoder.writeFrame(frame, port);
    }
    const long allocated = bench::allocationCount() - before;
    port.stop();

    using benchmark::Counter;
    const auto writes = static_cast<double>(port_signals::kWritesPerFrame);
    state.counters["time_per_write"] =
        Counter(writes, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["frames_per_s"] = Counter(1.0, Counter::kIsIterationInvariantRate);
    state.counters["allocations_per_write"] =
        static_cast<double>(allocated) / (writes * static_cast<double>(state.iterations()));
}

void BM_VirtualPortUnpaced(benchmark::State& state) {
    streamFrames(state, "0");
}
BENCHMARK(BM_VirtualPortUnpaced)->Unit(benchmark::kMicrosecond);

// As DotwallLpt streams by default: about 1 us a write, as on a real port.
void BM_VirtualPortPaced(benchmark::State& state) {
    streamFrames(state, "1000");
}
BENCHMARK(BM_VirtualPortPaced)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decoder alone, its share of a write.
void BM_StreamDecoder(benchmark::State& state) {
    const std::vector<std::uint8_t> frame = preFilledFrame();
    port_signals::FrameEncoder encoder(dotwallLptProfile());
    port_signals::StreamDecoder decoder(dotwallLptProfile());
    for (auto _ : state) {
        encoder.writeFrame(frame, decoder);
    }
    state.counters["time_per_write"] = benchmark::Counter(
        static_cast<double>(port_signals::kWritesPerFrame),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StreamDecoder)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
