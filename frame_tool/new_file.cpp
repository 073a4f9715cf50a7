#include "new_file.h"

#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "runtime_error.h"

namespace dotwall::frame_tool {

namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    std::random_device random;
    return target.parent_path() /
           ("." + target.filename().string() + "." + std::to_string(random()) + ".part");
}

}  // namespace

NewFile::NewFile(std::filesystem::path target)
    : target_(std::move(target)), temporary_(temporaryBeside(target_)) {}

NewFile::~NewFile() {
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void NewFile::commit() {
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) {
        throwFileError("write", target_, error.value());
    }
    committed_ = true;
}

void throwFileError(const char* action, const std::filesystem::path& path, int error) {
    throw RuntimeError(ErrorKind::FileAccess, std::string("Cannot ") + action + " \"" +
                                                  path.string() + "\": " + std::strerror(error) +
                                                  ".");
}

}  // namespace dotwall::frame_tool
