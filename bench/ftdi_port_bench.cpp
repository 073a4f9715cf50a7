// DotwallLpt's refresh through the real port binding into the USB adapter port library, over
// the stand-in for libftdi1 taking bytes at 4.7 MB/s as an FT232H would: 100 frames with
// DotwallLpt's window idle, then 100 with it kept busy; then both again for its panel of 4 grey
// levels. Prints, per run, the rate reached
// against the chip's, the underruns the library and the chip counted, the processor time per
// frame and its share of one core at the rate reached, and the USB transfers.
// Usage: ftdi_port_bench [FRAMES]
#include <dlfcn.h>
#include <time.h>

#include <QApplication>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/busy_window.h"
#include "frames/port_signals.h"
#include "port_stream/port_binding.h"
#include "port_stream/refresh_thread.h"

namespace {

using namespace dotwall;
using Clock = std::chrono::steady_clock;

constexpr double kChipBytesPerSecond = 4'700'000;

double processorSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The processor time of the stream's threads (the refresh and the library's sender), that is
// of the process without the window's thread, which runs this.
double streamProcessorSeconds() {
    return processorSeconds(CLOCK_PROCESS_CPUTIME_ID) - processorSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// The stand-in's summary of the run, "transfers T bytes B largest L most-in-flight M stalls S
// seconds D", where D is the time from the first byte the chip took to the last.
struct ChipRecord {
    std::string summary = "no record";
    double bytes = 0;
    double seconds = 0;
};

ChipRecord chipRecord(const std::string& record) {
    std::ifstream in(record);
    ChipRecord chip;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("transfers ")) {
            chip.summary = line;
            std::istringstream words(line);
            std::string word;
            while (words >> word) {
                (word == "bytes"     ? words >> chip.bytes
                 : word == "seconds" ? words >> chip.seconds
                                     : words);
            }
        }
    }
    return chip;
}

// DotwallLpt's panel, or the same of 4 grey levels with every pixel at level 1.
void run(const char* name, long frames, bench::BusyWindow* busy, const std::string& record,
         int greyLevels) {
    PanelProfile profile = dotwallLptProfile();
    profile.greyLevels = greyLevels;
    PanelFrame frame{profile.size(), greyLevels,
                     std::vector<std::uint8_t>(profile.frameBytes(), greyLevels > 2 ? 1 : 5)};
    port_stream::PortBinding port(FTDI_WINIO_PATH);
    if (!port.start()) {
        std::printf("%s: InitializeWinIo of the FTDI library failed\n", name);
        return;
    }
    port_stream::RefreshThread refresh(port, [](std::exception_ptr) {},
                                       {.frameLimit = frames, .rateUnreachable = {}});
    if (busy != nullptr) {
        busy->start();
    }
    const double processorBefore = streamProcessorSeconds();
    const port_stream::RealTimeGrant grant = refresh.start(profile, frame);
    while (refresh.running()) {
        QTest::qWait(5);
    }
    refresh.join();
    port.stop();  // waits until the chip has taken every byte
    const double processor = streamProcessorSeconds() - processorBefore;
    if (busy != nullptr) {
        busy->stop();
    }
    // The chip's own view: the bytes of the stream (all but the first, which set the pins
    // low before it) over the time it took them.
    const ChipRecord chip = chipRecord(record);
    const double perSecond = (chip.bytes - 1) / chip.seconds;
    const double framesPerSecond = perSecond / port_signals::kWritesPerFrame;
    std::printf(
        "%-12s %ld frames: %.2f frames/s, %.0f bytes/s = %.2f%% of the chip's rate\n"
        "%-12s stream's threads %.3f ms processor time per frame (%s): %.1f%% of one core "
        "at %.1f frames/s\n%-12s %s\n",
        name, frames, framesPerSecond, perSecond, 100 * perSecond / kChipBytesPerSecond, "",
        1000 * processor / static_cast<double>(frames),
        grant.refused.empty() ? "real-time" : "normal priority",
        100 * processor / static_cast<double>(frames) * framesPerSecond, framesPerSecond, "",
        chip.summary.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DOTWALL_VIRTUAL_PANEL", QByteArray::number(getpid()));
    const std::string record = "/tmp/ftdi_port_bench." + std::to_string(getpid());
    setenv("DOTWALL_STANDIN_FTDI_RATE", "4700000", 1);
    setenv("DOTWALL_STANDIN_FTDI_RECORD", record.c_str(), 1);
    // Loaded first, the stand-in is the libftdi1.so.2 the port library is linked with.
    if (dlopen(STANDIN_FTDI_PATH, RTLD_NOW | RTLD_GLOBAL) == nullptr) {
        std::printf("cannot load the stand-in: %s\n", dlerror());
        return 1;
    }
    QApplication application(argc, argv);
    const long frames = argc > 1 ? std::atol(argv[1]) : 100;
    bench::BusyWindow busy(VIRTUAL_WINIO_PATH);
    if (!busy.started()) {
        return 1;
    }
    run("window idle", frames, nullptr, record, 2);
    run("window busy", frames, &busy, record, 2);
    run("4 greys idle", frames, nullptr, record, 4);
    run("4 greys busy", frames, &busy, record, 4);
    std::remove(record.c_str());
    std::remove((record + ".bytes").c_str());
    return 0;
}
