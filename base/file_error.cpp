#include "base/file_error.h"

#include <cstring>

#include "base/runtime_error.h"

namespace dotwall {

void throwFileError(std::string_view action, const std::filesystem::path& path,
                    const std::string& reason) {
    throw RuntimeError(ErrorKind::FileAccess, "Cannot " + std::string(action) + " \"" +
                                                  path.string() + "\": " + reason + ".");
}

void throwFileError(std::string_view action, const std::filesystem::path& path, int error) {
    throwFileError(action, path, std::string(std::strerror(error)));
}

}  // namespace dotwall
