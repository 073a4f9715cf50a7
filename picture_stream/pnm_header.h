#pragma once

#include <string>

#include "picture_stream/stream_input.h"

namespace dotwall::picture_stream {

// Where a picture of a stream starts, to name it in messages.
struct PicturePlace {
    StreamInput& input;
    long number = 1;      // counted from 1
    long long start = 0;  // the input's byte where its header starts

    // Raises InvalidPicture "<input>: picture N<what>." (`what` such as " is no PNM picture").
    [[noreturn]] void fail(const std::string& what) const;
};

// A PNM header: P1 (ASCII bits), P2 (ASCII grey), P3 (ASCII RGB), P4 (packed bits), P5
// (binary grey), P6 (binary RGB).
struct PnmHeader {
    int format = 0;  // 1 to 6, from the magic number
    int width = 0;
    int height = 0;
    int maxval = 1;  // 1 for the bit formats, which have none

    bool ascii() const { return format <= 3; }
    bool bits() const { return format == 1 || format == 4; }
    int channels() const { return format == 3 || format == 6 ? 3 : 1; }
    // Bytes of the binary formats' raster: P4's rows padded to whole bytes, two bytes a
    // sample above maxval 255.
    long long rasterBytes() const;
};

// Reads a header at the input's next byte as netpbm writes it: the magic number, width,
// height and maxval (none in P1 and P4), whitespace-separated decimal digits with comments
// from '#' to the line's end, and in the binary formats exactly one whitespace byte after
// the last number, where the raster starts. A header that is no PNM, has a number out of
// range or a picture over kMostPixels raises InvalidPicture, before memory is taken for it.
PnmHeader readPnmHeader(const PicturePlace& place);

bool isPnmWhitespace(int byte);

// Skips whitespace and comments; false at the end of the input.
bool skipPnmSpace(StreamInput& input);

// One or two bytes as a person reads them in a message: "x", "\x01" for one that is not
// printable.
std::string quoted(int byte, int second = -1);

}  // namespace dotwall::picture_stream
