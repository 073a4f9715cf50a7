#include "frame_tool/frame_commands.h"

#include <QBuffer>
#include <QImageWriter>
#include <vector>

#include "common/frame_file.h"
#include "common/frame_picture.h"
#include "common/port_signals.h"
#include "common/runtime_error.h"
#include "common/single_scan_frame.h"
#include "frame_tool/decoder_notes.h"
#include "frame_tool/frame_packing.h"
#include "frame_tool/whole_file.h"
#include "picture/area_image.h"
#include "picture/picture_loader.h"

namespace dotwall::frame_tool {

namespace {

// Port bytes into a file, a frame's worth at a time.
class FilePortWriter final : public port_signals::PortWriter {
  public:
    explicit FilePortWriter(QIODevice& file) : file_(file) {
        bytes_.reserve(port_signals::kWritesPerFrame);
    }
    void write(std::uint8_t byte) override {
        bytes_.push_back(byte);
        if (bytes_.size() == bytes_.capacity()) {
            flush();
        }
    }
    void flush() {
        writeOrStop(file_, reinterpret_cast<const char*>(bytes_.data()),
                    static_cast<qint64>(bytes_.size()));
        bytes_.clear();
    }

  private:
    QIODevice& file_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

QImage loadPictureFile(const std::filesystem::path& path) {
    const DecoderNotes notes;
    try {
        return loadPicture(path);
    } catch (const RuntimeError& error) {
        std::string message = error.what();
        const std::string decoderSaid = notes.text();
        if (!decoderSaid.empty()) {
            const bool sentence = !message.empty() && message.back() == '.';
            message = message.substr(0, message.size() - (sentence ? 1 : 0)) + " (" + decoderSaid +
                      ")" + (sentence ? "." : "");
        }
        throw RuntimeError(error.kind(), message);
    }
}

void writeUsbFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output) {
    writeFrameFile(packUsbFrame(blackAndWhite(loadPictureFile(picturePath))), output);
}

void writeLptFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPictureFile(picturePath));
    writeWholeFile(output, [&](QIODevice& file) {
        writeOrStop(file, reinterpret_cast<const char*>(frame.data()),
                    static_cast<qint64>(single_scan::kFrameBytes));
    });
}

void writeStream(const std::filesystem::path& picturePath, long frames,
                 const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPictureFile(picturePath));
    writeWholeFile(output, [&](QIODevice& file) {
        FilePortWriter port(file);
        long sent = 0;
        port_signals::streamFrames(frame, port, [&] { return ++sent == frames; });
        port.flush();
    });
}

void writePreview(const std::filesystem::path& framePath, const std::filesystem::path& output,
                  int scale) {
    const QImage panel = panelImage(readFramePicture(framePath), scale);
    const QByteArray suffix =
        QString::fromStdString(output.extension().string()).mid(1).toLower().toLatin1();
    const QByteArray format =
        QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray("png");
    // Encoded in memory and written like the frames: an image writer that fails on the disk
    // reports no reason, and its codec may print its own complaint.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(panel)) {
        throw RuntimeError(ErrorKind::FileAccess, "Cannot write \"" + output.string() + "\": " +
                                                      writer.errorString().toStdString() + ".");
    }
    writeWholeFile(
        output, [&](QIODevice& file) { writeOrStop(file, encoded.constData(), encoded.size()); });
}

}  // namespace dotwall::frame_tool
