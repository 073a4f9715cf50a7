// A port-access library that touches no port: it records what the program asks of it. In a
// program the test runs as a process, DOTWALL_RECORDED_PORT=FILE has it write FILE.started
// when the driver starts and the bytes written to the port into FILE when it stops;
// DOTWALL_RECORDED_PORT_WRITE_MS=N makes each write take N ms, as a stalled port does.
#include <sched.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "ports/winio/data_register.h"
#include "recorded_port_calls.h"

using dotwall::testing::RecordedPortCalls;

extern "C" {

RecordedPortCalls* RecordingWinIoCalls() {
    static RecordedPortCalls calls;
    return &calls;
}

std::int16_t InitializeWinIo() {
    RecordedPortCalls& calls = *RecordingWinIoCalls();
    const std::lock_guard lock(calls.mutex);
    ++calls.initializeCalls;
    if (const char* file = std::getenv("DOTWALL_RECORDED_PORT")) {
        std::ofstream(std::string(file) + ".started");
    }
    return calls.initializeAnswer;
}

std::int16_t ShutdownWinIo() {
    RecordedPortCalls& calls = *RecordingWinIoCalls();
    const std::lock_guard lock(calls.mutex);
    ++calls.shutdownCalls;
    if (const char* file = std::getenv("DOTWALL_RECORDED_PORT")) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(calls.bytes.data()),
                   static_cast<std::streamsize>(calls.bytes.size()));
    }
    return 1;
}

// Answers any number but 0 for a write it takes: only 0 says a write was refused.
std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    static const char* const stall = std::getenv("DOTWALL_RECORDED_PORT_WRITE_MS");
    if (stall != nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(stall)));
    }
    RecordedPortCalls& calls = *RecordingWinIoCalls();
    const std::lock_guard lock(calls.mutex);
    if (calls.bytes.size() >= calls.refuseFrom) {
        return 0;
    }
    if (port == dotwall::ports::kDataRegister && size == 1 && value <= 0xFF) {
        calls.bytes.push_back(static_cast<std::uint8_t>(value));
    } else {
        ++calls.strayWrites;
    }
    if (calls.writers.empty() || calls.writers.back() != std::this_thread::get_id()) {
        calls.writers.push_back(std::this_thread::get_id());
        calls.writerPolicies.push_back(sched_getscheduler(0));  // this thread's
    }
    return static_cast<std::int16_t>(1 + calls.bytes.size() % 1000);
}
}
