// A port-access library whose driver starts and stops but which has no SetPortVal.
#include <cstdint>

extern "C" {

std::int16_t InitializeWinIo() {
    return 1;
}

std::int16_t ShutdownWinIo() {
    return 1;
}
}
