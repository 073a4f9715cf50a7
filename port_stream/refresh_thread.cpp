#include "port_stream/refresh_thread.h"

#include <chrono>
#include <future>
#include <span>

#include "port_stream/line_pacer.h"

namespace dotwall::port_stream {

namespace {

std::span<const std::byte> bytesOf(const FrameCycle& cycle) {
    return std::as_bytes(std::span(cycle.bytes));
}

}  // namespace

RefreshThread::RefreshThread(port_signals::PortWriter& port, Ended ended, Settings settings)
    : port_(port), ended_(std::move(ended)), settings_(settings) {}

RefreshThread::~RefreshThread() {
    requestStop();
    join();
}

RealTimeGrant RefreshThread::start(const PanelProfile& profile, const PanelFrame& frame) {
    join();
    profile_ = profile;
    sending_ = FrameCycle::of(frame);
    newCycle_ = sending_;
    newFrameWaiting_ = false;
    stop_.clear();
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

bool RefreshThread::replaceFrame(const PanelFrame& frame) {
    const std::lock_guard lock(newFrameMutex_);
    if (frame.size != newCycle_.size || frame.greyLevels != newCycle_.greyLevels) {
        return false;
    }
    newCycle_.show(frame);
    return newFrameWaiting_.exchange(true);
}

void RefreshThread::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
    starterKeptOff_.reset();
}

// Never waits on the window: a frame handed over while the window still holds the lock goes
// out from the cycle after. The two cycles trade places, both locked in memory, and the next
// frame handed over is made in the one just sent.
void RefreshThread::takeNewCycle() {
    if (!newFrameWaiting_) {
        return;
    }
    const std::unique_lock lock(newFrameMutex_, std::try_to_lock);
    if (lock.owns_lock()) {
        std::swap(sending_.bytes, newCycle_.bytes);
        newFrameWaiting_ = false;
    }
}

void RefreshThread::stream(std::promise<RealTimeGrant>& granted) {
    const RealTimeGrant grant = runInRealTime({bytesOf(sending_), bytesOf(newCycle_)});
    granted.set_value(grant);  // `granted` is gone once start() has returned
    LinePacer port(
        port_, stop_, grant.priority && settings_.pauseAfterLines,
        std::chrono::nanoseconds(profile_.linePeriodNs()), profile_.lines,
        settings_.rateUnreachable ? settings_.rateUnreachable : [](const std::string&) {});
    port_signals::FrameEncoder encoder(profile_);
    std::exception_ptr failure;
    const auto began = std::chrono::steady_clock::now();
    try {
        try {
            int f = 0;
            do {
                if (f == 0) {
                    takeNewCycle();
                }
                encoder.writeFrame(sending_.frame(f), port);
                f = f + 1 == sending_.frames() ? 0 : f + 1;
                ++framesSent_;
            } while (!stop_.asked() &&
                     (settings_.frameLimit == 0 || framesSent_ < settings_.frameLimit));
        } catch (const StreamStop::CutShort&) {
            // A stop at once: the port is left low all the same.
        }
        port_.write(port_signals::kAllLinesLow);
    } catch (...) {
        failure = std::current_exception();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    framesPerSecond_ = took.count() > 0 ? static_cast<double>(framesSent_) / took.count() : 0;
    running_ = false;
    ended_(failure);
}

}  // namespace dotwall::port_stream
