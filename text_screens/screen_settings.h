#pragma once

#include <span>
#include <string>
#include <vector>

#include "text_screens/screen_model.h"

namespace dotwall::text_screens {

// `screen_set`'s options after the screen id (`-name N`, `-wid W`, ...; the dash may be left
// out), each answered on its own as LCDd answers it: "success", or "huh? ..." for an option
// it does not know, one without its value, or a value it refuses.
std::vector<std::string> setScreen(Screen& screen, std::span<const std::string> options);

}  // namespace dotwall::text_screens
