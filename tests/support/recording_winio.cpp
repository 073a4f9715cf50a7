// A stand-in for the port-access library that touches no port: SetPortVal records its
// calls, InitializeWinIo answers what the test set and ShutdownWinIo is counted; the tests
// read all of it back through the same binder the program uses.
#include <cstdint>
#include <vector>

namespace {

struct PortCall {
    std::uint16_t port;
    std::uint32_t value;
    std::uint8_t size;
};

std::vector<PortCall>& recordedCalls() {
    static std::vector<PortCall> calls;
    return calls;
}

std::int16_t initializeResult = 1;
std::uint32_t initializeCalls = 0;
std::uint32_t shutdownCalls = 0;

}  // namespace

extern "C" {

// Returns the number of calls so far, so a caller's stored result can be told apart from
// a constant.
std::int16_t SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t size) {
    recordedCalls().push_back({port, value, size});
    return static_cast<std::int16_t>(recordedCalls().size());
}

std::uint32_t RecordedPortCallCount() {
    return static_cast<std::uint32_t>(recordedCalls().size());
}

// Fills in the call with the given number (from 0); false when there is no such call.
bool RecordedPortCall(std::uint32_t index, std::uint16_t* port, std::uint32_t* value,
                      std::uint8_t* size) {
    if (index >= recordedCalls().size()) {
        return false;
    }
    const PortCall& call = recordedCalls()[index];
    *port = call.port;
    *value = call.value;
    *size = call.size;
    return true;
}

void ForgetRecordedPortCalls() {
    recordedCalls().clear();
}

std::int16_t InitializeWinIo() {
    ++initializeCalls;
    return initializeResult;
}

std::int16_t ShutdownWinIo() {
    ++shutdownCalls;
    return 1;
}

// Sets what InitializeWinIo answers and forgets every call counted so far.
void ResetRecordingWinIo(std::int16_t answerOfInitializeWinIo) {
    initializeResult = answerOfInitializeWinIo;
    initializeCalls = 0;
    shutdownCalls = 0;
    recordedCalls().clear();
}

std::uint32_t InitializeWinIoCallCount() {
    return initializeCalls;
}

std::uint32_t ShutdownWinIoCallCount() {
    return shutdownCalls;
}
}
