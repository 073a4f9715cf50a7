// Port-access libraries that fall short, each built from this file as libWinIo.so in a folder
// of its own: without SetPortVal (PORTLESS), with only InitializeWinIo (INITIALIZE_ONLY), or
// with a SetPortVal that refuses every write (REFUSING).
#include <cstdint>

extern "C" {

std::int16_t InitializeWinIo() {
    return 1;
}

#ifndef INITIALIZE_ONLY
std::int16_t ShutdownWinIo() {
    return 1;
}
#endif

#ifdef REFUSING
std::int16_t SetPortVal(std::uint16_t, std::uint32_t, std::uint8_t) {
    return 0;
}
#endif
}
