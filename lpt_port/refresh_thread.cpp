#include "lpt_port/refresh_thread.h"

#include <time.h>

#include <chrono>
#include <future>

namespace dotwall::lpt_port {

namespace {

// The share of the processor time each line took that the thread spends paused after it:
// more than the 5% of every second the kernel keeps from real-time threads by default.
constexpr int kLineTimePerPause = 16;
// A pause owed that is shorter waits for the next lines': a sleep costs a few microseconds
// of its own.
constexpr std::chrono::microseconds kShortestPause{10};

std::chrono::nanoseconds threadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Passes every byte on to the port and, after each line latch, pauses for a share of the
// processor time the line took. The kernel counts only that time against a real-time
// thread: a port that makes the thread wait (a USB adapter pacing the bytes) needs almost
// no pause, while a port that is written by a spinning port instruction, at about 1 µs a
// byte, gets the same pause after every line, which the panel does not show.
class LinePacer final : public port_signals::PortWriter {
  public:
    LinePacer(port_signals::PortWriter& port, bool pause) : port_(port), pause_(pause) {}

    void write(std::uint8_t byte) override {
        port_.write(byte);
        if (pause_ && byte == port_signals::kLineLatch) {
            const std::chrono::nanoseconds now = threadProcessorTime();
            owed_ += (now - lineStart_) / kLineTimePerPause;
            lineStart_ = now;
            if (owed_ >= kShortestPause) {
                std::this_thread::sleep_for(owed_);
                owed_ = {};
                lineStart_ = threadProcessorTime();  // the sleep's own time is no line's
            }
        }
    }

  private:
    port_signals::PortWriter& port_;
    bool pause_;
    std::chrono::nanoseconds lineStart_ = threadProcessorTime();
    std::chrono::nanoseconds owed_{};
};

std::span<const std::byte> bytesOf(const FrameBuffer& frame) {
    return {reinterpret_cast<const std::byte*>(frame.data()), FrameBuffer::kSize};
}

}  // namespace

RefreshThread::RefreshThread(port_signals::PortWriter& port, Ended ended, Settings settings)
    : port_(port), ended_(std::move(ended)), settings_(settings) {}

RefreshThread::~RefreshThread() {
    requestStop();
    join();
}

RealTimeGrant RefreshThread::start(const FrameBuffer& frame) {
    join();
    sending_ = frame;
    newFrameWaiting_ = false;
    stopRequested_ = false;
    framesSent_ = 0;
    running_ = true;
    std::promise<RealTimeGrant> granted;
    std::future<RealTimeGrant> grant = granted.get_future();
    thread_ = std::thread([this, &granted] { stream(granted); });
    const RealTimeGrant result = grant.get();
    if (result.priority && result.cpu >= 0) {
        starterKeptOff_.emplace(result.cpu);
    }
    return result;
}

void RefreshThread::replaceFrame(const FrameBuffer& frame) {
    const std::lock_guard lock(newFrameMutex_);
    newFrame_ = frame;
    newFrameWaiting_ = true;
}

void RefreshThread::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
    starterKeptOff_.reset();
}

// Never waits on the window: a frame handed over while the window still holds the lock goes
// out from the frame after.
void RefreshThread::takeNewFrame() {
    if (!newFrameWaiting_) {
        return;
    }
    const std::unique_lock lock(newFrameMutex_, std::try_to_lock);
    if (lock.owns_lock()) {
        sending_ = newFrame_;
        newFrameWaiting_ = false;
    }
}

void RefreshThread::stream(std::promise<RealTimeGrant>& granted) {
    const RealTimeGrant grant = runInRealTime({bytesOf(sending_), bytesOf(newFrame_)});
    granted.set_value(grant);  // `granted` is gone once start() has returned
    LinePacer port(port_, grant.priority && settings_.pauseAfterLines);
    std::exception_ptr failure;
    try {
        do {
            takeNewFrame();
            port_signals::writeFrame(sending_, port);
            ++framesSent_;
        } while (!stopRequested_ &&
                 (settings_.frameLimit == 0 || framesSent_ < settings_.frameLimit));
        port_.write(port_signals::kAllLinesLow);
    } catch (...) {
        failure = std::current_exception();
    }
    running_ = false;
    ended_(failure);
}

}  // namespace dotwall::lpt_port
