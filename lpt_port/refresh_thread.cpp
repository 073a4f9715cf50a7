#include "lpt_port/refresh_thread.h"

#include <chrono>
#include <future>

namespace dotwall::lpt_port {

namespace {

// The share of each line's time the thread spends paused after it: more than the 5% of
// every second the kernel keeps from real-time threads by default.
constexpr int kLineTimePerPause = 16;

// Passes every byte on to the port and, after each line latch, pauses for a share of the
// time the line took.
class LinePacer final : public port_signals::PortWriter {
  public:
    LinePacer(port_signals::PortWriter& port, bool pause) : port_(port), pause_(pause) {}

    void write(std::uint8_t byte) override {
        port_.write(byte);
        if (pause_ && byte == port_signals::kLineLatch) {
            const auto now = Clock::now();
            std::this_thread::sleep_for((now - lineStart_) / kLineTimePerPause);
            lineStart_ = Clock::now();
        }
    }

  private:
    using Clock = std::chrono::steady_clock;

    port_signals::PortWriter& port_;
    bool pause_;
    Clock::time_point lineStart_ = Clock::now();
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
