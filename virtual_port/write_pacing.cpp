#include "virtual_port/write_pacing.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace dotwall::virtual_port {

std::chrono::nanoseconds pacingFromEnvironment() {
    constexpr long kLongest = 1'000'000'000;
    const char* text = std::getenv("DOTWALL_VIRTUAL_PORT_NS");
    if (text == nullptr) {
        return kRealPortWrite;
    }
    const std::string_view value(text);
    long nanoseconds = 0;
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), nanoseconds);
    if (error != std::errc() || end != value.data() + value.size() || nanoseconds < 0 ||
        nanoseconds > kLongest) {
        std::fprintf(stderr,
                     "libWinIo.so (virtual): DOTWALL_VIRTUAL_PORT_NS=\"%s\" is no whole number of "
                     "nanoseconds from 0 to %ld; each write takes %lld ns.\n",
                     text, kLongest, static_cast<long long>(kRealPortWrite.count()));
        return kRealPortWrite;
    }
    return std::chrono::nanoseconds(nanoseconds);
}

}  // namespace dotwall::virtual_port
