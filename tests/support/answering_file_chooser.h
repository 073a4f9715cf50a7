#pragma once

#include <string>
#include <vector>

#include "file_chooser.h"

namespace dotwall::testing {

// Answers the open dialog with a file name set by the test and records how it was asked.
class AnsweringFileChooser final : public FileChooser {
  public:
    std::string chooseFileToOpen(const std::string& title,
                                 const std::vector<FileFilter>& filters) override {
        ++times_asked;
        asked_title = title;
        asked_filters = filters;
        return answer;
    }

    std::string answer;
    int times_asked = 0;
    std::string asked_title;
    std::vector<FileFilter> asked_filters;
};

}  // namespace dotwall::testing
