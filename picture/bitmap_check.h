#pragma once

#include <QIODevice>
#include <QString>

namespace dotwall {

// Qt's bitmap (BMP) reader decodes a bitmap whose header promises more pixel data than the
// file holds and leaves the pixels it lacks unset. This compares the header with the size of
// `device` (a file or buffer, not a pipe) before decoding: it tells why the bitmap is damaged,
// or gives an empty text when the pixel data fits the file. The device must be at its start.
QString bitmapDamage(QIODevice& device);

}  // namespace dotwall
