#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace dotwall::testing {

// What a program asked of the recording port-access library (recording_winio.cpp), which
// hands it out through its function RecordingWinIoCalls. The program writes from its refresh
// thread while the test reads: hold `mutex`.
struct RecordedPortCalls {
    std::mutex mutex;
    std::int16_t initializeAnswer = 1;  // what InitializeWinIo answers
    std::size_t refuseFrom = SIZE_MAX;  // SetPortVal answers 0 from this many bytes on
    int initializeCalls = 0;
    int shutdownCalls = 0;
    std::vector<std::uint8_t> bytes;       // SetPortVal's bytes for port 888, one byte wide
    int strayWrites = 0;                   // SetPortVal calls for any other port, size or value
    std::vector<std::thread::id> writers;  // the threads that called SetPortVal, in turn
    std::vector<int> writerPolicies;       // and their scheduling policies then
};

}  // namespace dotwall::testing
