#include "picture/picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <cstring>

#include "base/bounded_file.h"
#include "base/runtime_error.h"
#include "picture/bitmap_check.h"
#include "picture/decoder_messages.h"

namespace dotwall {

namespace {

constexpr qint64 kMaxDecodedBytes = qint64{kMaxDecodedMegabytes} * 1024 * 1024;

void refuseMoreThanDecoded(qint64 bytes, const std::string& name) {
    if (bytes > kMaxDecodedBytes) {
        throwCannotLoad(name, QString("it holds more than %1 MiB").arg(kMaxDecodedMegabytes));
    }
}

QImage onWhitePaper(const QImage& picture) {
    if (!picture.hasAlphaChannel()) {
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    QImage flattened(picture.size(), QImage::Format_RGB32);
    flattened.fill(Qt::white);
    QPainter painter(&flattened);
    painter.drawImage(0, 0, picture);
    return flattened;
}

// Bitmaps and PNGs are read by Qt itself. Naming their format up front spares loading every
// picture plugin only to ask each whether it knows the file, which costs more than the
// whole conversion; other files are still recognised by their content.
void nameBuiltInFormat(QImageReader& reader) {
    const QByteArray start = reader.device()->peek(8);
    const QByteArray format = start.startsWith("BM")                  ? "bmp"
                              : start.startsWith("\x89PNG\r\n\x1a\n") ? "png"
                                                                      : "";
    if (!format.isEmpty()) {
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
    }
}

// At most `limit` bytes and one more, so that more than the limit shows.
QByteArray readAtMost(QIODevice& device, qint64 limit) {
    QByteArray bytes;
    for (QByteArray chunk = device.read(1 << 20); !chunk.isEmpty() && bytes.size() <= limit;
         chunk = device.read(1 << 20)) {
        bytes += chunk;
    }
    return bytes;
}

// Why the reader could not read the picture, in words a person can act on: the file is no
// picture Qt knows (by its first bytes, where they can be read again), or its decoder gave up
// on it, with what the decoder said. A decoder cannot tell a file cut short or otherwise
// damaged from a kind of picture it has no code for (a TIFF of floating-point grey, say); its
// own words often can.
QString whyNotRead(const QImageReader& reader, QIODevice& device,
                   const DecoderMessages& decoderSaid) {
    const QByteArray format = device.seek(0) ? QImageReader::imageFormat(&device) : reader.format();
    if (reader.error() == QImageReader::UnsupportedFormatError || format.isEmpty()) {
        return "it is no picture Qt reads";
    }
    const QString said = decoderSaid.everything();
    return "it is damaged or cut short, or a kind of " + QString(format).toUpper() +
           " picture Qt cannot decode" +
           (said.isEmpty() ? "" : " (the decoder said \"" + said + "\")");
}

// Reads a picture as it is, only when it is whole, from its bytes in memory (so that a
// bitmap's header can be checked against its size). `formatHint` names the format the file's name
// suggests. What the decoders say, from the first look at the header on, is heard by `decoderSaid`.
QImage readPicture(QBuffer& device, const std::string& name, const QByteArray& formatHint,
                   const DecoderMessages& decoderSaid) {
    QImageReader::setAllocationLimit(kMaxDecodedMegabytes);
    QImageReader reader(&device, formatHint);
    nameBuiltInFormat(reader);
    reader.setAutoTransform(false);
    const bool bitmap = reader.format() == "bmp";
    if (bitmap) {
        if (const QString damage = bitmapDamage(device); !damage.isEmpty()) {
            throwCannotLoad(name, "it is damaged: " + damage);
        }
    }
    const QSize size = reader.size();
    refuseTooLarge(size, name);
    QImage picture;
    if (bitmap && size.isValid()) {
        // Qt's bitmap reader leaves the pixels that run-length data skips unset; it reads
        // into a picture of its size and format when given one, so those stay colour 0.
        picture = QImage(size, reader.imageFormat());
        picture.fill(0);
    }
    if (!reader.read(&picture)) {
        throwCannotLoad(name, whyNotRead(reader, device, decoderSaid));
    }
    if (!decoderSaid.warnings().isEmpty()) {
        throwCannotLoad(name, "it is damaged: " + decoderSaid.warnings());
    }
    return picture;
}

// A picture's bytes read as it is; errors name it `name`.
QImage readPicture(QByteArray& bytes, const std::string& name, const QByteArray& formatHint) {
    refuseMoreThanDecoded(bytes.size(), name);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const DecoderMessages decoderSaid;
    return readPicture(buffer, name, formatHint, decoderSaid);
}

}  // namespace

[[noreturn]] void throwCannotLoad(const std::string& name, const QString& reason) {
    throw RuntimeError(
        ErrorKind::InvalidPicture,
        "The picture \"" + name + "\" cannot be loaded: " + reason.toStdString() + ".");
}

void refuseTooLarge(const QSize& size, const std::string& name) {
    if (size.isValid() && qint64{size.width()} * size.height() > kMaxPicturePixels) {
        throwCannotLoad(name, QString("it is %1 x %2 pixels, more than the %3 megapixels a "
                                      "picture may have")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(kMaxPicturePixels / 1'000'000));
    }
}

QImage loadPicture(const std::filesystem::path& path) {
    // Read whole, up to what Qt may decode at most: a pipe or /dev/zero cannot make the
    // program read without end, and the decoder sees a file that can be looked at again.
    const FileStart file = readFileStart(path, kMaxDecodedBytes);
    if (file.error != 0) {
        throwCannotLoad(path.string(), std::strerror(file.error));
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.bytes.data()),
                                               static_cast<qsizetype>(file.bytes.size()));
    const QByteArray suffix = QByteArray::fromStdString(path.extension().string()).mid(1);
    return readPicture(bytes, path.string(), suffix.toLower());
}

QImage loadPicture(QIODevice& device, const QString& name) {
    QByteArray bytes = readAtMost(device, kMaxDecodedBytes);
    return readPicture(bytes, name.toStdString(), {});
}

QImage blackAndWhite(const QImage& picture) {
    // Through 32-bit colour first, so even a two-colour picture in other colours than
    // black and white becomes black and white.
    return onWhitePaper(picture).convertToFormat(QImage::Format_Mono,
                                                 Qt::MonoOnly | Qt::DiffuseDither);
}

QImage loadMonochromePicture(const std::filesystem::path& path) {
    return blackAndWhite(loadPicture(path));
}

}  // namespace dotwall
