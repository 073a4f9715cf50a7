#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>

namespace dotwall {

// A POSIX shared memory object (Linux keeps them in /dev/shm) mapped into this process. The
// mapping stays valid when the object's name is removed or given to a newer object.
class SharedMemory {
  public:
    // Makes a new object of `size` zero bytes under `name` that only this user may open
    // (mode 0600), mapped for reading and writing. An object the name led to before, such as
    // one a crashed run left, loses the name. Raises RuntimeError FileAccess naming the
    // object and the reason when it cannot.
    static SharedMemory create(const std::string& name, std::size_t size);

    // Maps the object under `name` for reading, whole; nullopt when there is none. An object
    // of another user, or smaller than `smallest` or larger than `largest` bytes, is refused
    // unread: RuntimeError ForeignObject (FileAccess when it cannot be opened) naming the
    // object and what is wrong.
    static std::optional<SharedMemory> openForReading(const std::string& name, std::size_t smallest,
                                                      std::size_t largest);

    SharedMemory(SharedMemory&& other) noexcept;
    SharedMemory& operator=(SharedMemory&& other) noexcept;
    ~SharedMemory();

    void* address() const { return address_; }
    std::size_t size() const { return size_; }

    // Whether `name` still leads to this object.
    bool isNamed(const std::string& name) const;
    // Removes `name` when it still leads to this object; a newer object keeps it.
    void removeName(const std::string& name) const;

  private:
    SharedMemory(void* address, std::size_t size, dev_t device, ino_t inode)
        : address_(address), size_(size), device_(device), inode_(inode) {}

    void* address_ = nullptr;
    std::size_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace dotwall
