#pragma once

#include <filesystem>

namespace dotwall::frame_tool {

// A file written whole or not at all: the bytes go to a temporary file beside the target,
// which replaces the target only at commit(). A failure before commit() leaves no file
// behind: the temporary file is removed when this object goes.
class NewFile {
  public:
    explicit NewFile(std::filesystem::path target);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Where to write the bytes.
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // Puts the written file in place of the target; raises FileAccess naming the target.
    void commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    bool committed_ = false;
};

// Raises FileAccess: "Cannot <action> "<path>": <the system's reason>."
[[noreturn]] void throwFileError(const char* action, const std::filesystem::path& path, int error);

}  // namespace dotwall::frame_tool
