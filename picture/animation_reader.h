#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace dotwall {

// One picture of an animation and how long it stays, in milliseconds.
struct AnimationFrame {
    QImage picture;
    int delayMs = 0;
};

// An animated picture file (GIF; WebP and MNG through Qt's image format plugins) read frame by
// frame, each with its delay, as loadPicture reads a still one: the file read whole up to what
// a picture may decode into, each frame refused beyond kMaxPicturePixels before it is decoded.
class AnimationReader {
  public:
    // A delay the file gives as 0 or below this is taken as 100 ms, as web browsers do.
    static constexpr int kShortestDelayMs = 20;
    static constexpr int kDelayForShortMs = 100;

    // Raises InvalidPicture, as loadPicture does, when the file cannot be read.
    explicit AnimationReader(const std::filesystem::path& path);

    // More than one frame: an animation; 0 or 1 for a still picture or none Qt reads.
    int frameCount() const { return frameCount_; }
    // How often the animation plays after its first time; -1: forever.
    int loopCount() const { return loopCount_; }
    // The next frame; nullopt after the last. A frame that cannot be decoded raises
    // InvalidPicture naming the file and the frame's number.
    std::optional<AnimationFrame> next();
    // Starts again at the first frame.
    void rewind();

  private:
    std::string name_;
    QByteArray bytes_;
    QBuffer buffer_;
    std::unique_ptr<QImageReader> reader_;
    int frameCount_ = 0;
    int loopCount_ = 0;
    int framesRead_ = 0;
    int wholeFrames_ = 0;  // those before the first the file cuts short
};

}  // namespace dotwall
