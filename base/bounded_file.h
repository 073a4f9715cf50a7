#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace dotwall {

// The start of a file: at most `most` bytes and one more, so that a longer file shows as
// such while a name such as /dev/zero, a huge file or a pipe that never ends cannot make a
// program read without end. `error` is the system's error number when the file cannot be
// opened or read (a folder: EISDIR), 0 otherwise.
struct FileStart {
    std::vector<std::uint8_t> bytes;
    int error = 0;
};
FileStart readFileStart(const std::filesystem::path& path, std::size_t most);

// The same, raising FileAccess "Cannot <action> "<path>": <reason>." when it cannot be read.
std::vector<std::uint8_t> readFileStart(const std::filesystem::path& path, std::size_t most,
                                        std::string_view action);

}  // namespace dotwall
