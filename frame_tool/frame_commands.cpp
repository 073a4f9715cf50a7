#include "frame_tool/frame_commands.h"

#include <cstdint>
#include <vector>

#include "base/file_error.h"
#include "base/stop_signals.h"
#include "base/whole_file.h"
#include "frames/frame_file.h"
#include "frames/frame_picture.h"
#include "frames/port_signals.h"
#include "picture/area_image.h"
#include "picture/frame_packing.h"
#include "picture/picture_loader.h"
#include "picture/picture_writer.h"

namespace dotwall::frame_tool {

namespace {

// Writes `size` bytes into the file unless a stop signal came first.
void writeUnlessStopped(FileOutput& file, const void* data, std::size_t size) {
    StopSignals::throwIfReceived();
    file.write(data, size);
}

// Writes the bytes whole, a stop signal leaving the output as it was.
void writeWholeUnlessStopped(const std::filesystem::path& output, const void* data,
                             std::size_t size) {
    const StopSignals::HalfDone writing;
    writeWholeFile(output, "", [&](FileOutput& file) {
        writeUnlessStopped(file, data, size);
        StopSignals::throwIfReceived();
    });
}

// Port bytes into a file, a frame's worth at a time.
class FilePortWriter final : public port_signals::PortWriter {
  public:
    FilePortWriter(FileOutput& file, std::size_t bytesPerFrame)
        : file_(file), bytesPerFrame_(bytesPerFrame) {
        bytes_.reserve(bytesPerFrame_);
    }
    void write(std::uint8_t byte) override {
        bytes_.push_back(byte);
        if (bytes_.size() == bytesPerFrame_) {
            writeUnlessStopped(file_, bytes_.data(), bytes_.size());
            bytes_.clear();
        }
    }

  private:
    FileOutput& file_;
    std::size_t bytesPerFrame_;
    std::vector<std::uint8_t> bytes_;
};

// Refuses a stream larger than the free space of the file system its new file goes to,
// that of the file a link leads to, before a byte is written: N frames of a large panel can
// take terabytes. A device or pipe is written directly and not checked, nor is an output
// whose folder cannot be looked at (the writer then says why it cannot write).
void refuseAStreamTheDiskCannotHold(const std::filesystem::path& output, long frames,
                                    const PanelProfile& profile) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(output, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return;
    }
    const std::filesystem::space_info space = std::filesystem::space(
        std::filesystem::weakly_canonical(output, error).parent_path(), error);
    const auto bytes =
        static_cast<std::uintmax_t>(frames) * static_cast<std::uintmax_t>(profile.writesPerFrame());
    if (!error && bytes > space.available) {
        throwFileError("write", output,
                       std::to_string(frames) + " frames take " + std::to_string(bytes) +
                           " bytes, but its file system has " + std::to_string(space.available) +
                           " bytes free");
    }
}

}  // namespace

void writeUsbFrame(const std::filesystem::path& picturePath, const std::filesystem::path& output) {
    refuseToOverwriteAnInput(output, "the frame file", {picturePath});
    const FrameBuffer frame = packUsbFrame(blackAndWhite(loadPicture(picturePath)));
    const StopSignals::HalfDone writing;
    writeFrameFile(frame, output);
}

void writePanelFrame(const std::filesystem::path& picturePath, const PanelProfile& profile,
                     PictureFitting fitting, const std::filesystem::path& output) {
    refuseToOverwriteAnInput(output, "", {picturePath, profile.file});
    const PanelFrame frame = packPanelFrame(profile, loadPicture(picturePath), fitting);
    writeWholeUnlessStopped(output, frame.bytes.data(), frame.bytes.size());
}

void writeStream(const std::filesystem::path& picturePath, const PanelProfile& profile,
                 PictureFitting fitting, long frames, const std::filesystem::path& output) {
    refuseToOverwriteAnInput(output, "", {picturePath, profile.file});
    refuseAStreamTheDiskCannotHold(output, frames, profile);
    const PanelFrame frame = packPanelFrame(profile, loadPicture(picturePath), fitting);
    const StopSignals::HalfDone writing;
    writeWholeFile(output, "", [&](FileOutput& file) {
        FilePortWriter port(file, static_cast<std::size_t>(profile.writesPerFrame()));
        port_signals::FrameEncoder encoder(profile);
        long sent = 0;
        port_signals::streamFrames(encoder, FrameCycle::of(frame), port,
                                   [&] { return ++sent == frames; });
        StopSignals::throwIfReceived();
    });
}

void writePreview(const std::filesystem::path& framePath,
                  const std::optional<PanelProfile>& profile, const std::filesystem::path& output,
                  int scale) {
    writableFormat(output, "");
    refuseToOverwriteAnInput(output, "", {framePath, profile ? profile->file : ""});
    const PanelPicture panel =
        readFramePicture(framePath, profile ? std::vector{panelFrame(*profile)} : windowFrames());
    const QByteArray encoded = encodePicture(panelImage(panel, scale), output, "");
    writeWholeUnlessStopped(output, encoded.constData(), static_cast<std::size_t>(encoded.size()));
}

}  // namespace dotwall::frame_tool
