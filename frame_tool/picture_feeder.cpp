#include "frame_tool/picture_feeder.h"

#include <chrono>

#include "base/runtime_error.h"

namespace dotwall::frame_tool {

namespace {

using Clock = std::chrono::steady_clock;

// How often the worker looks whether the refresh thread took the last frame.
constexpr std::chrono::milliseconds kTakenLook{1};
// How long a closed feeder waits for its worker to finish the picture it packs.
constexpr std::chrono::milliseconds kWorkerEnd{500};

// What the source raised, as play reports it: nothing for a stop signal that cut a read of the
// input short, which is play's own stop, not a fault of the input.
std::exception_ptr failureOf(std::exception_ptr raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const RuntimeError& error) {
        return error.kind() == ErrorKind::Stopped ? nullptr : raised;
    } catch (...) {
        return raised;
    }
}

}  // namespace

// What the worker and the program share: the worker may outlive the feeder while it waits
// for input that never comes.
struct PictureFeeder::Shared {
    std::unique_ptr<PictureSource> source;
    PanelProfile profile;
    PictureFitting fitting;
    std::mutex mutex;
    std::condition_variable closing;
    port_stream::RefreshThread* refresh = nullptr;  // null once closed
    bool holdLast = false;
    bool done = false;  // the worker has ended
    long handed = 0;
    long dropped = 0;
    std::exception_ptr failure;

    void end() {
        done = true;
        closing.notify_all();
    }
    // Waits until `time` or until closed; false when closed.
    bool waitUntil(std::unique_lock<std::mutex>& lock, Clock::time_point time) {
        return !closing.wait_until(lock, time, [this] { return refresh == nullptr; });
    }
};

PictureFeeder::PictureFeeder(std::unique_ptr<PictureSource> source, const PanelProfile& profile,
                             PictureFitting fitting)
    : shared_(std::make_shared<Shared>()) {
    shared_->source = std::move(source);
    shared_->profile = profile;
    shared_->fitting = fitting;
}

PictureFeeder::~PictureFeeder() {
    close();
}

PanelFrame PictureFeeder::firstFrame() {
    std::optional<TimedPicture> first = shared_->source->next();
    if (!first) {
        throw RuntimeError(ErrorKind::InvalidPicture, "There is no picture in the input.");
    }
    firstFor_ = first->shownFor;
    firstIsStill_ = first->still;
    return packPanelFrame(shared_->profile, first->picture, shared_->fitting);
}

void PictureFeeder::start(port_stream::RefreshThread& refresh, bool holdLast) {
    const Clock::time_point streamStart = Clock::now();
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->refresh = &refresh;
        shared_->holdLast = holdLast;
        shared_->handed = 1;
    }
    worker_ = std::thread(&PictureFeeder::feed, shared_, streamStart, firstFor_);
}

void PictureFeeder::feed(const std::shared_ptr<Shared>& shared, Clock::time_point streamStart,
                         std::chrono::milliseconds firstFor) {
    Clock::time_point due = streamStart;
    std::chrono::milliseconds shownFor = firstFor;
    try {
        while (std::optional<TimedPicture> picture = shared->source->next()) {
            const PanelFrame frame =
                packPanelFrame(shared->profile, picture->picture, shared->fitting);
            std::unique_lock lock(shared->mutex);
            const Clock::time_point now = Clock::now();
            due = shownFor.count() > 0 ? due + shownFor : now;
            // A worker late by more than this picture's time (a slow decode) starts the
            // schedule again from now: catching up would send the pictures after it in a burst.
            if (now > due + picture->shownFor) {
                due = now;
            }
            if (!shared->waitUntil(lock, due)) {
                shared->end();
                return;
            }
            shared->dropped += shared->refresh->replaceFrame(frame) ? 1 : 0;
            ++shared->handed;
            shownFor = picture->shownFor;
        }
    } catch (...) {
        const std::lock_guard lock(shared->mutex);
        shared->failure = failureOf(std::current_exception());
    }
    // The last picture stays for its time and until a whole frame of it went out.
    std::unique_lock lock(shared->mutex);
    bool open = shared->waitUntil(lock, due + shownFor);
    while (open && shared->refresh->frameWaiting()) {
        open = shared->waitUntil(lock, Clock::now() + kTakenLook);
    }
    if (open && !shared->holdLast) {
        shared->refresh->requestStop();
    }
    shared->end();
}

void PictureFeeder::close() {
    std::unique_lock lock(shared_->mutex);
    shared_->refresh = nullptr;
    shared_->closing.notify_all();
    if (!worker_.joinable()) {
        return;
    }
    const bool done = shared_->closing.wait_for(lock, kWorkerEnd, [this] { return shared_->done; });
    lock.unlock();
    if (done) {
        worker_.join();
    } else {
        worker_.detach();
    }
}

long PictureFeeder::handed() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->handed;
}

long PictureFeeder::dropped() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->dropped;
}

std::exception_ptr PictureFeeder::failure() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->failure;
}

}  // namespace dotwall::frame_tool
