#include "port_stream/realtime.h"

#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dotwall::port_stream {

namespace {

// Above ordinary real-time work, below the kernel's own threads and interrupt handlers.
constexpr int kRefreshPriority = 50;
// The part of the stack the refresh loop uses, with room to spare; the whole stack would
// be more than an unprivileged process may lock.
constexpr std::size_t kLockedStackBytes = 64 * 1024;

std::string refusal(const char* what, int error) {
    return std::string(what) + " (" + std::strerror(error) + ")";
}

// Returns the CPU, or -1 when the thread could not be pinned.
int pinToLastCpu() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) {
        return -1;
    }
    for (int cpu = CPU_SETSIZE - 1; cpu >= 0; --cpu) {
        if (CPU_ISSET(cpu, &allowed)) {
            cpu_set_t last;
            CPU_ZERO(&last);
            CPU_SET(cpu, &last);
            return pthread_setaffinity_np(pthread_self(), sizeof last, &last) == 0 ? cpu : -1;
        }
    }
    return -1;
}

// The top of the calling thread's stack, where its deepest calls reach.
std::span<const std::byte> stackTop() {
    pthread_attr_t attributes;
    void* lowest = nullptr;
    std::size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0) {
        return {};
    }
    pthread_attr_getstack(&attributes, &lowest, &size);
    pthread_attr_destroy(&attributes);
    const std::size_t locked = size < kLockedStackBytes ? size : kLockedStackBytes;
    return {static_cast<const std::byte*>(lowest) + (size - locked), locked};
}

}  // namespace

std::string describe(const RealTimeGrant& grant) {
    return std::string(grant.priority ? "The refresh runs at real-time priority, but "
                                      : "The refresh runs at normal priority: ") +
           grant.refused + ".";
}

RealTimeGrant runInRealTime(std::initializer_list<std::span<const std::byte>> memory) {
    RealTimeGrant grant;
    const sched_param priority{.sched_priority = kRefreshPriority};
    if (const int error = pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority)) {
        grant.refused = refusal("real-time priority was refused", error);
        return grant;
    }
    grant.priority = true;
    grant.cpu = pinToLastCpu();
    auto lock = [&](std::span<const std::byte> region) {
        if (mlock(region.data(), region.size()) != 0) {
            grant.refused = refusal("its memory could not be locked", errno);
        }
    };
    lock(stackTop());
    for (const std::span<const std::byte> region : memory) {
        lock(region);
    }
    return grant;
}

KeptOffCpu::KeptOffCpu(int cpu) : thread_(gettid()) {
    CPU_ZERO(&allowed_);
    if (sched_getaffinity(thread_, sizeof allowed_, &allowed_) != 0 || !CPU_ISSET(cpu, &allowed_) ||
        CPU_COUNT(&allowed_) < 2) {
        return;
    }
    cpu_set_t others = allowed_;
    CPU_CLR(cpu, &others);
    narrowed_ = sched_setaffinity(thread_, sizeof others, &others) == 0;
}

KeptOffCpu::~KeptOffCpu() {
    if (narrowed_) {
        sched_setaffinity(thread_, sizeof allowed_, &allowed_);
    }
}

}  // namespace dotwall::port_stream
