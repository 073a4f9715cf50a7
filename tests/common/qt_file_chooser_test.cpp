#include "qt_file_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "qt_printers.h"
#include "temporary_folder.h"

namespace dotwall {
namespace {

// Hands the open dialog, once it shows, to a function that looks at it and closes it.
void whenTheDialogShows(const std::function<void(QFileDialog&)>& inspectAndClose) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inspectAndClose(*dialog);
    });
}

const std::vector<FileFilter> kFilters = {{"Bitmap (*.bmp)", {"*.bmp"}},
                                          {"All Files (*.*)", {"*"}}};

TEST(QtFileChooser, ShowsTheLabelsAndListsNamesByThePatterns) {
    QStringList labels;
    QStringList bitmapPatterns;
    QStringList allPatterns;
    QString title;
    whenTheDialogShows([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        labels = dialog.nameFilters();
        auto* model = dialog.findChild<QFileSystemModel*>();
        bitmapPatterns = model->nameFilters();
        // Choose the second file type as a user does, in the dialog's type list.
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);
        allPatterns = model->nameFilters();
        dialog.reject();
    });
    QtFileChooser chooser;
    EXPECT_EQ(chooser.chooseFileToOpen("Open", kFilters), "") << "a cancel gives an empty name";
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(labels, QStringList({"Bitmap (*.bmp)", "All Files (*.*)"}));
    EXPECT_EQ(bitmapPatterns, QStringList{"*.bmp"});
    EXPECT_EQ(allPatterns, QStringList{"*"}) << "names without a dot are listed too";
}

TEST(QtFileChooser, ReturnsTheFullPathOfTheChosenFile) {
    testing::TemporaryFolder folder;
    const auto file = folder / "README";
    std::ofstream(file) << "no dot in this name";
    whenTheDialogShows([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(file.string()));
        static_cast<QDialog&>(dialog).accept();
    });
    QtFileChooser chooser;
    EXPECT_EQ(chooser.chooseFileToOpen("Open", kFilters), file.string());
}

}  // namespace
}  // namespace dotwall
