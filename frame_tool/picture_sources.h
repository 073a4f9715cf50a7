#pragma once

#include <QImage>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dotwall::frame_tool {

// A picture to put on the panel and how long it stays there.
struct TimedPicture {
    QImage picture;
    // 0: until the next one comes, at least one whole frame (a stream's pictures).
    std::chrono::milliseconds shownFor{0};
    bool still = false;  // a still picture file, not an animation's frame nor a stream's
};

// Where play's pictures come from, one after another.
class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // The next picture; nullopt at the end. Raises a RuntimeError naming the input and what
    // was wrong with it.
    virtual std::optional<TimedPicture> next() = 0;
};

// Picture files shown in turn: a still one for `stillFor`, an animation with its own delays
// and loop count (one that loops forever plays once when there are several files). The whole
// list is played `rounds` times; 0: forever.
struct FilePlaylist {
    std::vector<std::filesystem::path> files;
    std::chrono::milliseconds stillFor{5000};
    long rounds = 1;
};
std::unique_ptr<PictureSource> filePictures(FilePlaylist playlist);

// Whether `argument` names a stream of pictures: "-" (standard input) or a FIFO.
bool isPictureStream(const std::filesystem::path& argument);
// The pictures of a stream, each shown from the next frame boundary as soon as it is whole:
// PNM pictures back to back, or with `rawSize` ("WIDTHxHEIGHT") raw 8-bit grey frames. A
// FIFO is opened here, which waits for its writer.
std::unique_ptr<PictureSource> streamPictures(const std::filesystem::path& argument,
                                              const std::optional<std::string>& rawSize);

}  // namespace dotwall::frame_tool
