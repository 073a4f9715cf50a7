#include "picture/picture_writer.h"

#include <QBuffer>
#include <QImageWriter>

#include "base/file_error.h"
#include "base/whole_file.h"

namespace dotwall {

namespace {

std::string writing(const std::string& what) {
    return what.empty() ? "write" : "write " + what;
}

}  // namespace

QByteArray writableFormat(const std::filesystem::path& path, const std::string& what) {
    const QByteArray suffix = QByteArray::fromStdString(path.extension().string()).mid(1).toLower();
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    if (suffix.isEmpty() || formats.contains(suffix)) {
        return suffix.isEmpty() ? QByteArray("png") : suffix;
    }
    throwFileError(writing(what), path,
                   "Qt cannot write " + suffix.toUpper().toStdString() + "; it writes " +
                       formats.join(", ").toStdString() + " (named by the suffix)");
}

QByteArray encodePicture(const QImage& picture, const std::filesystem::path& path,
                         const std::string& what) {
    const QByteArray format = writableFormat(path, what);
    // Encoded in memory and written whole: an image writer that fails on the disk reports no
    // reason, and would leave half a picture.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture)) {
        throwFileError(writing(what), path, writer.errorString().toStdString());
    }
    return encoded;
}

void writePicture(const QImage& picture, const std::filesystem::path& path,
                  const std::string& what) {
    const QByteArray encoded = encodePicture(picture, path, what);
    writeWholeFile(path, what, [&](FileOutput& file) {
        file.write(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    });
}

}  // namespace dotwall
