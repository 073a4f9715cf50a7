#include "picture/bitmap_check.h"

#include <cstdlib>

namespace dotwall {

QString bitmapDamage(QIODevice& device) {
    const QByteArray header = device.peek(38);
    // A little-endian number in the header; 0 where the header is cut short.
    auto number = [&](int at, int bytes) {
        quint32 value = 0;
        for (int i = at + bytes - 1; i >= at && at + bytes <= header.size(); --i) {
            value = value << 8 | static_cast<quint8>(header[i]);
        }
        return value;
    };
    const quint32 pixelsAt = number(10, 4);
    // OS/2's 12-byte header has 16-bit sizes and no compression; Windows' larger ones 32-bit.
    const bool os2 = number(14, 4) == 12;
    const qint64 width = os2 ? qint64{number(18, 2)} : static_cast<qint32>(number(18, 4));
    const qint64 height =
        std::abs(os2 ? qint64{number(20, 2)} : qint64{static_cast<qint32>(number(22, 4))});
    const qint64 bitsPerPixel = number(os2 ? 24 : 28, 2);
    const quint32 compression = os2 ? 0 : number(30, 4);
    constexpr quint32 kUncompressed = 0, kBitFields = 3, kAlphaBitFields = 6;
    const bool uncompressed =
        compression == kUncompressed || compression == kBitFields || compression == kAlphaBitFields;
    // Rows without compression fill whole 4-byte words; compressed data states its size.
    // Compared by division, so that no forged size overflows.
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    const qint64 held = device.size() - pixelsAt;
    if (held < 0 || (uncompressed && height > 0 && rowBytes > held / height) ||
        (!uncompressed && number(34, 4) > held)) {
        return QString("its header promises more pixel data than its %1 bytes hold")
            .arg(device.size());
    }
    return {};
}

}  // namespace dotwall
