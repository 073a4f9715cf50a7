// PNM pictures one after another, as netpbm's tools and ffmpeg's `image2pipe` write them.
#include "picture_stream/picture_stream_reader.h"
#include "picture_stream/pnm_header.h"
#include "picture_stream/pnm_raster.h"
#include "picture_stream/stream_input.h"
#include "picture_stream/stream_messages.h"

namespace dotwall::picture_stream {

namespace {

class PnmStreamReader final : public PictureStreamReader {
  public:
    PnmStreamReader(int descriptor, std::string inputName)
        : input_(descriptor, std::move(inputName)) {}

    std::optional<GreyPicture> next() override {
        // Whitespace may end a picture of the ASCII formats; it belongs to none.
        while (input_.peek() >= 0 && isPnmWhitespace(input_.peek())) {
            input_.consume(1);
        }
        if (input_.peek() < 0) {
            if (read_ == 0) {
                throwEmpty(input_.name());
            }
            return std::nullopt;
        }
        const PicturePlace place{input_, read_ + 1, input_.consumed()};
        const PnmHeader header = readPnmHeader(place);
        GreyPicture picture{header.width, header.height, readPnmRaster(place, header)};
        ++read_;
        return picture;
    }

    long picturesRead() const override { return read_; }

  private:
    StreamInput input_;
    long read_ = 0;
};

}  // namespace

std::unique_ptr<PictureStreamReader> pnmStreamReader(int descriptor, std::string inputName) {
    return std::make_unique<PnmStreamReader>(descriptor, std::move(inputName));
}

}  // namespace dotwall::picture_stream
