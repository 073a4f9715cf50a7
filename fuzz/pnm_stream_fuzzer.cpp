// Any bytes as a stream of PNM pictures on a descriptor: every outcome is a whole picture whose
// levels fill its size, a clean end, or RuntimeError; nothing else.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "base/runtime_error.h"
#include "picture_stream/picture_stream_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    static const int input = memfd_create("pnm_stream", 0);
    if (ftruncate(input, 0) != 0 || pwrite(input, data, size, 0) != static_cast<ssize_t>(size) ||
        lseek(input, 0, SEEK_SET) != 0) {
        __builtin_trap();
    }
    const auto reader = picture_stream::pnmStreamReader(input, "fuzz input");
    try {
        for (long read = 1; const auto picture = reader->next(); ++read) {
            if (picture->width < 1 || picture->height < 1 ||
                picture->levels.size() != std::size_t(picture->width) * picture->height ||
                reader->picturesRead() != read) {
                __builtin_trap();
            }
        }
    } catch (const RuntimeError&) {
    }
    return 0;
}
