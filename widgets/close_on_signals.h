#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <iterator>
#include <memory>

namespace dotwall {

// While it lives, SIGTERM, SIGHUP (the terminal closed) and SIGINT close the window as its
// user closes it, so that it ends as a closing ends: DotwallLpt finishes the frame it sends,
// leaves the port low and stops the driver. The signal only wakes the window's thread,
// through a socket pair (the one thing a signal handler may safely do); the window's thread
// closes the window. A second signal of a kind ends the program as usual.
class CloseOnSignals final : public QObject {
  public:
    explicit CloseOnSignals(QWidget* window);
    ~CloseOnSignals() override;
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

  private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    QPointer<QWidget> window_;
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[std::size(kSignals)]{};
};

}  // namespace dotwall
