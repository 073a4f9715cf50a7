#pragma once

#include <filesystem>

namespace dotwall {

// What writing a new file in another's place must honour. A file written whole beside its
// target and renamed over it replaces the name, not the file, so where links lead, the
// target's protection and its mode and owner are looked up and kept here.

// Where a write to `path` lands: links followed to the file they name, which need not exist
// (a dangling link), so the new file takes the target's place and the link stays.
std::filesystem::path linkTarget(const std::filesystem::path& path);

// True when `path` leads to an existing file the user must not replace: one this user may
// not write, or one without any write permission, which root could write but which its owner
// made read-only on purpose.
bool isReadOnly(const std::filesystem::path& path);

// Gives the open file `file` the mode and owner of the file `path` leads to, when there is
// one. The owner is kept where the system allows (as root); false when the mode cannot be set.
bool copyModeAndOwner(const std::filesystem::path& path, int file);

}  // namespace dotwall
