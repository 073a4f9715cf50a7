#pragma once

#include <sched.h>
#include <sys/types.h>

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>

namespace dotwall::port_stream {

// What the system granted a thread that asked to run as a panel refresh should.
struct RealTimeGrant {
    bool priority = false;  // SCHED_FIFO on the last CPU the process may use
    int cpu = -1;           // that CPU, when the thread was pinned to it
    std::string refused;    // what was not granted and why, for a person; empty when all was
};

// What a person is told when not all was granted, e.g. "The refresh runs at normal
// priority: real-time priority was refused (Operation not permitted)."
std::string describe(const RealTimeGrant& grant);

// Asks for the calling thread: real-time priority (SCHED_FIFO) on the last CPU the process
// may use, and the top of its stack and `memory` locked in RAM, so that neither other work
// nor a page fault stalls the refresh. What is refused is left as it was.
RealTimeGrant runInRealTime(std::initializer_list<std::span<const std::byte>> memory);

// While it lives, keeps the thread that made it, and the threads that thread starts (Qt's
// picture converters among them), off `cpu`, where a real-time refresh runs: work of theirs
// queued there would wait for the refresh's pauses until the kernel lends it the CPU in
// stalls of milliseconds. Nothing changes when `cpu` is the thread's only CPU.
class KeptOffCpu {
  public:
    explicit KeptOffCpu(int cpu);
    ~KeptOffCpu();
    KeptOffCpu(const KeptOffCpu&) = delete;
    KeptOffCpu& operator=(const KeptOffCpu&) = delete;

  private:
    pid_t thread_;
    cpu_set_t allowed_;
    bool narrowed_ = false;
};

}  // namespace dotwall::port_stream
