#include "qt_message_sink.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace dotwall {
namespace {

TEST(QtMessageSink, ShowsACriticalBoxWithOneOkButtonAndWaitsForTheUser) {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QtMessageSink sink;
    sink.showCritical("Kelvane32", "Whoops ! There is a problem with InitializeWinIo.");
    EXPECT_EQ(title.toStdString(), "Kelvane32");
    EXPECT_EQ(text.toStdString(), "Whoops ! There is a problem with InitializeWinIo.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}

}  // namespace
}  // namespace dotwall
