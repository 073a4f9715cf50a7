#include "common/frame_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "common/dual_scan_frame.h"
#include "common/file_error.h"
#include "common/replaced_file.h"
#include "common/stdio_file.h"

namespace dotwall {

namespace {

constexpr std::size_t kBytes = dual_scan::kFrameFileBytes;

// A new file beside `target`, created as a new file of that name would be (its mode from
// the umask), and removed when it goes unless it took the target's place.
class FileBeside {
  public:
    explicit FileBeside(const std::filesystem::path& target) : target_(target) {
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            name_ = target.parent_path() /
                    ("." + target.filename().string() + "." + std::to_string(random()));
            file_.reset(std::fopen(name_.c_str(), "wxb"));
            if (file_ || errno != EEXIST) {
                break;
            }
        }
        created_ = file_ != nullptr;
    }
    ~FileBeside() {
        file_.reset();
        if (created_ && !committed_) {
            ::unlink(name_.c_str());
        }
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    std::FILE* get() const { return file_.get(); }

    // Puts every byte on the disk and the file in the target's place; false with errno set
    // when that fails.
    bool commit() {
        if (std::fflush(file_.get()) != 0 || ::fsync(fileno(file_.get())) != 0 ||
            std::fclose(file_.release()) != 0) {
            return false;
        }
        committed_ = std::rename(name_.c_str(), target_.c_str()) == 0;
        return committed_;
    }

  private:
    std::filesystem::path target_;
    std::filesystem::path name_;
    StdioFile file_;
    bool created_ = false;
    bool committed_ = false;
};

// Copies what lies beyond the frame in the file `from` to the end of `to`.
bool copyTail(const std::filesystem::path& from, std::FILE* to) {
    const StdioFile old(std::fopen(from.c_str(), "rb"));
    if (!old || std::fseek(old.get(), kBytes, SEEK_SET) != 0) {
        return false;
    }
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, old.get())) > 0) {
        if (std::fwrite(chunk, 1, got, to) != got) {
            return false;
        }
    }
    return std::ferror(old.get()) == 0;
}

}  // namespace

std::filesystem::path defaultFrameFilePath() {
#ifdef _WIN32
    return "d:\\screen.bin";
#else
    return "screen.bin";
#endif
}

void writeFrameFile(const FrameBuffer& frame, const std::filesystem::path& path) {
    static_assert(kBytes <= FrameBuffer::kSize);
    auto fail = [&](int error) { throwFileError("write the frame file", path, error); };
    struct stat status {};
    const bool replacing = ::stat(path.c_str(), &status) == 0;
    if (!replacing && errno != ENOENT) {
        fail(errno);
    }
    if (replacing && !S_ISREG(status.st_mode)) {
        // A device or pipe cannot be replaced: the frame goes into it directly.
        StdioFile file(std::fopen(path.c_str(), "wb"));
        if (!file || std::fwrite(frame.data(), 1, kBytes, file.get()) != kBytes ||
            std::fclose(file.release()) != 0) {
            fail(errno);
        }
        return;
    }
    const std::filesystem::path target = linkTarget(path);
    if (isReadOnly(target)) {
        throwFileError("write the frame file", path, "it is read-only");
    }
    // The new frame over the old file's tail is written whole beside it and then takes its
    // place, so a full disk leaves the old file as it was, or no new file.
    FileBeside file(target);
    if (!file.get() || std::fwrite(frame.data(), 1, kBytes, file.get()) != kBytes ||
        (replacing && !copyTail(target, file.get())) ||
        !copyModeAndOwner(target, fileno(file.get())) || !file.commit()) {
        fail(errno);
    }
}

}  // namespace dotwall
