#include "picture/picture_loader.h"

#include <QImageReader>
#include <QPainter>

#include "common/runtime_error.h"

namespace dotwall {

namespace {

[[noreturn]] void throwCannotLoad(const QString& path, const QString& reason) {
    throw RuntimeError(ErrorKind::InvalidPicture,
                       "The picture \"" + path.toStdString() +
                           "\" cannot be loaded: " + reason.toStdString() + ".");
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
    QIODevice* device = reader.device();
    if (device == nullptr || (!device->isOpen() && !device->open(QIODevice::ReadOnly))) {
        return;  // the reader reports why it cannot read
    }
    const QByteArray start = device->peek(8);
    const QByteArray format = start.startsWith("BM")                  ? "bmp"
                              : start.startsWith("\x89PNG\r\n\x1a\n") ? "png"
                                                                      : "";
    if (!format.isEmpty()) {
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
    }
}

// Reads a picture as it is: one reader's settings and size limit for files and devices.
QImage readPicture(QImageReader& reader, const QString& name) {
    // Qt's own ceiling on a decoded picture (128 MB unless set) would refuse a 33-megapixel
    // photo; a 50-megapixel picture in 32-bit colour takes 200 MB.
    QImageReader::setAllocationLimit(kMaxDecodedMegabytes);
    nameBuiltInFormat(reader);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64{size.width()} * size.height() > kMaxPicturePixels) {
        throwCannotLoad(name, QString("it is %1 x %2 pixels, more than the %3 megapixels a "
                                      "picture may have")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(kMaxPicturePixels / 1'000'000));
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        throwCannotLoad(name, reader.errorString());
    }
    return picture;
}

}  // namespace

QImage loadPicture(const QString& path) {
    QImageReader reader(path);
    return readPicture(reader, path);
}

QImage loadPicture(QIODevice& device, const QString& name) {
    QImageReader reader(&device);
    return readPicture(reader, name);
}

QImage blackAndWhite(const QImage& picture) {
    // Through 32-bit colour first, so even a two-colour picture in other colours than
    // black and white becomes black and white.
    return onWhitePaper(picture).convertToFormat(QImage::Format_Mono,
                                                 Qt::MonoOnly | Qt::DiffuseDither);
}

QImage loadMonochromePicture(const QString& path) {
    return blackAndWhite(loadPicture(path));
}

}  // namespace dotwall
