#pragma once

#include <string>
#include <string_view>

namespace dotwall::picture_stream {

// The messages every reader of a picture stream gives alike, each raising InvalidPicture.

// "<input> ended inside picture N: CAME of WHOLE <unit> came."
[[noreturn]] void throwEndedInside(const std::string& input, long picture, long long came,
                                   long long whole, std::string_view unit);

// "<input> is empty: no picture came."
[[noreturn]] void throwEmpty(const std::string& input);

// "more than the 50 megapixels a picture may have" when a picture of width x height is over
// kMostPixels; empty otherwise.
std::string tooManyPixels(long width, long height);

}  // namespace dotwall::picture_stream
