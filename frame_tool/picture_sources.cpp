#include "frame_tool/picture_sources.h"

#include "picture/animation_reader.h"
#include "picture/picture_loader.h"

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

}  // namespace

std::unique_ptr<PictureSource> filePictures(FilePlaylist playlist) {
    return std::make_unique<FilePictures>(std::move(playlist));
}

}  // namespace dotwall::frame_tool
