#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "frames/frame_cycle.h"
#include "frames/panel_frame.h"
#include "frames/panel_profile.h"
#include "frames/port_signals.h"
#include "port_stream/realtime.h"
#include "port_stream/stream_stop.h"

namespace dotwall::port_stream {

// GO!'s refresh on a thread of its own: the frame out of the port, frame after frame, at an
// even pace whatever the window does, until a stop is asked (after the frame being sent, or
// at once); then 0 once, so that no latch, clock or AC line is left high. A frame of more grey
// levels goes out as its cycle of one-bit frames (see FrameCycle), made on the thread that
// hands the frame over, so that the refresh sends a grey frame at the cost of a black-and-white
// one. A new frame is taken only where its cycle begins, at a frame boundary, so every cycle on
// the wire is one whole packing. Each line is paced by a LinePacer: at the profile's line rate
// when it sets one, and clear of the kernel's limit on real-time threads.
class RefreshThread {
  public:
    struct Settings {
        long frameLimit = 0;  // ends by itself after this many frames; 0: when stopped
        bool pauseAfterLines = true;
        // Told once, on the refresh thread, when the port cannot reach the profile's rate.
        std::function<void(const std::string& what)> rateUnreachable;
    };
    // Called on the refresh thread once the stream has ended: after 0 was written, or with
    // the failure of a write, which ends the stream at once.
    using Ended = std::function<void(std::exception_ptr failure)>;

    RefreshThread(port_signals::PortWriter& port, Ended ended, Settings settings);
    RefreshThread(port_signals::PortWriter& port, Ended ended)
        : RefreshThread(port, std::move(ended), Settings{}) {}
    // Ends a stream still running, after its frame, and waits for it.
    ~RefreshThread();
    RefreshThread(const RefreshThread&) = delete;
    RefreshThread& operator=(const RefreshThread&) = delete;

    // Starts streaming `frame`, packed for `profile`, at its line rate; returns what the
    // system granted the thread. While the stream runs at real-time priority, the calling
    // thread keeps off its CPU (see KeptOffCpu).
    RealTimeGrant start(const PanelProfile& profile, const PanelFrame& frame);
    // The frame, of the same size and grey levels, goes out whole from the next start of a
    // cycle on. Returns whether it replaced a frame handed over before that never went out (a
    // dropped one).
    bool replaceFrame(const PanelFrame& frame);
    // Whether a frame handed over waits for the next start of a cycle.
    bool frameWaiting() const { return newFrameWaiting_; }
    // Asks the stream to end after the frame being sent; returns at once.
    void requestStop() { stop_.afterFrame(); }
    // Asks the stream to end at its next write, the frame cut short, or at the end of a pause;
    // returns at once.
    void stopAtOnce() { stop_.atOnce(); }
    // Waits until the stream has ended.
    void join();

    bool running() const { return running_; }
    long framesSent() const { return framesSent_; }
    // The frames per second the last stream reached, from its start to its end.
    double framesPerSecond() const { return framesPerSecond_; }
    // The cycles per second: the frames per second over the frames of a cycle.
    double cyclesPerSecond() const { return framesPerSecond_ / profile_.framesPerCycle(); }

  private:
    void stream(std::promise<RealTimeGrant>& granted);
    void takeNewCycle();

    port_signals::PortWriter& port_;
    Ended ended_;
    Settings settings_;
    std::thread thread_;
    std::atomic<bool> running_ = false;
    StreamStop stop_;
    std::atomic<long> framesSent_ = 0;
    PanelProfile profile_;
    FrameCycle sending_;  // the refresh thread's own
    std::mutex newFrameMutex_;
    FrameCycle newCycle_;
    std::atomic<double> framesPerSecond_ = 0;
    std::atomic<bool> newFrameWaiting_ = false;
    std::optional<KeptOffCpu> starterKeptOff_;  // the starting thread, while the stream runs
};

}  // namespace dotwall::port_stream
