#include "port_stream/refresh_thread.h"

#include <algorithm>

#include <chrono>
#include <future>
#include <span>

#include "port_stream/line_pacer.h"

namespace dotwall::port_stream {

namespace {

std::span<const std::byte> bytesOf(const PanelFrame& frame) {
    return std::as_bytes(std::span(frame.bytes));
}

}  // namespace

RefreshThread::RefreshThread(port_signals::PortWriter& port, Ended ended, Settings settings)
    : port_(port), ended_(std::move(ended)), settings_(settings) {}

RefreshThread::~RefreshThread() {
    requestStop();
    join();
}

RealTimeGrant RefreshThread::start(const PanelProfile& profile, PanelFrame frame) {
    join();
    profile_ = profile;
    sending_ = std::move(frame);
    newFrame_ = PanelFrame::dark(sending_.size, sending_.greyLevels);
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
    if (frame.size != newFrame_.size || frame.greyLevels != newFrame_.greyLevels) {
        return false;
    }
    std::copy(frame.bytes.begin(), frame.bytes.end(), newFrame_.bytes.begin());
    return newFrameWaiting_.exchange(true);
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
        std::copy(newFrame_.bytes.begin(), newFrame_.bytes.end(), sending_.bytes.begin());
        newFrameWaiting_ = false;
    }
}

void RefreshThread::stream(std::promise<RealTimeGrant>& granted) {
    const RealTimeGrant grant = runInRealTime({bytesOf(sending_), bytesOf(newFrame_)});
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
            do {
                takeNewFrame();
                encoder.writeFrame(sending_.bytes, port);
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
