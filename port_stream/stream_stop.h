#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace dotwall::port_stream {

// A stop of the stream asked from another thread: after the frame being sent, or at once,
// which also cuts a pause of the stream's short.
class StreamStop {
  public:
    using Clock = std::chrono::steady_clock;
    // Raised on the stream's thread by throwIfAtOnce: the frame is cut short.
    struct CutShort {};

    void clear() {
        afterFrame_ = false;
        atOnce_ = false;
    }
    void afterFrame() { afterFrame_ = true; }
    void atOnce() {
        const std::lock_guard lock(mutex_);
        afterFrame_ = true;
        atOnce_ = true;
        woken_.notify_all();
    }

    bool asked() const { return afterFrame_; }
    // Called before each write, so it costs one load while no stop at once was asked.
    void throwIfAtOnce() const {
        if (atOnce_.load(std::memory_order_relaxed)) [[unlikely]] {
            throw CutShort{};
        }
    }
    // Sleeps until `wakeAt`, or until a stop at once is asked.
    void sleepUntil(Clock::time_point wakeAt) {
        std::unique_lock lock(mutex_);
        woken_.wait_until(lock, wakeAt, [this] { return atOnce_.load(); });
    }

  private:
    std::atomic<bool> afterFrame_ = false;
    std::atomic<bool> atOnce_ = false;
    std::mutex mutex_;
    std::condition_variable woken_;
};

}  // namespace dotwall::port_stream
