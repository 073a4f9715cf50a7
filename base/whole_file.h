#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace dotwall {

// Where the bytes of a file being written go: the new file beside the target, or the device
// or pipe itself.
class FileOutput {
  public:
    // Writes all `size` bytes; a failure raises FileAccess naming the target and the reason,
    // a stop at once (see StopSignals) Stopped.
    void write(const void* data, std::size_t size);

    // The file the new one replaces, when it replaces one, so that a writer can carry on
    // what it holds.
    const std::optional<std::filesystem::path>& replacedFile() const { return replaced_; }

  private:
    friend class WholeFileWriter;
    FileOutput(int descriptor, std::function<void(int error)> fail,
               std::optional<std::filesystem::path> replaced)
        : descriptor_(descriptor), fail_(std::move(fail)), replaced_(std::move(replaced)) {}

    int descriptor_;
    std::function<void(int error)> fail_;
    std::optional<std::filesystem::path> replaced_;
};

// Writes every file the programs write, whole or not at all. `writeBytes` writes into the
// output it is given, which raises at a failed write; anything it raises ends the work.
//
// - The bytes go to a new file beside the target, ".NAME.NUMBER" (NAME cut short where the
//   folder's longest name needs it), which takes the target's place only once they are all
//   on the disk. A failure, a full disk or a stop leaves the old file untouched, or no file
//   where there was none, and no temporary file behind.
// - A link, dangling or not, stays a link and leads to the written file. A replaced file
//   keeps its mode, and its owner where the system allows it (as root).
// - A read-only file is refused: one the user may not write, or one without any write
//   permission, which root could write but its owner protected on purpose.
// - A device or pipe (/dev/stdout, a FIFO) cannot be replaced and is written directly.
// - The name is taken by its bytes, whatever their encoding.
//
// A failure raises FileAccess: "Cannot write <what> "<target>": <reason>.", where `what`
// names the file for a person ("the frame file") or is empty.
void writeWholeFile(const std::filesystem::path& target, const std::string& what,
                    const std::function<void(FileOutput&)>& writeBytes);

// No run may destroy one of its own inputs: raises FileAccess "Cannot write <what>
// "<output>": it is the input "<input>" ..." when the output is a regular file that one of
// the inputs (the empty ones skipped) names too, by any name or link.
void refuseToOverwriteAnInput(const std::filesystem::path& output, const std::string& what,
                              std::initializer_list<std::filesystem::path> inputs);

}  // namespace dotwall
