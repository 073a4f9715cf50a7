// The picture stream readers fed bytes as a pipe gives them: every PNM format and raw grey
// frames read into levels, pictures one after another, and each kind of bad input refused
// with a message that names the input, after the pictures that came whole.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

#include "base/runtime_error.h"
#include "picture_stream/picture_stream_reader.h"

namespace dotwall::picture_stream {
namespace {

using namespace std::string_literals;

GreyPicture grey(int width, int height, const std::string& levels) {
    return {width, height, {levels.begin(), levels.end()}};
}
// `count` bytes, the i-th `of(i)`.
std::string pattern(int count, int (*of)(int)) {
    std::string bytes(count, '\0');
    std::generate(bytes.begin(), bytes.end(), [of, i = 0]() mutable { return of(i++); });
    return bytes;
}
const std::string kRawFrames = pattern(2 * 90000 + 3, [](int i) { return i % 251; });

// Each stream's whole pictures, then the message that ends it (none: a clean end); a raw
// size is refused as usage.
const struct {
    std::string bytes;
    std::vector<GreyPicture> pictures;
    std::string message = "";
    const char* raw = nullptr;  // WIDTHxHEIGHT for raw grey frames
} kStreams[] = {
    {"P1\n# by hand\n3 2\n1 0 1\n010\n", {{3, 2, {0, 255, 0, 255, 0, 255}}}},
    {"P2 3 1 65535 0 32768 65535", {{3, 1, {0, 128, 255}}}},
    {"P3 2 1 255 255 0 0 0 0 255", {{2, 1, {76, 29}}}},
    {"P4\n10 2\n\x80\x40\xff\xc0",
     {grey(10, 2, pattern(20, [](int i) { return i > 0 && i < 9 ? 255 : 0; }))}},
    {"P5 3 1 1#x\n\1\0\1"s, {{3, 1, {255, 0, 255}}}},
    {"P6 1 1 65535\n\x80\0\0\0\0\xff"s, {{1, 1, {38}}}},
    // Many chunks of the reader, and pixels that cross them at each offset: white, red, black.
    {"P6 300 100 255\n" + pattern(90000, [](int i) { return i % 9 <= 3 ? 255 : 0; }),
     {grey(300, 100, pattern(30000, [](int i) { return i % 3 == 0 ? 255 : 76 * (i % 3 == 1); }))}},
    {"P5 2 1 255\n\0\x80 \nP2 1 1 2\n1\n\nP4 1 1\n\0"s,
     {{2, 1, {0, 128}}, {1, 1, {128}}, {1, 1, {255}}}},
    {"P2 1 1 9 9\nP4 20 1\na", {{1, 1, {255}}}, "in ended inside picture 2: 9 of 11 bytes came."},
    {"P2 2 2 255 1 2 3", {}, "in ended inside picture 1: 3 of 4 pixels came."},
    {"P5 4", {}, "in ended inside the header of picture 1: 4 bytes came."},
    {"P7\x01", {}, "in: picture 1 is no PNM picture: it starts with \"P7\", not P1 to P6."},
    {"\x89PNG", {}, "in: picture 1 is no PNM picture: it starts with \"\\x89\", not P1 to P6."},
    {"P6 100000 100000",
     {},
     "in: picture 1 is 100000 x 100000 pixels, more than the 50 megapixels a picture may have."},
    {"P5 99999999999999999999 1 255\n", {}, "in: picture 1's width is over 50000000."},
    {"P5 0 3 255\n", {}, "in: picture 1 is 0 x 3 pixels: it has no pixel."},
    {"P2 1 1 0 0", {}, "in: picture 1's maxval is 0, not 1 to 65535."},
    {"P2 1 1 9 10", {}, "in: picture 1 holds a value over its maxval 9."},
    {"P5 1 1 9\n\x0a", {}, "in: picture 1 holds a value over its maxval 9."},
    {"P5 12a 3", {}, "in: picture 1's header has \"a\" where its height should be."},
    {"P4 1 1x", {}, "in: picture 1's header has \"x\" where one whitespace byte should end it."},
    {"P1 1 1 2", {}, "in: picture 1 holds \"2\" where a bit 0 or 1 should be."},
    {"P3 1 1 9 1 x", {}, "in: picture 1 holds \"x\" where a value should be."},
    {" \n", {}, "in is empty: no picture came."},
    {kRawFrames,
     {grey(300, 300, kRawFrames.substr(0, 90000)), grey(300, 300, kRawFrames.substr(90000, 90000))},
     "in (raw 300 x 300 frames) ended inside picture 3: 3 of 90000 bytes came.",
     "300x300"},
    {"abcd", {grey(1, 2, "ab"), grey(1, 2, "cd")}, "", "1x2"},
    {"", {}, "in is empty: no picture came.", "1x2"},
    {"", {}, "--raw 0x240: a frame has at least one pixel.", "0x240"},
    {"", {}, "--raw 10000x10000: more than the 50 megapixels a picture may have.", "10000x10000"},
    {"", {}, "--raw takes WIDTHxHEIGHT in pixels, such as 640x240, not \"6 x2\".", "6 x2"},
    {"", {}, "--raw takes WIDTHxHEIGHT in pixels, such as 640x240, not \"x240\".", "x240"},
    {"", {}, "--raw takes WIDTHxHEIGHT in pixels, such as 640x240, not \"6x+2\".", "6x+2"},
};

TEST(PictureStream, EachFormatIsReadIntoLevelsAndBadInputIsRefusedAfterTheWholePictures) {
    for (const auto& stream : kStreams) {
        SCOPED_TRACE(stream.bytes.substr(0, 40) + stream.message);
        const int input = memfd_create("stream", 0);
        ASSERT_EQ(pwrite(input, stream.bytes.data(), stream.bytes.size(), 0),
                  static_cast<ssize_t>(stream.bytes.size()));
        std::unique_ptr<PictureStreamReader> reader;
        std::vector<GreyPicture> pictures;
        std::string message;
        try {
            const auto [width, height] = stream.raw ? parseRawSize(stream.raw) : std::pair{0, 0};
            reader = stream.raw ? rawGreyStreamReader(input, "in", width, height)
                                : pnmStreamReader(input, "in");
            while (std::optional<GreyPicture> picture = reader->next()) {
                pictures.push_back(std::move(*picture));
            }
        } catch (const RuntimeError& error) {
            message = std::string(errorKindName(error.kind())) + ": " + error.what();
        }
        const char* kind =
            stream.message.starts_with("--raw") ? "Wrong usage: " : "Invalid picture: ";
        EXPECT_EQ(message, stream.message.empty() ? "" : kind + stream.message);
        EXPECT_TRUE(pictures == stream.pictures);
        EXPECT_EQ(reader ? reader->picturesRead() : 0, static_cast<long>(stream.pictures.size()));
        close(input);
    }
}

}  // namespace
}  // namespace dotwall::picture_stream
