#include "panel_link/shared_memory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include "base/file_error.h"
#include "base/runtime_error.h"

namespace dotwall {

namespace {

// A file descriptor closed when it goes, unless it is handed on.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    int release() { return std::exchange(descriptor_, -1); }

  private:
    int descriptor_;
};

constexpr const char* kObject = "shared memory object";
// A reader that looks whether the maker lives holds a shared lock for a moment; a maker that
// finds the old object's lock taken looks again this often before it calls it live.
constexpr int kLooksForAMaker = 5;

// Where Linux keeps the object of a name, for what only a file offers: a look at another
// user's object, and a link that never replaces.
std::string pathOf(const std::string& name) {
    return "/dev/shm" + name;
}

std::string objectName(const std::string& name) {
    return "The " + std::string(kObject) + " \"" + name + "\"";
}

[[noreturn]] void refuse(const std::string& name, const std::string& what) {
    throw RuntimeError(ErrorKind::ForeignObject, objectName(name) + " " + what +
                                                     ": it is stale or foreign, and is not read.");
}

// Opens the object without following a link and without waiting for a FIFO's writer.
int openObject(const std::string& name, int flags, mode_t mode = 0) {
    return shm_open(name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK, mode);
}

struct stat statusOf(int object, const std::string& name) {
    struct stat status {};
    if (fstat(object, &status) != 0) {
        throwFileError(std::string("inspect the ") + kObject, name, errno);
    }
    return status;
}

// What a thing under the name that is not a regular object is.
std::string kindOf(const struct stat& status) {
    return S_ISDIR(status.st_mode)    ? "a folder"
           : S_ISFIFO(status.st_mode) ? "a FIFO"
                                      : "no regular object";
}

void* map(int object, std::size_t size, int protection, const std::string& name) {
    void* address = mmap(nullptr, size, protection, MAP_SHARED, object, 0);
    if (address == MAP_FAILED) {
        throwFileError(std::string("map the ") + kObject, name, errno);
    }
    return address;
}

bool lockedByAnother(int object) {
    for (int look = 0; look < kLooksForAMaker; ++look) {
        if (flock(object, LOCK_EX | LOCK_NB) == 0) {
            flock(object, LOCK_UN);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

[[noreturn]] void refuseBusy(const std::string& name) {
    throw RuntimeError(ErrorKind::PanelBusy,
                       objectName(name) +
                           " is fed by another program already (DotwallLpt or DotwallFrame play "
                           "on the virtual port library): stop that one, or give both "
                           "DOTWALL_VIRTUAL_PANEL=NAME for a panel of another name.");
}

// Makes way for a new object under the name: removes one that a program which is gone left
// there, and refuses what is not this user's to remove or still lives; the owner of one this
// user may not open is still seen in /dev/shm.
void makeWay(const std::string& name) {
    struct stat status {};
    if (lstat(pathOf(name).c_str(), &status) != 0) {
        return;  // nothing there, or no /dev/shm to look in: the making tells
    }
    if (S_ISDIR(status.st_mode)) {
        throw RuntimeError(ErrorKind::ForeignObject,
                           objectName(name) +
                               " is a folder, which the panel cannot replace: "
                               "remove it, or give DOTWALL_VIRTUAL_PANEL=NAME "
                               "for a panel of another name.");
    }
    if (S_ISREG(status.st_mode) && status.st_uid == geteuid()) {
        const Descriptor old(openObject(name, O_RDONLY));
        if (old.get() >= 0 && lockedByAnother(old.get())) {
            refuseBusy(name);
        }
    }
    if (shm_unlink(name.c_str()) != 0 && errno != ENOENT) {
        const std::string owner =
            status.st_uid != geteuid()
                ? " belongs to user " + std::to_string(status.st_uid) + ", and"
                : "";
        throw RuntimeError(ErrorKind::ForeignObject,
                           objectName(name) + owner + " cannot be replaced (" +
                               std::strerror(errno) + "): remove it as its owner (rm /dev/shm" +
                               name +
                               "), or give DOTWALL_VIRTUAL_PANEL=NAME for a panel of "
                               "another name.");
    }
}

}  // namespace

SharedMemory SharedMemory::create(const std::string& name, std::size_t size,
                                  const std::function<void(void*)>& fill) {
    makeWay(name);
    // It is made and filled under a name of this process's own, then linked under `name`
    // whole: a reader that opens the name never sees it empty or half written.
    const std::string making = name + ".making-" + std::to_string(getpid());
    shm_unlink(making.c_str());  // left by a process of this number killed while making
    Descriptor object(openObject(making, O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR));
    if (object.get() < 0) {
        throwFileError(std::string("make the ") + kObject, name, errno);
    }
    try {
        if (flock(object.get(), LOCK_EX | LOCK_NB) != 0) {
            throwFileError(std::string("lock the ") + kObject, name, errno);
        }
        // Its space is taken now, so that a full /dev/shm is an error here and never a bus
        // error at some later write.
        if (const int error = posix_fallocate(object.get(), 0, static_cast<off_t>(size))) {
            throwFileError(std::string("make the ") + kObject, name, error);
        }
        const struct stat status = statusOf(object.get(), name);
        void* address = map(object.get(), size, PROT_READ | PROT_WRITE, name);
        SharedMemory made(object.release(), address, size, status.st_dev, status.st_ino);
        fill(made.address());
        // A link never replaces: a program that took the name since makeWay keeps it.
        if (link(pathOf(making).c_str(), pathOf(name).c_str()) != 0) {
            if (errno == EEXIST) {
                refuseBusy(name);
            }
            throwFileError(std::string("make the ") + kObject, name, errno);
        }
        shm_unlink(making.c_str());
        return made;
    } catch (const RuntimeError&) {
        // No half-made object is left behind.
        shm_unlink(making.c_str());
        throw;
    }
}

std::optional<SharedMemory> SharedMemory::openForReading(const std::string& name,
                                                         std::size_t smallest,
                                                         std::size_t largest) {
    Descriptor object(openObject(name, O_RDONLY));
    if (object.get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        if (errno == ELOOP) {
            refuse(name, "is a link");
        }
        throwFileError(std::string("open the ") + kObject, name, errno);
    }
    const struct stat status = statusOf(object.get(), name);
    if (!S_ISREG(status.st_mode)) {
        refuse(name, "is " + kindOf(status) + ", not a virtual panel");
    }
    if (status.st_uid != geteuid()) {
        refuse(name, "belongs to user " + std::to_string(status.st_uid) + ", not to user " +
                         std::to_string(geteuid()));
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
        refuse(name, "may be opened by others (mode " + std::string(mode) + ")");
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size < smallest || size > largest) {
        refuse(name, "holds " + std::to_string(size) + " bytes, but a virtual panel holds " +
                         std::to_string(smallest) + " to " + std::to_string(largest));
    }
    void* address = map(object.get(), size, PROT_READ, name);
    return SharedMemory(object.release(), address, size, status.st_dev, status.st_ino);
}

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      address_(std::exchange(other.address_, nullptr)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    std::swap(address_, other.address_);
    std::swap(size_, other.size_);
    std::swap(device_, other.device_);
    std::swap(inode_, other.inode_);
    return *this;
}

SharedMemory::~SharedMemory() {
    if (address_ != nullptr) {
        munmap(address_, size_);
    }
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

bool SharedMemory::isNamed(const std::string& name) const {
    const Descriptor object(openObject(name, O_RDONLY));
    struct stat status {};
    return object.get() >= 0 && fstat(object.get(), &status) == 0 && status.st_dev == device_ &&
           status.st_ino == inode_;
}

void SharedMemory::removeName(const std::string& name) const {
    if (isNamed(name)) {
        shm_unlink(name.c_str());
    }
}

bool SharedMemory::makerLives() const {
    if (flock(descriptor_, LOCK_SH | LOCK_NB) != 0) {
        return true;
    }
    flock(descriptor_, LOCK_UN);
    return false;
}

}  // namespace dotwall
