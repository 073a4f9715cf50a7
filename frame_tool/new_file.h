#pragma once

#include <filesystem>

namespace dotwall::frame_tool {

// A file written whole or not at all: the bytes go to a temporary file beside the target,
// which replaces the target only at commit(). A failure before commit() leaves no file
// behind: the temporary file is removed when this object goes. A symbolic link stays a
// link: the file it leads to is replaced. A target that is no regular file, such as
// /dev/stdout or a pipe, cannot be replaced whole; it is written directly.
class NewFile {
  public:
    explicit NewFile(const std::filesystem::path& target);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Where to write the bytes.
    const std::filesystem::path& writePath() const { return writePath_; }
    // Puts the written file in place of the target; raises FileAccess naming the target.
    void commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path writePath_;
    bool pending_ = false;  // a temporary file waits to replace the target
};

// Raises FileAccess: "Cannot <action> "<path>": <the system's reason>."
[[noreturn]] void throwFileError(const char* action, const std::filesystem::path& path, int error);

}  // namespace dotwall::frame_tool
