#include "base/bounded_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "base/file_error.h"
#include "base/stdio_file.h"

namespace dotwall {

namespace {

// Large files are read in pieces, so a limit far above a file's length costs no memory.
constexpr std::size_t kPiece = std::size_t{1} << 20;

}  // namespace

FileStart readFileStart(const std::filesystem::path& path, std::size_t most) {
    FileStart start;
    const StdioFile in(std::fopen(path.c_str(), "rbe"));
    if (!in) {
        start.error = errno;
        return start;
    }
    while (start.bytes.size() <= most) {
        const std::size_t had = start.bytes.size();
        const std::size_t wanted = std::min(kPiece, most + 1 - had);
        start.bytes.resize(had + wanted);
        const std::size_t got = std::fread(start.bytes.data() + had, 1, wanted, in.get());
        start.bytes.resize(had + got);
        if (got < wanted) {
            break;
        }
    }
    if (std::ferror(in.get()) != 0) {
        start.error = errno;
    }
    return start;
}

std::vector<std::uint8_t> readFileStart(const std::filesystem::path& path, std::size_t most,
                                        std::string_view action) {
    FileStart start = readFileStart(path, most);
    if (start.error != 0) {
        throwFileError(action, path, start.error);
    }
    return std::move(start.bytes);
}

}  // namespace dotwall
