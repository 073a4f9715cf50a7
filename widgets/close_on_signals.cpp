#include "widgets/close_on_signals.h"

#include <sys/socket.h>
#include <unistd.h>

namespace dotwall {

namespace {

// The socket pair's ends: the handler writes into [0], the window's thread reads from [1].
int wakeUp[2] = {-1, -1};

extern "C" void wakeTheWindow(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
}

}  // namespace

CloseOnSignals::CloseOnSignals(QWidget* window) : window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0) {
        return;  // the signals keep their usual meaning
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakeUp[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(wakeUp[1], &byte, 1);
        if (window_ != nullptr) {
            window_->close();
        }
    });
    struct sigaction waking {};
    waking.sa_handler = wakeTheWindow;
    sigemptyset(&waking.sa_mask);
    waking.sa_flags = SA_RESETHAND | SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &waking, &previous_[i]);
        if (previous_[i].sa_handler == SIG_IGN) {
            sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
}

CloseOnSignals::~CloseOnSignals() {
    if (!notifier_) {
        return;
    }
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous_[i], nullptr);
    }
    notifier_.reset();
    ::close(wakeUp[0]);
    ::close(wakeUp[1]);
    wakeUp[0] = wakeUp[1] = -1;
}

}  // namespace dotwall
