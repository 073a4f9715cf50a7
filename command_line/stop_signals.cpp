#include "command_line/stop_signals.h"

#include <string>

#include "base/runtime_error.h"

namespace dotwall::command_line {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void noteSignal(int signal) {
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
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &noting, &previous_[i]);
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

int StopSignals::received() {
    return receivedSignal;
}

void StopSignals::throwIfReceived() {
    if (const int signal = received()) {
        throw RuntimeError(ErrorKind::Stopped, "Stopped by signal " + std::to_string(signal) + ".");
    }
}

}  // namespace dotwall::command_line
