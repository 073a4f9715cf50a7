#pragma once

#include <string>

namespace dotwall::text_screens {

// The reply to a command that did what it was asked.
inline const std::string kSuccess = "success";

}  // namespace dotwall::text_screens
