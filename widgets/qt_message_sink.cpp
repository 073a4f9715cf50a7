#include "widgets/qt_message_sink.h"

#include <QMessageBox>

namespace dotwall {

void QtMessageSink::showCritical(const std::string& title, const std::string& text) {
    QMessageBox::critical(parent_.data(), QString::fromStdString(title),
                          QString::fromStdString(text), QMessageBox::Ok);
}

}  // namespace dotwall
