#include "widgets/qt_message_sink.h"

#include <QMessageBox>

namespace dotwall {

void QtMessageSink::showCritical(const std::string& title, const std::string& text) {
    QMessageBox::critical(parent_.data(), QString::fromStdString(title),
                          QString::fromStdString(text), QMessageBox::Ok);
}

void QtMessageSink::showNote(const std::string& title, const std::string& text) {
    auto* note = new QMessageBox(QMessageBox::Information, QString::fromStdString(title),
                                 QString::fromStdString(text), QMessageBox::Ok, parent_.data());
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->setModal(false);
    note->show();
}

}  // namespace dotwall
