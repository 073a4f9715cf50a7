// A stand-in for the port-access library whose SetPortVal does nothing, so a benchmark times
// the program's side of a port write alone.
#include <cstdint>

extern "C" std::int16_t SetPortVal(std::uint16_t, std::uint32_t, std::uint8_t) {
    return 1;
}
