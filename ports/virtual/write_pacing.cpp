#include "ports/virtual/write_pacing.h"

#include <algorithm>
#include <cstdio>

#include "base/runtime_error.h"
#include "base/whole_number.h"

namespace dotwall::ports::virtual_panel {

std::chrono::nanoseconds defaultPacing(long writesPerFrame) {
    return std::min(kRealPortWrite, kLongestFrame / writesPerFrame);
}

std::chrono::nanoseconds pacingFromEnvironment(long writesPerFrame) {
    const std::chrono::nanoseconds pace = defaultPacing(writesPerFrame);
    try {
        return std::chrono::nanoseconds(wholeNumberSetting("DOTWALL_VIRTUAL_PORT_NS", 0,
                                                           (kLongestFrame / writesPerFrame).count(),
                                                           " nanoseconds")
                                            .value_or(pace.count()));
    } catch (const RuntimeError& error) {
        std::fprintf(stderr,
                     "libWinIo.so (virtual): %s A frame of %ld writes may take %lld s at most, "
                     "since a stop waits for the frame to end; each write takes %lld ns.\n",
                     error.what(), writesPerFrame,
                     static_cast<long long>(kLongestFrame.count() / 1'000'000'000),
                     static_cast<long long>(pace.count()));
        return pace;
    }
}

}  // namespace dotwall::ports::virtual_panel
