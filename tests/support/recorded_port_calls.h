#pragma once

#include <cstdint>
#include <vector>

namespace dotwall::testing {

// What a program asked of the recording port-access library (recording_winio.cpp), which
// hands it out through its function RecordingWinIoCalls.
struct RecordedPortCalls {
    std::int16_t initializeAnswer = 1;  // what InitializeWinIo answers
    int initializeCalls = 0;
    int shutdownCalls = 0;
    std::vector<std::uint8_t> bytes;  // SetPortVal's bytes for port 888, one byte wide
    int strayWrites = 0;              // SetPortVal calls for any other port, size or value
};

}  // namespace dotwall::testing
