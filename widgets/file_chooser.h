#pragma once

#include <string>
#include <vector>

namespace dotwall {

// One choice of the open dialog's file-type list: the text shown, and the name patterns
// it lets through ("*" lets every name through, with or without a dot).
struct FileFilter {
    std::string label;
    std::vector<std::string> patterns;
};

// The file-open dialog, behind an interface so tests can answer it.
class FileChooser {
  public:
    virtual ~FileChooser() = default;

    // Shows a modal open dialog; returns the chosen file's full path as the system names it,
    // or an empty text when nothing was chosen.
    virtual std::string chooseFileToOpen(const std::string& title,
                                         const std::vector<FileFilter>& filters) = 0;
};

}  // namespace dotwall
