// Raw 8-bit grey frames back to back, as ffmpeg writes them with -f rawvideo -pix_fmt gray.
#include <algorithm>
#include <climits>

#include "base/runtime_error.h"
#include "base/whole_number.h"
#include "picture_stream/picture_stream_reader.h"
#include "picture_stream/stream_input.h"
#include "picture_stream/stream_messages.h"

namespace dotwall::picture_stream {

namespace {

// Why a raw frame of width x height cannot be read; empty when it can.
std::string rawSizeProblem(long width, long height) {
    if (width < 1 || height < 1) {
        return "a frame has at least one pixel";
    }
    return tooManyPixels(width, height);
}

class RawGreyStreamReader final : public PictureStreamReader {
  public:
    RawGreyStreamReader(int descriptor, std::string inputName, int width, int height)
        : input_(descriptor, std::move(inputName)), width_(width), height_(height) {
        if (const std::string problem = rawSizeProblem(width, height); !problem.empty()) {
            throw RuntimeError(ErrorKind::WrongUsage,
                               "Raw grey frames cannot be " + std::to_string(width) + " x " +
                                   std::to_string(height) + " pixels: " + problem + ".");
        }
    }

    std::optional<GreyPicture> next() override {
        const auto frameBytes = static_cast<std::size_t>(width_) * height_;
        GreyPicture picture{width_, height_, {}};
        picture.levels.reserve(frameBytes);
        while (picture.levels.size() < frameBytes) {
            if (!input_.fill(1)) {
                return endOfInput(picture.levels.size(), frameBytes);
            }
            const std::span<const std::uint8_t> bytes = input_.buffered();
            const std::size_t count = std::min(bytes.size(), frameBytes - picture.levels.size());
            picture.levels.insert(picture.levels.end(), bytes.begin(), bytes.begin() + count);
            input_.consume(count);
        }
        ++read_;
        return picture;
    }

    long picturesRead() const override { return read_; }

  private:
    std::optional<GreyPicture> endOfInput(std::size_t came, std::size_t frameBytes) const {
        if (came > 0) {
            throwEndedInside(input_.name() + " (raw " + std::to_string(width_) + " x " +
                                 std::to_string(height_) + " frames)",
                             read_ + 1, static_cast<long long>(came),
                             static_cast<long long>(frameBytes), "bytes");
        }
        if (read_ == 0) {
            throwEmpty(input_.name());
        }
        return std::nullopt;
    }

    StreamInput input_;
    int width_;
    int height_;
    long read_ = 0;
};

}  // namespace

std::unique_ptr<PictureStreamReader> rawGreyStreamReader(int descriptor, std::string inputName,
                                                         int width, int height) {
    return std::make_unique<RawGreyStreamReader>(descriptor, std::move(inputName), width, height);
}

std::pair<int, int> parseRawSize(const std::string& text) {
    const std::size_t x = text.find('x');
    const std::optional<long> width =
        x == std::string::npos ? std::nullopt : wholeNumber(text.substr(0, x), 0, INT_MAX);
    const std::optional<long> height =
        x == std::string::npos ? std::nullopt : wholeNumber(text.substr(x + 1), 0, INT_MAX);
    if (!width || !height) {
        throw RuntimeError(ErrorKind::WrongUsage,
                           "--raw takes WIDTHxHEIGHT in pixels, such as "
                           "640x240, not \"" +
                               text + "\".");
    }
    if (const std::string problem = rawSizeProblem(*width, *height); !problem.empty()) {
        throw RuntimeError(ErrorKind::WrongUsage, "--raw " + text + ": " + problem + ".");
    }
    return {static_cast<int>(*width), static_cast<int>(*height)};
}

}  // namespace dotwall::picture_stream
