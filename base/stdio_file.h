#pragma once

#include <cstdio>
#include <memory>

namespace dotwall {

// A C stdio stream that is closed when it goes, also when an error unwinds past it. Close
// it with std::fclose(file.release()) where the result of the close matters.
struct StdioFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

}  // namespace dotwall
