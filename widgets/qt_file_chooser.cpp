#include "widgets/qt_file_chooser.h"

#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>

namespace dotwall {

namespace {

QStringList toQStrings(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

}  // namespace

std::string QtFileChooser::chooseFileToOpen(const std::string& title,
                                            const std::vector<FileFilter>& filters) {
    QFileDialog dialog(parent_.data(), QString::fromStdString(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog, so the listed names follow the filters' patterns rather than the
    // patterns Qt would read out of the labels ("*.*" would hide names without a dot).
    dialog.setOption(QFileDialog::DontUseNativeDialog);

    QStringList labels;
    for (const FileFilter& filter : filters) {
        labels.append(QString::fromStdString(filter.label));
    }
    dialog.setNameFilters(labels);
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto applyPatterns = [&](const QString& label) {
        const auto index = labels.indexOf(label);
        if (model != nullptr && index >= 0) {
            model->setNameFilters(toQStrings(filters[static_cast<std::size_t>(index)].patterns));
        }
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, applyPatterns);
    if (!labels.isEmpty()) {
        applyPatterns(labels.first());
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

}  // namespace dotwall
