#include "widgets/close_on_signals.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>

namespace dotwall {

CloseOnSignals::CloseOnSignals(QWidget* window, std::function<void()> stopAtOnce)
    : signals_(QApplication::applicationName().toStdString()),
      window_(window),
      stopAtOnce_(std::move(stopAtOnce)) {
    if (StopSignals::wakeDescriptor() < 0) {
        return;  // the signals keep their usual meaning
    }
    notifier_ =
        std::make_unique<QSocketNotifier>(StopSignals::wakeDescriptor(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { close(); });
}

void CloseOnSignals::close() {
    char bytes[16];
    while (::read(StopSignals::wakeDescriptor(), bytes, sizeof bytes) > 0) {
    }
    if (StopSignals::atOnce() && stopAtOnce_) {
        stopAtOnce_();
    }
    // An open box is closed first: its event loop ends once the window's thread is back in it.
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QDialog*>(shown); box && box->isModal() && box->isVisible()) {
            box->reject();
        }
    }
    if (window_ != nullptr) {
        window_->close();
    }
}

}  // namespace dotwall
