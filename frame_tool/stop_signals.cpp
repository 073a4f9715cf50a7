#include "frame_tool/stop_signals.h"

namespace dotwall::frame_tool {

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

}  // namespace dotwall::frame_tool
