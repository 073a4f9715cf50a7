#include "frame_tool/frame_commands.h"

#include <vector>

#include "base/whole_file.h"
#include "command_line/stop_signals.h"
#include "frames/frame_file.h"
#include "frames/frame_picture.h"
#include "frames/port_signals.h"
#include "frames/single_scan_frame.h"
#include "picture/area_image.h"
#include "picture/frame_packing.h"
#include "picture/picture_loader.h"
#include "picture/picture_writer.h"

namespace dotwall::frame_tool {

namespace {

using command_line::StopSignals;

// Writes `size` bytes into the file unless a stop signal came first.
void writeUnlessStopped(FileOutput& file, const void* data, std::size_t size) {
    StopSignals::throwIfReceived();
    file.write(data, size);
}

// Writes the bytes whole, a stop signal leaving the output as it was.
void writeWholeUnlessStopped(const std::filesystem::path& output, const void* data,
                             std::size_t size) {
    writeWholeFile(output, "", [&](FileOutput& file) {
        writeUnlessStopped(file, data, size);
        StopSignals::throwIfReceived();
    });
}

// Port bytes into a file, a frame's worth at a time.
class FilePortWriter final : public port_signals::PortWriter {
  public:
    explicit FilePortWriter(FileOutput& file) : file_(file) {
        bytes_.reserve(port_signals::kWritesPerFrame);
    }
    void write(std::uint8_t byte) override {
        bytes_.push_back(byte);
        if (bytes_.size() == port_signals::kWritesPerFrame) {
            writeUnlessStopped(file_, bytes_.data(), bytes_.size());
            bytes_.clear();
        }
    }

  private:
    FileOutput& file_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

void writeUsbFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output) {
    writeFrameFile(packUsbFrame(blackAndWhite(loadPicture(picturePath))), output);
}

void writeLptFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPicture(picturePath));
    writeWholeUnlessStopped(output, frame.data(), single_scan::kFrameBytes);
}

void writeStream(const std::filesystem::path& picturePath, long frames,
                 const std::filesystem::path& output) {
    const FrameBuffer frame = packLptFrame(loadPicture(picturePath));
    writeWholeFile(output, "", [&](FileOutput& file) {
        FilePortWriter port(file);
        long sent = 0;
        port_signals::streamFrames(frame, port, [&] { return ++sent == frames; });
        StopSignals::throwIfReceived();
    });
}

void writePreview(const std::filesystem::path& framePath, const std::filesystem::path& output,
                  int scale) {
    const QByteArray encoded =
        encodePicture(panelImage(readFramePicture(framePath), scale), output, "");
    writeWholeUnlessStopped(output, encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

}  // namespace dotwall::frame_tool
