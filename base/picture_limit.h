#pragma once

namespace dotwall {

// Pictures with more pixels than this are refused from their header, before memory is taken
// for them: the panel shows at most 640 x 480 of them, and a forged header must not make the
// program allocate gigabytes. 50 megapixels still takes any camera photo.
inline constexpr long kMaxPicturePixels = 50'000'000;

}  // namespace dotwall
