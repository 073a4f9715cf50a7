#include "ports/ftdi/chip_stream.h"

#include <ftdi.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <limits>

namespace dotwall::ports::ftdi {

namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
constexpr auto kNothingPending = std::chrono::steady_clock::time_point::min();
// Above the priority DotwallLpt's refresh asks for (50): the writer fills the queue in a
// moment and then waits, while the sender must take each transfer the chip finished at once.
constexpr int kSenderPriority = 51;

}  // namespace

ChipStream::ChipStream(ftdi_context* adapter, long bytesPerSecond)
    : adapter_(adapter), bytesPerSecond_(bytesPerSecond), senderWakeAt_(kNever) {
    sender_ = std::thread([this] { send(); });
}

ChipStream::~ChipStream() {
    drain();
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    bytesArrived_.notify_one();
    sender_.join();
}

bool ChipStream::waitForRoom() {
    std::unique_lock lock(mutex_);
    writerWaiting_.store(true, std::memory_order_seq_cst);
    room_.wait(lock, [&] {
        releasedSeen_ = released_.load(std::memory_order_seq_cst);
        return written_ - releasedSeen_ < kQueueBytes || failed();
    });
    writerWaiting_.store(false, std::memory_order_relaxed);
    return !failed();
}

void ChipStream::wakeSender() {
    const std::lock_guard lock(mutex_);
    bytesArrived_.notify_one();
}

bool ChipStream::drain() {
    std::unique_lock lock(mutex_);
    draining_ = true;
    bytesArrived_.notify_one();
    drained_.wait(lock, [&] { return released_.load() == published_.load() || failed(); });
    draining_ = false;
    return !failed();
}

std::string ChipStream::failure() const {
    return failed() ? failure_ : std::string();
}

void ChipStream::fail(const std::string& reason) {
    {
        const std::lock_guard lock(mutex_);
        if (!failed_) {
            failure_ = reason;
            failed_.store(true, std::memory_order_release);
        }
    }
    room_.notify_all();
    drained_.notify_all();
}

void ChipStream::release(std::size_t bytes) {
    released_.store(released_.load(std::memory_order_relaxed) + bytes, std::memory_order_seq_cst);
    if (writerWaiting_.load(std::memory_order_seq_cst) || draining_.load()) {
        const std::lock_guard lock(mutex_);
        room_.notify_one();
        drained_.notify_all();
    }
}

ChipStream::Clock::duration ChipStream::chipTime(std::size_t bytes) const {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(bytes) / bytesPerSecond_));
}

bool ChipStream::submit(std::uint64_t from, std::size_t bytes) {
    if (!completeTaken()) {
        return false;
    }
    // Read before libftdi has the transfer, which the chip cannot start on sooner: what this
    // thread reckons taken by the chip's time, the chip has taken or is about to.
    const Clock::time_point now = Clock::now();
    ftdi_transfer_control* transfer = ftdi_write_data_submit(
        adapter_, ring_.data() + from % kQueueBytes, static_cast<int>(bytes));
    if (transfer == nullptr) {
        fail(std::string("ftdi_write_data_submit: ") + ftdi_get_error_string(adapter_));
        return false;
    }
    if (inFlightCount_ == 0 && lastSent_ != 0) {
        underruns_.fetch_add(1, std::memory_order_relaxed);
    }
    // The chip starts on it when it has taken those before it, at the earliest now.
    chipDryAt_ = std::max(chipDryAt_, now) + chipTime(bytes);
    inFlight_[(oldest_ + inFlightCount_) % kMostInFlight] = {transfer, bytes, chipDryAt_};
    ++inFlightCount_;
    lastSent_ = ring_[(from + bytes - 1) % kQueueBytes];
    return true;
}

bool ChipStream::completeOldest() {
    const InFlight done = inFlight_[oldest_];
    oldest_ = (oldest_ + 1) % kMostInFlight;
    --inFlightCount_;
    // libftdi frees the transfer once it is done, whether it went out or not.
    if (ftdi_transfer_data_done(done.transfer) < 0) {
        fail(std::string("ftdi_transfer_data_done: ") + ftdi_get_error_string(adapter_));
        return false;
    }
    release(done.bytes);
    // Done before its time: the chip is ahead of its time here (its buffer takes the last
    // bytes before they reach the pins), and so for the transfers after it.
    if (const Clock::duration early = done.taken - Clock::now(); early > Clock::duration::zero()) {
        for (std::size_t next = 0; next < inFlightCount_; ++next) {
            inFlight_[(oldest_ + next) % kMostInFlight].taken -= early;
        }
        chipDryAt_ -= early;
    }
    return true;
}

bool ChipStream::completeTaken() {
    while (inFlightCount_ > 0 && inFlight_[oldest_].taken <= Clock::now()) {
        if (!completeOldest()) {
            return false;
        }
    }
    return true;
}

void ChipStream::waitForBytes(std::uint64_t enough, Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    senderWakeAt_.store(enough, std::memory_order_seq_cst);
    const bool idle = deadline == Clock::time_point::max();
    const auto woken = [&] {
        return published_.load(std::memory_order_acquire) >= enough || closing_ ||
               (!idle && draining_);
    };
    bytesArrived_.wait_until(lock, std::min(deadline, Clock::now() + kLongestSleep), woken);
    senderWakeAt_.store(kNever, std::memory_order_relaxed);
}

void ChipStream::send() {
    // Where the system allows it; otherwise the sender runs at normal priority.
    const sched_param priority{.sched_priority = kSenderPriority};
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);

    std::uint64_t submitted = 0;
    Clock::time_point pendingSince = kNothingPending;
    bool waitedToFeed = false;
    while (!failed()) {
        std::uint64_t pending = published_.load(std::memory_order_acquire) - submitted;
        const bool aged =
            pendingSince != kNothingPending && Clock::now() - pendingSince >= kPartialTransferWait;
        // A transfer that is not full goes out when the chip would otherwise run dry in the
        // middle of a stream, when its first byte has waited long enough, or on a drain.
        while (pending > 0 && inFlightCount_ < kMostInFlight &&
               (pending >= kTransferBytes || (inFlightCount_ <= 1 && waitedToFeed) || aged ||
                draining_)) {
            const std::size_t bytes = std::min<std::uint64_t>(
                {pending, kTransferBytes, kQueueBytes - submitted % kQueueBytes});
            if (!submit(submitted, bytes)) {
                break;
            }
            submitted += bytes;
            pending -= bytes;
            pendingSince = kNothingPending;
        }
        if (pending > 0 && pendingSince == kNothingPending) {
            pendingSince = Clock::now();
        }
        if (inFlightCount_ == 1 && pending < kTransferBytes && !waitedToFeed && !draining_) {
            // The chip has one transfer left: what comes in the first half of its time goes
            // out with the next transfer, before this thread waits for that one, or the chip
            // would run dry.
            waitForBytes(submitted + kTransferBytes,
                         Clock::now() + chipTime(inFlight_[oldest_].bytes) / 2);
            waitedToFeed = true;
            continue;
        }
        waitedToFeed = false;
        if (inFlightCount_ > 0) {
            completeOldest();
        } else if (closing_) {
            break;
        } else if (pending > 0) {
            waitForBytes(submitted + kTransferBytes, pendingSince + kPartialTransferWait);
        } else {
            waitForBytes(submitted + 1, Clock::time_point::max());
        }
    }
    // After a failure the transfers still in flight are waited for, and freed, all the same.
    while (inFlightCount_ > 0) {
        completeOldest();
    }
}

}  // namespace dotwall::ports::ftdi
