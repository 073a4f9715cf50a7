#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dotwall::panel_tool {

// What DotwallPanel's command line asks for.
struct PanelOptions {
    bool help = false;
    std::optional<std::string> frameFile;  // none: the live virtual panel
    int scale = 1;
    std::optional<std::string> snapshot;  // write the picture there and end
};

// A command line that does not say what to do; its message says why.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. Raises UsageError.
PanelOptions parsePanelOptions(const std::vector<std::string>& arguments);

extern const char* const kPanelHelp;

}  // namespace dotwall::panel_tool
