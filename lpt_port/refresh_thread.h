#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#include "frames/frame_buffer.h"
#include "frames/port_signals.h"
#include "lpt_port/realtime.h"

namespace dotwall::lpt_port {

// GO!'s refresh on a thread of its own: the frame out of the port, frame after frame, at an
// even pace whatever the window does, until a stop is asked; then 0 once, so that no latch
// or clock line is left high. A new frame is taken only at a frame boundary, so every frame
// on the wire is one whole packing.
//
// With real-time priority the thread pauses briefly after each line: the kernel stalls a
// real-time thread that never sleeps for tens of milliseconds a second, which a panel shows
// as a dark band, while an even pause after every line lengthens each line alike.
class RefreshThread {
  public:
    struct Settings {
        long frameLimit = 0;  // ends by itself after this many frames; 0: when stopped
        bool pauseAfterLines = true;
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

    // Starts streaming `frame`; returns what the system granted the thread. While the stream
    // runs at real-time priority, the calling thread keeps off its CPU (see KeptOffCpu).
    RealTimeGrant start(const FrameBuffer& frame);
    // The frame goes out, whole, from the next frame boundary on.
    void replaceFrame(const FrameBuffer& frame);
    // Asks the stream to end after the frame being sent; returns at once.
    void requestStop() { stopRequested_ = true; }
    // Waits until the stream has ended.
    void join();

    bool running() const { return running_; }
    long framesSent() const { return framesSent_; }

  private:
    void stream(std::promise<RealTimeGrant>& granted);
    void takeNewFrame();

    port_signals::PortWriter& port_;
    Ended ended_;
    Settings settings_;
    std::thread thread_;
    std::atomic<bool> running_ = false;
    std::atomic<bool> stopRequested_ = false;
    std::atomic<long> framesSent_ = 0;
    FrameBuffer sending_;  // the refresh thread's own
    std::mutex newFrameMutex_;
    FrameBuffer newFrame_;
    std::atomic<bool> newFrameWaiting_ = false;
    std::optional<KeptOffCpu> starterKeptOff_;  // the starting thread, while the stream runs
};

}  // namespace dotwall::lpt_port
