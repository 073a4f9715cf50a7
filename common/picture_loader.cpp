#include "picture_loader.h"

#include <QImageReader>
#include <QPainter>

#include "runtime_error.h"

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

}  // namespace

QImage loadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && qint64{size.width()} * size.height() > kMaxPicturePixels) {
        throwCannotLoad(path, QString("it is %1 x %2 pixels, more than the %3 megapixels a "
                                      "picture may have")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(kMaxPicturePixels / 1'000'000));
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        throwCannotLoad(path, reader.errorString());
    }
    return picture;
}

QImage loadMonochromePicture(const QString& path) {
    // Through 32-bit colour first, so even a two-colour picture in other colours than
    // black and white becomes black and white.
    return onWhitePaper(loadPicture(path))
        .convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::DiffuseDither);
}

}  // namespace dotwall
