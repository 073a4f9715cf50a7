#include "picture_stream/stream_messages.h"

#include "base/runtime_error.h"
#include "picture_stream/picture_stream_reader.h"

namespace dotwall::picture_stream {

void throwEndedInside(const std::string& input, long picture, long long came, long long whole,
                      std::string_view unit) {
    throw RuntimeError(ErrorKind::InvalidPicture,
                       input + " ended inside picture " + std::to_string(picture) + ": " +
                           std::to_string(came) + " of " + std::to_string(whole) + " " +
                           std::string(unit) + " came.");
}

void throwEmpty(const std::string& input) {
    throw RuntimeError(ErrorKind::InvalidPicture, input + " is empty: no picture came.");
}

std::string tooManyPixels(long width, long height) {
    if (width * height <= kMostPixels) {
        return {};
    }
    return "more than the " + std::to_string(kMostPixels / 1'000'000) +
           " megapixels a picture may have";
}

}  // namespace dotwall::picture_stream
