#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "ports/ftdi/writer_lock.h"

struct ftdi_context;
struct ftdi_transfer_control;

namespace dotwall::ports::ftdi {

// The bytes on their way to an adapter in bit-bang mode, which puts them on its pins at its
// own rate. Writers queue bytes one at a time; a thread of the stream's own sends them to
// the chip in USB transfers of up to kTransferBytes, several in flight, straight from a ring
// of kQueueBytes, so the pins never wait between two transfers while the writers keep up.
//
// - Any number of threads may write at once: each write holds one lock, so that every byte
//   is queued once and in its thread's order. A single writer always finds it free.
// - A writer never waits while the ring has room, and sleeps while it is full: it then
//   runs at exactly the chip's rate.
// - A transfer goes out when it is full; when only one is in flight, with what came in the
//   first half of that one's time, so that the chip does not run dry in the middle of a
//   stream; and otherwise when its first byte has waited a millisecond, so that the last
//   bytes of a stream reach the pins without a byte after them, and a stream starts with a
//   full transfer.
// - When a transfer goes out after the chip has taken every one before it while its pins
//   held a signal (any byte but 0: a stream ends with 0, and the adapter starts with it), the
//   chip ran dry in the middle of a stream: the writer or this thread did not keep up, an
//   underrun, which the panel sees as a stall. A transfer libftdi has not yet reported done
//   may be taken all the same, when this thread was late to ask: before each transfer it
//   therefore collects every one the chip has taken by its rate. A stall that falls on a 0
//   byte goes uncounted.
// - A transfer that fails (the adapter unplugged) fails the stream: every write after it is
//   refused, and failure() tells libftdi's reason.
class ChipStream {
  public:
    static constexpr std::size_t kQueueBytes = 64 * 1024;  // 14 ms at 4.7 MB/s
    static constexpr std::size_t kTransferBytes = 8 * 1024;
    static constexpr std::size_t kMostInFlight = kQueueBytes / kTransferBytes;
    static constexpr std::chrono::milliseconds kPartialTransferWait{1};
    static constexpr std::chrono::milliseconds kLongestSleep{10};

    // Starts sending to the open adapter, whose bit-bang mode and rate are set.
    ChipStream(ftdi_context* adapter, long bytesPerSecond);
    // Sends what is queued, waits for it, and ends the sending thread.
    ~ChipStream();
    ChipStream(const ChipStream&) = delete;
    ChipStream& operator=(const ChipStream&) = delete;

    // Queues the byte, waiting while the queue is full; false when the stream has failed.
    // The writers keep their own count and their last look at the sender's, and touch what
    // the sender writes only when the queue looks full or the sender asked to be woken.
    bool write(std::uint8_t byte) {
        const std::lock_guard writing(writerLock_);
        if (failed_.load(std::memory_order_relaxed)) [[unlikely]] {
            return false;
        }
        if (written_ - releasedSeen_ == kQueueBytes) [[unlikely]] {
            releasedSeen_ = released_.load(std::memory_order_acquire);
            if (written_ - releasedSeen_ == kQueueBytes && !waitForRoom()) {
                return false;
            }
        }
        ring_[written_ % kQueueBytes] = byte;
        ++written_;
        lastByte_.store(byte, std::memory_order_relaxed);
        published_.store(written_, std::memory_order_release);
        if (senderWakeAt_.load(std::memory_order_relaxed) <= written_) [[unlikely]] {
            wakeSender();
        }
        return true;
    }

    // Sends what is queued at once and waits until the chip has taken it all; false when the
    // stream has failed.
    bool drain();

    // The last byte queued.
    std::uint8_t lastByte() const { return lastByte_.load(std::memory_order_relaxed); }
    long underruns() const { return underruns_.load(std::memory_order_relaxed); }
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    // What failed, for a person; empty while nothing has.
    std::string failure() const;

  private:
    using Clock = std::chrono::steady_clock;
    struct InFlight {
        ftdi_transfer_control* transfer = nullptr;
        std::size_t bytes = 0;
        Clock::time_point taken;  // when the chip takes its last byte, by its rate
    };

    bool waitForRoom();
    void wakeSender();
    void send();
    bool submit(std::uint64_t from, std::size_t bytes);
    bool completeOldest();
    // Completes every transfer the chip has taken by its time, which libftdi has not yet
    // reported done when this thread was late to ask; false when one failed.
    bool completeTaken();
    // How long the chip takes to put that many bytes on its pins.
    Clock::duration chipTime(std::size_t bytes) const;
    // Sleeps until `enough` bytes were published, closing, the deadline (max(): none) or, with
    // one, a drain; and no longer than kLongestSleep.
    void waitForBytes(std::uint64_t enough, Clock::time_point deadline);
    void fail(const std::string& reason);
    void release(std::size_t bytes);

    ftdi_context* adapter_;
    double bytesPerSecond_;
    std::array<std::uint8_t, kQueueBytes> ring_{};
    // Each on a cache line of its own, so that the writers' and the sender's do not share.
    alignas(64) WriterLock writerLock_;  // held by one write at a time, for what follows
    std::uint64_t written_ = 0;          // the writers' own count of the bytes queued
    std::uint64_t releasedSeen_ = 0;     // the writers' last look at released_
    std::atomic<std::uint8_t> lastByte_ = 0;
    alignas(64) std::atomic<std::uint64_t> published_ = 0;  // written_, for the sender
    alignas(64) std::atomic<std::uint64_t> released_ = 0;   // bytes the chip has taken
    // The sender sleeps until this many are published. A writer looks without ordering its
    // look after its own store, so it may miss a wish made at that very moment: the sender
    // therefore never sleeps longer than kLongestSleep.
    alignas(64) std::atomic<std::uint64_t> senderWakeAt_;
    std::atomic<bool> writerWaiting_ = false;  // for room, holding writerLock_
    std::atomic<bool> draining_ = false;
    std::atomic<bool> closing_ = false;
    std::atomic<bool> failed_ = false;
    std::atomic<long> underruns_ = 0;
    std::string failure_;  // set once, before failed_

    // The sender's own.
    std::array<InFlight, kMostInFlight> inFlight_{};
    std::size_t oldest_ = 0;
    std::size_t inFlightCount_ = 0;
    Clock::time_point chipDryAt_{};  // when the chip takes the last byte sent, by its rate
    std::uint8_t lastSent_ = 0;      // the last byte sent: what the pins hold from then on

    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::condition_variable bytesArrived_;
    std::condition_variable drained_;
    std::thread sender_;
};

}  // namespace dotwall::ports::ftdi
