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

// The file that is replaced: the target, or the file a link leads to.
std::filesystem::path replacedFile(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(target, error);
    return error ? target : resolved;
}

}  // namespace

NewFile::NewFile(const std::filesystem::path& target) : target_(target), writePath_(target) {
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return;
    }
    target_ = replacedFile(target);
    writePath_ = temporaryBeside(target_);
    pending_ = true;
}

NewFile::~NewFile() {
    if (pending_) {
        std::error_code ignored;
        std::filesystem::remove(writePath_, ignored);
    }
}

void NewFile::commit() {
    if (!pending_) {
        return;
    }
    std::error_code error;
    std::filesystem::rename(writePath_, target_, error);
    if (error) {
        throwFileError("write", target_, error.value());
    }
    pending_ = false;
}

void throwFileError(const char* action, const std::filesystem::path& path, int error) {
    throw RuntimeError(ErrorKind::FileAccess, std::string("Cannot ") + action + " \"" +
                                                  path.string() + "\": " + std::strerror(error) +
                                                  ".");
}

}  // namespace dotwall::frame_tool
