#include "ports/ftdi/writer_lock.h"

#include <thread>

namespace dotwall::ports::ftdi {

void WriterLock::lockWhenFree() {
    for (int tries = 1; held_.exchange(true, std::memory_order_acquire); ++tries) {
        if (tries < kYields) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(kNap);
        }
    }
}

}  // namespace dotwall::ports::ftdi
