// Any text typed into a box either converts or raises RuntimeError; nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/numeric_text.h"
#include "base/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        dotwall::toByte(text);
    } catch (const dotwall::RuntimeError&) {
    }
    try {
        dotwall::toInt16(text);
    } catch (const dotwall::RuntimeError&) {
    }
    return 0;
}
