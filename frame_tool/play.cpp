#include "frame_tool/play.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "base/runtime_error.h"
#include "base/stop_signals.h"
#include "picture/frame_packing.h"
#include "picture/picture_loader.h"
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

void playPicture(const std::filesystem::path& picturePath, const PanelProfile& profile,
                 PictureFitting fitting, long frames) {
    PanelFrame frame = packPanelFrame(profile, loadPicture(picturePath), fitting);
    port_stream::PortBinding port;
    const StopSignals::HalfDone feeding;
    const DriverStarted driver(port);
    std::exception_ptr failure;
    port_stream::RefreshThread refresh(
        port, [&failure](std::exception_ptr ended) { failure = ended; },
        {.frameLimit = frames, .rateUnreachable = [](const std::string& what) {
             std::fprintf(stderr, "DotwallFrame: %s\n", what.c_str());
         }});
    const port_stream::RealTimeGrant grant = refresh.start(profile, std::move(frame));
    if (!grant.refused.empty()) {
        std::fprintf(stderr, "DotwallFrame: %s\n", port_stream::describe(grant).c_str());
    }
    while (refresh.running()) {
        if (StopSignals::atOnce()) {
            refresh.stopAtOnce();
        } else if (StopSignals::received() != 0) {
            refresh.requestStop();
        }
        std::this_thread::sleep_for(kSignalLook);
    }
    refresh.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    std::printf("%ld frames at %.2f frames/s\n", refresh.framesSent(), refresh.framesPerSecond());
}

}  // namespace dotwall::frame_tool
