#pragma once

#include <QFile>
#include <filesystem>

namespace dotwall {

// Opens `file` to read what `path` names, by the name's own bytes: Qt would take a name that
// is not valid UTF-8 for another name. A folder, which opens but holds nothing to read, fails
// as EISDIR. Returns false with errno set when the file cannot be read.
bool openToRead(QFile& file, const std::filesystem::path& path);

}  // namespace dotwall
