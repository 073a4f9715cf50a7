#include "command_line/stop_signals.h"

#include <unistd.h>

#include <string>

#include "base/runtime_error.h"
#include "command_line/command_line.h"

namespace dotwall::command_line {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;
volatile std::sig_atomic_t halfDone = 0;

extern "C" void noteSignal(int signal) {
    if (halfDone == 0) {
        _exit(kStoppedBySignal + signal);
    }
    if (receivedSignal == 0) {
        receivedSignal = signal;
    }
}

}  // namespace

StopSignals::StopSignals() {
    receivedSignal = 0;
    struct sigaction noting {};
    noting.sa_handler = noteSignal;
    sigemptyset(&noting.sa_mask);
    noting.sa_flags = SA_RESETHAND | SA_RESTART;
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    sigemptyset(&ignoring.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], kSignals[i] == SIGPIPE ? &ignoring : &noting, &previous_[i]);
        if (previous_[i].sa_handler == SIG_IGN) {
            sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous_[i], nullptr);
    }
}

StopSignals::HalfDone::HalfDone() {
    halfDone = halfDone + 1;
}

StopSignals::HalfDone::~HalfDone() {
    halfDone = halfDone - 1;
}

int StopSignals::received() {
    return receivedSignal;
}

void StopSignals::throwIfReceived() {
    if (const int signal = received()) {
        throw RuntimeError(ErrorKind::Stopped, "Stopped by signal " + std::to_string(signal) + ".");
    }
}

}  // namespace dotwall::command_line
