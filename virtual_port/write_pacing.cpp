#include "virtual_port/write_pacing.h"

#include <cstdio>

#include "base/runtime_error.h"
#include "base/whole_number.h"

namespace dotwall::virtual_port {

std::chrono::nanoseconds pacingFromEnvironment() {
    try {
        return std::chrono::nanoseconds(
            wholeNumberSetting("DOTWALL_VIRTUAL_PORT_NS", 0, 1'000'000'000, " nanoseconds")
                .value_or(kRealPortWrite.count()));
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "libWinIo.so (virtual): %s Each write takes %lld ns.\n", error.what(),
                     static_cast<long long>(kRealPortWrite.count()));
        return kRealPortWrite;
    }
}

}  // namespace dotwall::virtual_port
