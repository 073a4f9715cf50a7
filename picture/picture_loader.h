#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <filesystem>
#include <string>

#include "base/picture_limit.h"

namespace dotwall {

// What Qt may allocate for one decoded picture: the largest picture in the deepest pixel
// format Qt decodes into (four 32-bit floating-point channels, 16 bytes a pixel, from a
// TIFF), so a picture within kMaxPicturePixels decodes whatever its depth: 763 MiB.
inline constexpr int kMaxDecodedMegabytes = kMaxPicturePixels * 16 / (1024 * 1024) + 1;

// Raises the InvalidPicture error "The picture "NAME" cannot be loaded: REASON.".
[[noreturn]] void throwCannotLoad(const std::string& name, const QString& reason);
// Refuses a picture of more than kMaxPicturePixels by the size its header gives.
void refuseTooLarge(const QSize& size, const std::string& name);

// Loads a picture file in any format Qt's image readers know, as it is, taking it only when
// its decoder read all of it without error. The file is named by its bytes, as the system
// names it. A file that cannot be loaded raises an InvalidPicture error that names the file
// and the reason: missing, a folder, not readable, no picture, too large, or damaged.
QImage loadPicture(const std::filesystem::path& path);

// Reads a picture from a device as loadPicture reads a file; errors name it `name`.
QImage loadPicture(QIODevice& device, const QString& name);

// A picture in black and white with error-diffusion dithering, as loadMonochromePicture
// turns it.
QImage blackAndWhite(const QImage& picture);

// Loads a picture as loadPicture does and turns it into black and white with error-diffusion
// dithering, so the window shows exactly what the panel will show. A picture that is already
// pure black and white keeps every pixel; transparent parts count as white paper.
QImage loadMonochromePicture(const std::filesystem::path& path);

}  // namespace dotwall
