#include "panel_tool/start_command.h"

namespace dotwall::panel_tool {

std::string startCommand(const std::filesystem::path& viewerFolder) {
    std::filesystem::path library = viewerFolder / "virtual";
    if (!std::filesystem::exists(library / "libWinIo.so")) {
        library = viewerFolder / DOTWALL_VIRTUAL_LIBRARY_FROM_PROGRAMS;
    }
    return "LD_LIBRARY_PATH=" + library.lexically_normal().string() + " " +
           (viewerFolder / "DotwallLpt").lexically_normal().string();
}

}  // namespace dotwall::panel_tool
