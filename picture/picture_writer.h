#pragma once

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <string>

namespace dotwall {

// The format a picture is written in: the one its file's name suffix names (.png, .bmp, .jpg,
// ...), PNG for a name without a suffix. A suffix that names no format Qt writes raises
// FileAccess "Cannot write <what> "<path>": Qt cannot write GIF; it writes bmp, ... (named by
// the suffix).", `what` as writeWholeFile takes it, so that a command can refuse the name
// before it does anything.
QByteArray writableFormat(const std::filesystem::path& path, const std::string& what);

// The picture encoded in memory in the format writableFormat names, ready to be written whole.
// An encoder that fails raises FileAccess "Cannot write <what> "<path>": <reason>.".
QByteArray encodePicture(const QImage& picture, const std::filesystem::path& path,
                         const std::string& what);

// Encodes the picture and writes it whole (writeWholeFile).
void writePicture(const QImage& picture, const std::filesystem::path& path,
                  const std::string& what);

}  // namespace dotwall
