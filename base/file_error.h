#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dotwall {

// Raises RuntimeError FileAccess: "Cannot <action> "<path>": <reason>."
[[noreturn]] void throwFileError(std::string_view action, const std::filesystem::path& path,
                                 const std::string& reason);

// The same with the system's reason for the error number `error`.
[[noreturn]] void throwFileError(std::string_view action, const std::filesystem::path& path,
                                 int error);

}  // namespace dotwall
