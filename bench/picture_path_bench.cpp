// play's worker on one picture of a stream, as ffmpeg's `image2pipe -c:v pgm` sends them: a
// 640 x 240 grey PGM read from a descriptor through play's own stream source, fitted and
// dithered when asked, and packed for DotwallLpt's panel into a frame ready to hand to the
// refresh. Prints the median and 99th percentile per picture (goals: 1 ms as it is, 3 ms with
// --fit --dither) beside Google Benchmark's mean, in time and in processor time (which a
// machine busy with other work does not stretch).
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "frame_tool/picture_sources.h"
#include "picture/frame_packing.h"

namespace {

using namespace dotwall;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 640;
constexpr int kHeight = 240;
constexpr int kPicturesInInput = 64;

// A descriptor holding 64 grey PGM pictures of a busy pattern, one after another.
int pictureInput() {
    std::string picture =
        "P5\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            picture += static_cast<char>((x * 7 + y * 13 + x * y / 64) & 255);
        }
    }
    const int input = memfd_create("pictures", 0);
    for (int copy = 0; copy < kPicturesInInput; ++copy) {
        if (write(input, picture.data(), picture.size()) != static_cast<ssize_t>(picture.size())) {
            return -1;
        }
    }
    return input;
}

// This thread's processor time in milliseconds: on a busy machine, the work without the
// waits for a core.
double processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

double percentile(std::vector<double> values, double share) {
    const auto at =
        values.begin() + static_cast<long>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

void pictureToFrame(benchmark::State& state, PictureFitting fitting) {
    const int input = pictureInput();
    if (input < 0) {
        state.SkipWithError("cannot fill the pictures' memory file");
        return;
    }
    // Opened by its path, the memory file is read from its start each time.
    const std::string path = "/proc/self/fd/" + std::to_string(input);
    const PanelProfile profile = dotwallLptProfile();
    std::unique_ptr<frame_tool::PictureSource> source;
    int left = 0;
    std::vector<double> milliseconds;
    std::vector<double> processor;
    for (auto _ : state) {
        if (left == 0) {
            state.PauseTiming();
            source = frame_tool::streamPictures(path, std::nullopt);
            left = kPicturesInInput;
            state.ResumeTiming();
        }
        const Clock::time_point began = Clock::now();
        const double processorBefore = processorMilliseconds();
        const std::optional<frame_tool::TimedPicture> picture = source->next();
        const PanelFrame frame = packPanelFrame(profile, picture->picture, fitting);
        benchmark::DoNotOptimize(frame.bytes.data());
        processor.push_back(processorMilliseconds() - processorBefore);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - began).count());
        --left;
    }
    source.reset();
    close(input);
    state.counters["median_ms"] = percentile(milliseconds, 0.5);
    state.counters["p99_ms"] = percentile(milliseconds, 0.99);
    state.counters["cpu_median_ms"] = percentile(processor, 0.5);
    state.counters["cpu_p99_ms"] = percentile(processor, 0.99);
}

void BM_PictureToFrame(benchmark::State& state) {
    pictureToFrame(state, {});
}
BENCHMARK(BM_PictureToFrame)->Unit(benchmark::kMillisecond);

void BM_PictureToFrameFittedAndDithered(benchmark::State& state) {
    pictureToFrame(state, {.fit = true, .dither = true});
}
BENCHMARK(BM_PictureToFrameFittedAndDithered)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
