#pragma once

#include <span>
#include <string>
#include <vector>

#include "text_screens/screen_model.h"

namespace dotwall::text_screens {

// `widget_set`'s arguments after the screen and widget ids, taken by the widget's type, with
// LCDd's replies: "success", or "huh? ..." and the widget left as it was (bars and big digits
// answer "success" after their complaint, as LCDd does).
std::vector<std::string> setWidget(Widget& widget, std::span<const std::string> arguments);

}  // namespace dotwall::text_screens
