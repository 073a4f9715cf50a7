#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>
#include <functional>
#include <memory>

#include "base/stop_signals.h"

namespace dotwall {

// While it lives, SIGTERM, SIGHUP (the terminal closed) and SIGINT close the window as its
// user closes it, so that it ends as a closing ends: DotwallLpt finishes the frame it sends,
// leaves the port low and stops the driver. A message box open at the time is closed first,
// so the code that opened it goes on to that end. The window counts as work half done (see
// StopSignals): the signal only wakes the window's thread, which closes the window; a signal
// after a stop was told slow calls `stopAtOnce` first, when given.
class CloseOnSignals final : public QObject {
  public:
    explicit CloseOnSignals(QWidget* window, std::function<void()> stopAtOnce = {});
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

  private:
    void close();

    StopSignals signals_;
    StopSignals::HalfDone windowOpen_;
    QPointer<QWidget> window_;
    std::function<void()> stopAtOnce_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace dotwall
