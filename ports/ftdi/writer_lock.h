#pragma once

#include <atomic>
#include <chrono>

namespace dotwall::ports::ftdi {

// The lock each write to the adapter holds. Taking it costs one atomic exchange and giving it
// back a plain store, where std::mutex costs two atomic operations: with std::mutex a frame
// cost the stream's threads almost twice the processor time it cost without a lock, with this
// one about a third more (ftdi_port_bench). A writer that finds it held yields, and after
// kYields sleeps, so that one at real-time priority never keeps the holder, at a lower
// priority on the same processor, from giving it back.
class WriterLock {
  public:
    static constexpr int kYields = 64;
    static constexpr std::chrono::microseconds kNap{50};

    void lock() {
        if (held_.exchange(true, std::memory_order_acquire)) [[unlikely]] {
            lockWhenFree();
        }
    }
    void unlock() { held_.store(false, std::memory_order_release); }

  private:
    void lockWhenFree();

    std::atomic<bool> held_ = false;
};

}  // namespace dotwall::ports::ftdi
