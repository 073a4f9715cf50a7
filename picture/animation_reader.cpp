#include "picture/animation_reader.h"

#include <cstring>

#include "base/bounded_file.h"
#include "picture/gif_whole_frames.h"
#include "picture/picture_loader.h"

namespace dotwall {

AnimationReader::AnimationReader(const std::filesystem::path& path) : name_(path.string()) {
    const FileStart file =
        readFileStart(path, static_cast<std::size_t>(kMaxDecodedMegabytes) * 1024 * 1024);
    if (file.error != 0) {
        throwCannotLoad(name_, std::strerror(file.error));
    }
    bytes_ = QByteArray(reinterpret_cast<const char*>(file.bytes.data()),
                        static_cast<qsizetype>(file.bytes.size()));
    buffer_.setBuffer(&bytes_);
    buffer_.open(QIODevice::ReadOnly);
    rewind();
    frameCount_ = reader_->supportsAnimation() ? reader_->imageCount() : 0;
    loopCount_ = reader_->loopCount();
    wholeFrames_ = wholeGifFrames(file.bytes).value_or(frameCount_);
}

void AnimationReader::rewind() {
    buffer_.seek(0);
    QImageReader::setAllocationLimit(kMaxDecodedMegabytes);
    reader_ = std::make_unique<QImageReader>(&buffer_);
    reader_->setAutoTransform(false);
    framesRead_ = 0;
}

std::optional<AnimationFrame> AnimationReader::next() {
    if (framesRead_ >= frameCount_) {
        return std::nullopt;
    }
    ++framesRead_;
    if (framesRead_ > wholeFrames_) {
        throwCannotLoad(name_, QString("its frame %1 of %2 is cut short (the file ends inside it)")
                                   .arg(framesRead_)
                                   .arg(frameCount_));
    }
    refuseTooLarge(reader_->size(), name_);
    AnimationFrame frame;
    if (!reader_->read(&frame.picture)) {
        throwCannotLoad(name_, QString("its frame %1 of %2 is damaged or cut short (%3)")
                                   .arg(framesRead_)
                                   .arg(frameCount_)
                                   .arg(reader_->errorString()));
    }
    frame.delayMs = reader_->nextImageDelay();
    if (frame.delayMs < kShortestDelayMs) {
        frame.delayMs = kDelayForShortMs;
    }
    return frame;
}

}  // namespace dotwall
