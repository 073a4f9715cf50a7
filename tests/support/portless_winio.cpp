// A port-access library that starts and stops its driver but has no SetPortVal, to see the
// stream fail the way it does when the real library lacks the function.
#include <cstdint>

extern "C" {

std::int16_t InitializeWinIo() {
    return 1;
}

std::int16_t ShutdownWinIo() {
    return 1;
}
}
