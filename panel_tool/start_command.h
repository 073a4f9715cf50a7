#pragma once

#include <filesystem>
#include <string>

namespace dotwall::panel_tool {

// The command that starts DotwallLpt on the virtual library from this viewer's build or
// installation: "LD_LIBRARY_PATH=<virtual library's folder> <DotwallLpt>", both beside
// `viewerFolder`, the folder DotwallPanel runs from. The build keeps the library in
// bin/virtual; an installation in lib/dotwall/virtual.
std::string startCommand(const std::filesystem::path& viewerFolder);

}  // namespace dotwall::panel_tool
