#include "panel_link/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "base/file_error.h"
#include "base/runtime_error.h"

namespace dotwall {

namespace {

// A file descriptor closed when it goes; the mapping made from it outlives it.
struct Descriptor {
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

constexpr const char* kObject = "shared memory object";

[[noreturn]] void refuse(const std::string& name, const std::string& what) {
    throw RuntimeError(ErrorKind::ForeignObject, "The " + std::string(kObject) + " \"" + name +
                                                     "\" " + what +
                                                     ": it is stale or foreign, and is not read.");
}

struct stat statusOf(const Descriptor& object, const std::string& name) {
    struct stat status {};
    if (fstat(object.fd, &status) != 0) {
        throwFileError(std::string("inspect the ") + kObject, name, errno);
    }
    return status;
}

void* map(const Descriptor& object, std::size_t size, int protection, const std::string& name) {
    void* address = mmap(nullptr, size, protection, MAP_SHARED, object.fd, 0);
    if (address == MAP_FAILED) {
        throwFileError(std::string("map the ") + kObject, name, errno);
    }
    return address;
}

}  // namespace

SharedMemory SharedMemory::create(const std::string& name, std::size_t size) {
    shm_unlink(name.c_str());
    const Descriptor object(shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR));
    if (object.fd < 0) {
        throwFileError(std::string("make the ") + kObject, name, errno);
    }
    try {
        if (ftruncate(object.fd, static_cast<off_t>(size)) != 0) {
            throwFileError(std::string("size the ") + kObject, name, errno);
        }
        const struct stat status = statusOf(object, name);
        return SharedMemory(map(object, size, PROT_READ | PROT_WRITE, name), size, status.st_dev,
                            status.st_ino);
    } catch (const RuntimeError&) {
        // No half-made object is left under the name.
        shm_unlink(name.c_str());
        throw;
    }
}

std::optional<SharedMemory> SharedMemory::openForReading(const std::string& name,
                                                         std::size_t smallest,
                                                         std::size_t largest) {
    const Descriptor object(shm_open(name.c_str(), O_RDONLY, 0));
    if (object.fd < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throwFileError(std::string("open the ") + kObject, name, errno);
    }
    const struct stat status = statusOf(object, name);
    if (status.st_uid != geteuid()) {
        refuse(name, "belongs to user " + std::to_string(status.st_uid) + ", not to user " +
                         std::to_string(geteuid()));
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size < smallest || size > largest) {
        refuse(name, "holds " + std::to_string(size) + " bytes, but a virtual panel holds " +
                         std::to_string(smallest) + " to " + std::to_string(largest));
    }
    return SharedMemory(map(object, size, PROT_READ, name), size, status.st_dev, status.st_ino);
}

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : address_(std::exchange(other.address_, nullptr)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
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
}

bool SharedMemory::isNamed(const std::string& name) const {
    const Descriptor object(shm_open(name.c_str(), O_RDONLY, 0));
    struct stat status {};
    return object.fd >= 0 && fstat(object.fd, &status) == 0 && status.st_dev == device_ &&
           status.st_ino == inode_;
}

void SharedMemory::removeName(const std::string& name) const {
    if (isNamed(name)) {
        shm_unlink(name.c_str());
    }
}

}  // namespace dotwall
