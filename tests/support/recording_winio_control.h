#pragma once

#include <cstdint>
#include <vector>

#include "library_binder.h"

namespace dotwall::testing {

// The test's side of the recording port-access library (recording_winio.cpp), loaded by
// the same path the window binds, so both see the same recorded calls.
class RecordingWinIoControl {
  public:
    // Sets what InitializeWinIo answers and forgets every call so far.
    explicit RecordingWinIoControl(std::int16_t answerOfInitializeWinIo) {
        reset_(answerOfInitializeWinIo);
    }

    std::uint32_t initializeCalls() { return initializeCount_(); }
    std::uint32_t shutdownCalls() { return shutdownCount_(); }
    std::uint32_t portWrites() { return portCallCount_(); }

    // The bytes written so far; every call must go to port 888, one byte wide.
    std::vector<std::uint8_t> bytesWrittenTo888() {
        std::vector<std::uint8_t> bytes;
        const std::uint32_t count = portCallCount_();
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint16_t port = 0;
            std::uint32_t value = 0;
            std::uint8_t size = 0;
            portCall_(i, &port, &value, &size);
            if (port != 888 || size != 1 || value > 0xFF) {
                return {};
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
        return bytes;
    }

  private:
    OutsideLibrary library_{RECORDING_WINIO_PATH};
    BoundFunction<void(std::int16_t)> reset_{library_, "ResetRecordingWinIo"};
    BoundFunction<std::uint32_t()> initializeCount_{library_, "InitializeWinIoCallCount"};
    BoundFunction<std::uint32_t()> shutdownCount_{library_, "ShutdownWinIoCallCount"};
    BoundFunction<std::uint32_t()> portCallCount_{library_, "RecordedPortCallCount"};
    BoundFunction<bool(std::uint32_t, std::uint16_t*, std::uint32_t*, std::uint8_t*)> portCall_{
        library_, "RecordedPortCall"};
};

}  // namespace dotwall::testing
