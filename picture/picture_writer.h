#pragma once

#include <QByteArray>
#include <QImage>
#include <filesystem>
#include <string>

namespace dotwall {

// The picture encoded in memory in the format its file's name suffix names (.png, .bmp, .jpg,
// ...; PNG when Qt writes no such format), ready to be written whole. An encoder that fails
// raises FileAccess "Cannot write <what> "<path>": <reason>.", `what` as writeWholeFile
// takes it.
QByteArray encodePicture(const QImage& picture, const std::filesystem::path& path,
                         const std::string& what);

// Encodes the picture and writes it whole (writeWholeFile).
void writePicture(const QImage& picture, const std::filesystem::path& path,
                  const std::string& what);

}  // namespace dotwall
