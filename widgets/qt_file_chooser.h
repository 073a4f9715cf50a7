#pragma once

#include <QPointer>
#include <QWidget>

#include "widgets/file_chooser.h"

namespace dotwall {

// The open dialog as Qt's own file dialog. A filter's label is shown as given (e.g.
// "All Files (*.*)") while its patterns decide which names are listed.
class QtFileChooser final : public FileChooser {
  public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}

    std::string chooseFileToOpen(const std::string& title,
                                 const std::vector<FileFilter>& filters) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace dotwall
