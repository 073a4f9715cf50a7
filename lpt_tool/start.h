#pragma once

#include <filesystem>
#include <optional>

#include "lpt_tool/form1.h"

namespace dotwall::lpt_tool {

// The program's start: creates the window, starts the port driver, and only when the port
// driver started shows the window, with `picture` in it when one is named, and takes its
// events until it is closed, by its user or by SIGTERM, SIGHUP or SIGINT (CloseOnSignals,
// from before the driver starts: a signal while a box is open ends the program as a close
// does). Returns the program's exit status: 0 after a close, 1 when the driver or its
// library failed.
int runDotwallLpt(LptWindowServices services = {},
                  const std::optional<std::filesystem::path>& picture = std::nullopt);

}  // namespace dotwall::lpt_tool
