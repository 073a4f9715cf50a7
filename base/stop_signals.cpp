#include "base/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/runtime_error.h"

namespace dotwall {

namespace {

// A stop that has not ended the program this many seconds after its first signal is told.
constexpr unsigned kSlowStopSeconds = 1;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t firstStopSignal = 0;
volatile std::sig_atomic_t slowStopTold = 0;
volatile std::sig_atomic_t stopAtOnce = 0;
volatile std::sig_atomic_t workHalfDone = 0;
// The handler writes into [1], a waiting thread reads from [0].
int stopWakeUp[2] = {-1, -1};
// Made before the handlers are installed, which only read them.
std::string slowStopNote;
bool stopSignalTaken[std::size(kStopSignals)]{};  // false: ignored since the program's start

void handle(int signal, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);  // the handlers never run into each other
    for (const int stop : kStopSignals) {
        sigaddset(&action.sa_mask, stop);
    }
    sigaddset(&action.sa_mask, SIGALRM);
    action.sa_flags = flags;
    sigaction(signal, &action, nullptr);
}

extern "C" void noteStopSignal(int signal) {
    if (workHalfDone == 0) {
        _exit(kStoppedBySignal + signal);
    }
    const int savedErrno = errno;
    if (firstStopSignal == 0) {
        firstStopSignal = signal;
        alarm(kSlowStopSeconds);
    } else if (slowStopTold != 0) {
        stopAtOnce = 1;
    }
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(stopWakeUp[1], &byte, 1);
    errno = savedErrno;
}

void takeStopSignals(int flags) {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (stopSignalTaken[i]) {
            handle(kStopSignals[i], noteStopSignal, flags);
        }
    }
}

extern "C" void tellSlowStop(int) {
    const int savedErrno = errno;
    slowStopTold = 1;
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, slowStopNote.data(), slowStopNote.size());
    // Without SA_RESTART, the next signal cuts a read or write that blocks short.
    takeStopSignals(0);
    errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals(const std::string& program) {
    if (::pipe2(stopWakeUp, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    firstStopSignal = 0;
    slowStopTold = 0;
    stopAtOnce = 0;
    slowStopNote =
        program + ": stopping after the frame under way; a second signal stops at once.\n";
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &previous_[i]);
    }
    static_assert(kSignals[0] == kStopSignals[0] && kSignals[1] == kStopSignals[1] &&
                  kSignals[2] == kStopSignals[2]);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        stopSignalTaken[i] = previous_[i].sa_handler != SIG_IGN;
    }
    takeStopSignals(SA_RESTART);
    handle(SIGPIPE, SIG_IGN, 0);
    handle(SIGALRM, tellSlowStop, SA_RESTART);
}

StopSignals::~StopSignals() {
    if (stopWakeUp[0] < 0) {
        return;
    }
    alarm(0);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous_[i], nullptr);
    }
    ::close(stopWakeUp[0]);
    ::close(stopWakeUp[1]);
    stopWakeUp[0] = stopWakeUp[1] = -1;
}

StopSignals::HalfDone::HalfDone() {
    workHalfDone = workHalfDone + 1;
}

StopSignals::HalfDone::~HalfDone() {
    workHalfDone = workHalfDone - 1;
}

int StopSignals::received() {
    return firstStopSignal;
}

bool StopSignals::atOnce() {
    return stopAtOnce != 0;
}

void StopSignals::throwIfReceived() {
    if (const int signal = received()) {
        throw RuntimeError(ErrorKind::Stopped, "Stopped by signal " + std::to_string(signal) + ".");
    }
}

int StopSignals::wakeDescriptor() {
    return stopWakeUp[0];
}

}  // namespace dotwall
