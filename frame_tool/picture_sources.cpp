#include "frame_tool/picture_sources.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_error.h"
#include "picture/animation_reader.h"
#include "picture/picture_loader.h"
#include "picture_stream/picture_stream_reader.h"

namespace dotwall::frame_tool {

namespace {

class FilePictures : public PictureSource {
  public:
    explicit FilePictures(FilePlaylist playlist) : playlist_(std::move(playlist)) {}

    std::optional<TimedPicture> next() override {
        while (true) {
            if (animation_) {
                if (std::optional<AnimationFrame> frame = animation_->next()) {
                    return TimedPicture{std::move(frame->picture),
                                        std::chrono::milliseconds(frame->delayMs)};
                }
                if (playsLeft_ < 0 || --playsLeft_ > 0) {
                    animation_->rewind();
                    continue;
                }
                animation_.reset();
            }
            if (fileIndex_ == playlist_.files.size()) {
                if (playlist_.rounds != 0 && ++roundsPlayed_ == playlist_.rounds) {
                    return std::nullopt;
                }
                fileIndex_ = 0;
            }
            const std::filesystem::path& file = playlist_.files[fileIndex_++];
            auto animation = std::make_unique<AnimationReader>(file);
            if (animation->frameCount() <= 1) {
                return TimedPicture{loadPicture(file), playlist_.stillFor, true};
            }
            const bool alone = playlist_.files.size() == 1;
            playsLeft_ = animation->loopCount() < 0 ? (alone ? -1 : 1) : animation->loopCount() + 1;
            animation_ = std::move(animation);
        }
    }

  private:
    FilePlaylist playlist_;
    std::size_t fileIndex_ = 0;
    long roundsPlayed_ = 0;
    std::unique_ptr<AnimationReader> animation_;
    int playsLeft_ = 0;  // of the animation being played, this time included; -1: forever
};

class StreamPictures : public PictureSource {
  public:
    StreamPictures(std::unique_ptr<picture_stream::PictureStreamReader> reader, int descriptor)
        : reader_(std::move(reader)), descriptor_(descriptor) {}
    ~StreamPictures() override {
        if (descriptor_ != STDIN_FILENO) {
            ::close(descriptor_);
        }
    }
    StreamPictures(const StreamPictures&) = delete;
    StreamPictures& operator=(const StreamPictures&) = delete;

    std::optional<TimedPicture> next() override {
        std::optional<picture_stream::GreyPicture> grey = reader_->next();
        if (!grey) {
            return std::nullopt;
        }
        // The picture shows the levels where they are, which it frees with its last copy.
        auto* levels = new std::vector<std::uint8_t>(std::move(grey->levels));
        QImage picture(
            levels->data(), grey->width, grey->height, grey->width, QImage::Format_Grayscale8,
            [](void* owned) { delete static_cast<std::vector<std::uint8_t>*>(owned); }, levels);
        return TimedPicture{std::move(picture)};
    }

  private:
    std::unique_ptr<picture_stream::PictureStreamReader> reader_;
    int descriptor_;
};

}  // namespace

bool isPictureStream(const std::filesystem::path& argument) {
    struct stat status {};
    return argument == "-" || (::stat(argument.c_str(), &status) == 0 && S_ISFIFO(status.st_mode));
}

std::unique_ptr<PictureSource> streamPictures(const std::filesystem::path& argument,
                                              const std::optional<std::string>& rawSize) {
    const bool standardInput = argument == "-";
    const std::string name = standardInput ? "standard input" : argument.string();
    std::optional<std::pair<int, int>> size;
    if (rawSize) {
        size = picture_stream::parseRawSize(*rawSize);
    }
    const int descriptor =
        standardInput ? STDIN_FILENO : ::open(argument.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throwFileError("open", argument, errno);
    }
    return std::make_unique<StreamPictures>(
        size ? picture_stream::rawGreyStreamReader(descriptor, name, size->first, size->second)
             : picture_stream::pnmStreamReader(descriptor, name),
        descriptor);
}

std::unique_ptr<PictureSource> filePictures(FilePlaylist playlist) {
    return std::make_unique<FilePictures>(std::move(playlist));
}

}  // namespace dotwall::frame_tool
