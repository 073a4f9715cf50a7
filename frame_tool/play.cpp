#include "frame_tool/play.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "base/runtime_error.h"
#include "base/stop_signals.h"
#include "frame_tool/picture_feeder.h"
#include "port_stream/port_binding.h"
#include "port_stream/refresh_thread.h"

namespace dotwall::frame_tool {

namespace {

// How often the waiting thread looks for a stop signal; the stream does not wait for it.
constexpr std::chrono::milliseconds kSignalLook{10};

// Stops the port driver however the play ends, once it was asked to start.
class DriverStarted {
  public:
    explicit DriverStarted(port_stream::PortBinding& port) : port_(port) {
        if (!port_.start()) {
            port_.stop();
            throw RuntimeError(ErrorKind::DriverFailed, port_stream::kDriverFailedText);
        }
    }
    ~DriverStarted() { port_.stop(); }
    DriverStarted(const DriverStarted&) = delete;
    DriverStarted& operator=(const DriverStarted&) = delete;

  private:
    port_stream::PortBinding& port_;
};

}  // namespace

void playPictures(std::unique_ptr<PictureSource> source, const PlaySettings& settings) {
    PictureFeeder feeder(std::move(source), settings.profile, settings.fitting);
    PanelFrame first = feeder.firstFrame();
    const bool loneStill = settings.loneStillHolds && feeder.firstIsStill();
    port_stream::PortBinding port;
    const StopSignals::HalfDone feeding;
    const DriverStarted driver(port);
    std::exception_ptr failure;
    port_stream::RefreshThread refresh(
        port, [&failure](std::exception_ptr ended) { failure = ended; },
        {.frameLimit = settings.frames, .rateUnreachable = [](const std::string& what) {
             std::fprintf(stderr, "DotwallFrame: %s\n", what.c_str());
         }});
    const port_stream::RealTimeGrant grant = refresh.start(settings.profile, std::move(first));
    if (!grant.refused.empty()) {
        std::fprintf(stderr, "DotwallFrame: %s\n", port_stream::describe(grant).c_str());
    }
    feeder.start(refresh, settings.hold || loneStill);
    while (refresh.running()) {
        if (StopSignals::atOnce()) {
            refresh.stopAtOnce();
        } else if (StopSignals::received() != 0) {
            refresh.requestStop();
        }
        std::this_thread::sleep_for(kSignalLook);
    }
    refresh.join();
    feeder.close();
    if (failure) {
        std::rethrow_exception(failure);
    }
    std::printf("%ld frames at %.2f frames/s", refresh.framesSent(), refresh.framesPerSecond());
    if (settings.profile.greyLevels > 2) {
        std::printf(", %.2f cycles/s of %d greys", refresh.cyclesPerSecond(),
                    settings.profile.greyLevels);
    }
    if (!loneStill) {
        const long neverSent = refresh.frameWaiting() ? 1 : 0;
        std::printf("; %ld pictures shown, %ld dropped",
                    feeder.handed() - feeder.dropped() - neverSent, feeder.dropped());
    }
    std::printf("\n");
    if (feeder.failure()) {
        std::rethrow_exception(feeder.failure());
    }
}

}  // namespace dotwall::frame_tool
