#pragma once

#include <QPointer>
#include <QWidget>

#include "widgets/message_sink.h"

namespace dotwall {

// Shows failures in a modal QMessageBox with a critical-error icon and one OK button, and
// notes in a box with an information icon that does not hold the window up.
class QtMessageSink final : public MessageSink {
  public:
    explicit QtMessageSink(QWidget* parent = nullptr) : parent_(parent) {}

    void showCritical(const std::string& title, const std::string& text) override;
    void showNote(const std::string& title, const std::string& text) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace dotwall
