// A port-access library that touches no port: it records what the program asks of it.
#include "recorded_port_calls.h"

using dotwall::testing::RecordedPortCalls;

extern "C" {

RecordedPortCalls* RecordingWinIoCalls() {
    static RecordedPortCalls calls;
    return &calls;
}

std::int16_t InitializeWinIo() {
    ++RecordingWinIoCalls()->initializeCalls;
    return RecordingWinIoCalls()->initializeAnswer;
}

std::int16_t ShutdownWinIo() {
    ++RecordingWinIoCalls()->shutdownCalls;
    return 1;
}

// Answers the number of bytes so far, a result that a caller must keep without judging.
std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    RecordedPortCalls& calls = *RecordingWinIoCalls();
    if (port == 888 && size == 1 && value <= 0xFF) {
        calls.bytes.push_back(static_cast<std::uint8_t>(value));
    } else {
        ++calls.strayWrites;
    }
    return static_cast<std::int16_t>(calls.bytes.size());
}
}
