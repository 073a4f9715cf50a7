#include "panel_link/panel_link.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "base/runtime_error.h"

namespace dotwall::panel_link {

std::string objectName() {
    std::string name = "/dotwall-panel-" + std::to_string(geteuid());
    const char* own = std::getenv("DOTWALL_VIRTUAL_PANEL");
    if (own == nullptr) {
        return name;
    }
    const std::string panel = own;
    const bool plain = std::all_of(panel.begin(), panel.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_';
    });
    if (panel.empty() || panel.size() > 64 || !plain) {
        throw RuntimeError(ErrorKind::InvalidSetting,
                           "DOTWALL_VIRTUAL_PANEL=\"" + panel +
                               "\" names no panel: use up to 64 letters, digits, '-' or '_'.");
    }
    return name + "-" + panel;
}

}  // namespace dotwall::panel_link
