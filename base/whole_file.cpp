#include "base/whole_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>

#include "base/file_error.h"
#include "base/stop_signals.h"

namespace dotwall {

namespace {

// Where a write to `path` lands: links followed to the file they name, which need not exist
// (a dangling link), so the new file takes the target's place and the link stays.
std::filesystem::path linkTarget(const std::filesystem::path& path) {
    constexpr int kMostHops = 40;  // as the system follows them; a loop then fails as ELOOP
    std::filesystem::path target = path;
    std::error_code error;
    for (int hop = 0; hop < kMostHops && std::filesystem::is_symlink(target, error); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

bool isReadOnly(const struct stat& status, const std::filesystem::path& path) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(path.c_str(), W_OK) != 0;
}

// Gives the open file the mode and owner of the file it replaces. The owner is kept where
// the system allows (as root); false when the mode cannot be set.
bool copyModeAndOwner(const struct stat& replaced, int file) {
    // Before the mode: a change of owner clears the set-user and set-group bits.
    [[maybe_unused]] const int ownerKept = ::fchown(file, replaced.st_uid, replaced.st_gid);
    return ::fchmod(file, replaced.st_mode & 07777) == 0;
}

// A descriptor closed when it goes; close() closes it earlier and tells whether all went out.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    void reset(int descriptor) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = descriptor;
    }
    bool close() { return ::close(std::exchange(descriptor_, -1)) == 0; }

  private:
    int descriptor_;
};

// The hidden ".NAME.NUMBER" for a file named `name`, with as much of the name as a folder
// whose names hold at most `longest` bytes leaves room for, cut where a UTF-8 character
// starts: it fits wherever the target's own name fits.
std::string hiddenName(std::string name, const std::string& number, long longest) {
    const auto room =
        static_cast<std::size_t>(std::max(0L, longest - 2 - static_cast<long>(number.size())));
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return "." + name + "." + number;
}

// A new file beside `target`, created as a new file of that name would be (its mode from the
// umask), and removed when it goes unless it took the target's place.
class FileBeside {
  public:
    explicit FileBeside(const std::filesystem::path& target) {
        const std::filesystem::path folder = target.parent_path();
        const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
        std::random_device random;
        for (int attempt = 0; attempt < 16 && !created_; ++attempt) {
            name_ = folder / hiddenName(target.filename().string(), std::to_string(random()),
                                        longest > 0 ? longest : NAME_MAX);
            file_.reset(::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            created_ = file_.get() >= 0;
            if (!created_ && errno != EEXIST) {
                break;
            }
        }
    }
    ~FileBeside() {
        if (created_ && !committed_) {
            ::unlink(name_.c_str());
        }
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    bool created() const { return created_; }
    int get() const { return file_.get(); }

    // Puts every byte on the disk and the file in the target's place; false with errno set
    // when that fails.
    bool commit(const std::filesystem::path& target) {
        if (::fsync(file_.get()) != 0 || !file_.close()) {
            return false;
        }
        committed_ = std::rename(name_.c_str(), target.c_str()) == 0;
        return committed_;
    }

  private:
    std::filesystem::path name_;
    Descriptor file_{-1};
    bool created_ = false;
    bool committed_ = false;
};

// Waits until a device or pipe takes bytes again. Until a stop signal came, its wake-up ends
// the wait at once; from then on the wake-up stays readable, and the wait looks this often
// whether a second signal asks to stop at once.
void waitUntilWritable(int descriptor) {
    constexpr int kStopLookMs = 50;
    const bool stopping = StopSignals::received() != 0;
    pollfd watched[] = {{descriptor, POLLOUT, 0}, {StopSignals::wakeDescriptor(), POLLIN, 0}};
    ::poll(watched, stopping ? 1 : 2, stopping ? kStopLookMs : -1);
}

}  // namespace

void FileOutput::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // A stop at once ends the work here, and the file beside the target goes with it.
        if (StopSignals::atOnce()) {
            StopSignals::throwIfReceived();
        }
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            waitUntilWritable(descriptor_);
            continue;
        }
        if (written <= 0) {
            fail_(written < 0 ? errno : EIO);
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
}

class WholeFileWriter {
  public:
    WholeFileWriter(const std::filesystem::path& target, const std::string& what)
        : target_(target), action_(what.empty() ? "write" : "write " + what) {}

    [[noreturn]] void fail(int error) const { throwFileError(action_, target_, error); }
    [[noreturn]] void fail(const std::string& reason) const {
        throwFileError(action_, target_, reason);
    }
    FileOutput output(int descriptor, std::optional<std::filesystem::path> replaced) const {
        return FileOutput(
            descriptor, [this](int error) { fail(error); }, std::move(replaced));
    }

    void write(const std::function<void(FileOutput&)>& writeBytes) const {
        struct stat status {};
        const bool exists = ::stat(target_.c_str(), &status) == 0;
        if (!exists && errno != ENOENT) {
            fail(errno);
        }
        if (exists && !S_ISREG(status.st_mode)) {
            writeDirectly(writeBytes);
            return;
        }
        const std::filesystem::path file = linkTarget(target_);
        if (exists && isReadOnly(status, file)) {
            fail("it is read-only");
        }
        FileBeside beside(file);
        if (!beside.created() || (exists && !copyModeAndOwner(status, beside.get()))) {
            fail(errno);
        }
        FileOutput out = output(beside.get(), exists ? std::optional(file) : std::nullopt);
        writeBytes(out);
        if (!beside.commit(file)) {
            fail(errno);
        }
    }

  private:
    // A device or pipe cannot be replaced: the bytes go into it. They are written without
    // blocking, so that a reader that takes nothing never holds a write where a stop signal
    // cannot reach it (a signal may land on another thread, or just before the write).
    void writeDirectly(const std::function<void(FileOutput&)>& writeBytes) const {
        Descriptor device(::open(target_.c_str(), O_WRONLY | O_CLOEXEC));
        if (device.get() < 0) {
            fail(errno);
        }
        if (::fcntl(device.get(), F_SETFL, ::fcntl(device.get(), F_GETFL) | O_NONBLOCK) != 0) {
            fail(errno);
        }
        FileOutput out = output(device.get(), std::nullopt);
        writeBytes(out);
        if (!device.close()) {
            fail(errno);
        }
    }

    const std::filesystem::path& target_;
    std::string action_;
};

void writeWholeFile(const std::filesystem::path& target, const std::string& what,
                    const std::function<void(FileOutput&)>& writeBytes) {
    WholeFileWriter(target, what).write(writeBytes);
}

void refuseToOverwriteAnInput(const std::filesystem::path& output, const std::string& what,
                              std::initializer_list<std::filesystem::path> inputs) {
    struct stat written {};
    if (::stat(output.c_str(), &written) != 0 || !S_ISREG(written.st_mode)) {
        return;
    }
    for (const std::filesystem::path& input : inputs) {
        struct stat read {};
        if (!input.empty() && ::stat(input.c_str(), &read) == 0 && read.st_dev == written.st_dev &&
            read.st_ino == written.st_ino) {
            WholeFileWriter(output, what)
                .fail("it is the input \"" + input.string() +
                      "\", which the output would destroy; choose another output");
        }
    }
}

}  // namespace dotwall
