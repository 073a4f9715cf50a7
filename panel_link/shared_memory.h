#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace dotwall {

// A POSIX shared memory object (Linux keeps them in /dev/shm) mapped into this process. The
// mapping stays valid when the object's name is removed or given to a newer object.
//
// Its maker holds an exclusive lock on it for as long as it lives (a lock the kernel lets go
// when the process ends, however it ends), so that anyone can tell a live object from one a
// killed program left behind.
class SharedMemory {
  public:
    // Makes a new object of `size` zero bytes that only this user may open (mode 0600), its
    // space reserved at once, mapped for reading and writing and locked, has `fill` write it,
    // and only then puts it under `name`. An object that a program which is gone left under
    // the name is replaced. Raises RuntimeError naming the object, the reason and what to do:
    // FileAccess when it cannot be made (a full /dev/shm among them), ForeignObject when the
    // name holds something that is not this user's to replace (another user's object, a
    // folder), PanelBusy when a live object holds it.
    static SharedMemory create(const std::string& name, std::size_t size,
                               const std::function<void(void*)>& fill);

    // Maps the object under `name` for reading, whole; nullopt when there is none. It is
    // opened without following a link and without waiting (a FIFO does not hold it up), and
    // refused unread unless it is a regular object of this user that nobody else may open,
    // of `smallest` to `largest` bytes: RuntimeError ForeignObject (FileAccess when it cannot
    // be opened) naming the object and what is wrong.
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
    // Whether the program that made the object still lives (holds its lock).
    bool makerLives() const;

  private:
    SharedMemory(int descriptor, void* address, std::size_t size, dev_t device, ino_t inode)
        : descriptor_(descriptor), address_(address), size_(size), device_(device), inode_(inode) {}

    int descriptor_ = -1;
    void* address_ = nullptr;
    std::size_t size_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

}  // namespace dotwall
