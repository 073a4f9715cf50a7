#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "base/picture_limit.h"
#include "picture_stream/grey_picture.h"

namespace dotwall::picture_stream {

// The most pixels a picture of a stream may have, as any other picture.
inline constexpr long kMostPixels = kMaxPicturePixels;

// Reads pictures one after another from a file descriptor (standard input, a FIFO, a file)
// with blocking reads in large chunks. A picture is handed out only when it came whole, and
// nothing is read beyond it, so a picture is never held back waiting for the next one.
class PictureStreamReader {
  public:
    virtual ~PictureStreamReader() = default;
    // The next whole picture; nullopt at a clean end of input (after a whole picture, or an
    // input that ended before any byte of a new picture). Raises RuntimeError naming the input
    // and what was wrong: InvalidPicture for an input cut inside a picture (how many of its
    // bytes came), a header that is no PNM, a picture over kMostPixels (refused from its
    // header, before memory is taken for it), an empty input, raw input whose length is no
    // whole number of frames; FileAccess when the input cannot be read; Stopped when a stop
    // signal cuts a read short.
    virtual std::optional<GreyPicture> next() = 0;
    // Pictures read whole so far.
    virtual long picturesRead() const = 0;
};

// PNM pictures back to back (P1 to P6, any maxval), as netpbm's tools and ffmpeg's
// `image2pipe` write them. `inputName` names the input in messages as given ("standard
// input", or a FIFO's path).
std::unique_ptr<PictureStreamReader> pnmStreamReader(int descriptor, std::string inputName);

// Raw 8-bit grey frames of width x height back to back (ffmpeg's `-f rawvideo -pix_fmt gray`);
// a size of no pixel or over kMostPixels raises WrongUsage.
std::unique_ptr<PictureStreamReader> rawGreyStreamReader(int descriptor, std::string inputName,
                                                         int width, int height);

// "WIDTHxHEIGHT" as --raw takes it, such as "640x240": digits only, at least one pixel and at
// most kMostPixels; WrongUsage naming the text otherwise.
std::pair<int, int> parseRawSize(const std::string& text);

}  // namespace dotwall::picture_stream
