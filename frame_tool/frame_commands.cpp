#include "frame_commands.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <vector>

#include "decoder_notes.h"
#include "frame_file.h"
#include "frame_packing.h"
#include "frame_stream.h"
#include "new_file.h"
#include "panel_preview.h"
#include "picture_loader.h"
#include "runtime_error.h"
#include "single_scan_layout.h"
#include "stdio_file.h"

namespace dotwall::frame_tool {

namespace {

// Port bytes into a file, through the stdio buffer.
class FilePortWriter final : public port_tool::PortWriter {
  public:
    explicit FilePortWriter(std::FILE* file) : file_(file) {}
    void write(std::uint8_t byte) override { std::fputc(byte, file_); }

  private:
    std::FILE* file_;
};

// Loads a picture as it is. What a decoder prints on its own while it fails becomes part of
// the one line that reports the failure: "... cannot be loaded: <reason> (<decoder's>)."
QImage loadPictureFile(const std::string& path) {
    const DecoderNotes notes;
    try {
        return loadPicture(QString::fromStdString(path));
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

// Writes a whole new file through a stdio stream, or leaves none behind.
void writeNewFile(const std::filesystem::path& output,
                  const std::function<void(std::FILE*)>& writeBytes) {
    NewFile file(output);
    StdioFile stream(std::fopen(file.writePath().string().c_str(), "wb"));
    if (!stream) {
        throwFileError("create", output, errno);
    }
    writeBytes(stream.get());
    const bool written = std::ferror(stream.get()) == 0 && std::fflush(stream.get()) == 0;
    const int error = errno;
    if (std::fclose(stream.release()) != 0 || !written) {
        throwFileError("write", output, written ? errno : error);
    }
    file.commit();
}

// Reads at most one byte more than the longest frame: that is enough to refuse a longer
// file, and a name such as /dev/zero or a huge file cannot make the tool read without end.
std::vector<std::uint8_t> readFrame(const std::filesystem::path& path) {
    const StdioFile in(std::fopen(path.string().c_str(), "rb"));
    if (!in) {
        throwFileError("read", path, errno);
    }
    std::vector<std::uint8_t> bytes(kLongestFrameBytes + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in.get()));
    if (std::ferror(in.get()) != 0) {
        throwFileError("read", path, errno);
    }
    return bytes;
}

}  // namespace

void writeUsbFrame(const std::string& picturePath, const std::filesystem::path& output) {
    const FrameBuffer frame = packUsbFrame(blackAndWhite(loadPictureFile(picturePath)));

    const bool existed = std::filesystem::exists(output);
    try {
        usb_tool::writeFrameFile(frame, output);
    } catch (const RuntimeError&) {
        if (!existed) {
            std::error_code ignored;
            std::filesystem::remove(output, ignored);
        }
        throw;
    }
}

void writeLptFrame(const std::string& picturePath, const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPictureFile(picturePath));
    writeNewFile(output, [&](std::FILE* stream) {
        std::fwrite(frame.data(), 1, port_tool::kFrameBytes, stream);
    });
}

void writeStream(const std::string& picturePath, long frames, const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPictureFile(picturePath));
    writeNewFile(output, [&](std::FILE* stream) {
        FilePortWriter port(stream);
        long sent = 0;
        port_tool::streamFrames(frame, port, [&] { return ++sent == frames; });
    });
}

void writePreview(const std::filesystem::path& framePath, const std::filesystem::path& output,
                  int scale) {
    QImage panel;
    try {
        panel = previewPanel(readFrame(framePath));
    } catch (const RuntimeError& error) {
        if (error.kind() != ErrorKind::TypeMismatch) {
            throw;
        }
        throw RuntimeError(error.kind(), "The frame \"" + framePath.string() +
                                             "\" is not a panel frame: " + error.what() + ".");
    }
    panel = panel.scaled(panel.width() * scale, panel.height() * scale, Qt::IgnoreAspectRatio,
                         Qt::FastTransformation);

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
    writeNewFile(output, [&](std::FILE* stream) {
        std::fwrite(encoded.constData(), 1, static_cast<std::size_t>(encoded.size()), stream);
    });
}

}  // namespace dotwall::frame_tool
