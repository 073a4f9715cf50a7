#pragma once

#include <string>
#include <utility>

#include "library_binder.h"
#include "winio.h"

namespace dotwall::port_tool {

#ifdef _WIN32
inline constexpr const char* kWinIoFileName = "WinIo.dll";
#else
inline constexpr const char* kWinIoFileName = "libWinIo.so";
#endif

// DotwallLpt's outside functions: the port-access library, found by its file name through
// the system's library search (a path also works), each function bound on its first call.
// The program calls InitializeWinIo, ShutdownWinIo and SetPortVal.
struct Module1 {
    explicit Module1(std::string winIoFileName = kWinIoFileName)
        : winIo(std::move(winIoFileName)) {}

    OutsideLibrary winIo;
    BoundFunction<decltype(::MapPhysToLin)> MapPhysToLin{winIo, "MapPhysToLin"};
    BoundFunction<decltype(::UnmapPhysicalMemory)> UnmapPhysicalMemory{winIo,
                                                                       "UnmapPhysicalMemory"};
    BoundFunction<decltype(::GetPhysLong)> GetPhysLong{winIo, "GetPhysLong"};
    BoundFunction<decltype(::SetPhysLong)> SetPhysLong{winIo, "SetPhysLong"};
    BoundFunction<decltype(::GetPortVal)> GetPortVal{winIo, "GetPortVal"};
    BoundFunction<decltype(::SetPortVal)> SetPortVal{winIo, "SetPortVal"};
    BoundFunction<decltype(::InitializeWinIo)> InitializeWinIo{winIo, "InitializeWinIo"};
    BoundFunction<decltype(::ShutdownWinIo)> ShutdownWinIo{winIo, "ShutdownWinIo"};
    BoundFunction<decltype(::InstallWinIoDriver)> InstallWinIoDriver{winIo, "InstallWinIoDriver"};
    BoundFunction<decltype(::RemoveWinIoDriver)> RemoveWinIoDriver{winIo, "RemoveWinIoDriver"};
};

}  // namespace dotwall::port_tool
