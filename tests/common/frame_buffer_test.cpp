#include <gtest/gtest.h>

#include "frame_buffer.h"

namespace dotwall {
namespace {

TEST(FrameBuffer, StartsAllZero) {
    const FrameBuffer frame;
    for (std::ptrdiff_t i = 0; i <= FrameBuffer::kLastIndex; ++i) {
        ASSERT_EQ(frame.at(i), 0) << "element " << i;
    }
}

TEST(FrameBuffer, IndexOutsideTheBufferIsAnErrorThatNamesIt) {
    FrameBuffer frame;
    EXPECT_NO_THROW(frame.at(72000) = 1);
    for (std::ptrdiff_t bad : {-1L, 72001L, 100000L}) {
        try {
            frame.at(bad) = 1;
            FAIL() << "index " << bad << " was accepted";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::IndexOutOfRange);
            EXPECT_NE(std::string(error.what()).find(std::to_string(bad)), std::string::npos)
                << error.what();
        }
    }
}

TEST(FrameBuffer, PreFillSetsEverythingButTheLastElement) {
    FrameBuffer frame;
    frame.at(72000) = 99;
    frame.preFill();
    EXPECT_EQ(frame.at(0), 5);
    EXPECT_EQ(frame.at(71999), 5);
    EXPECT_EQ(frame.at(72000), 99);
}

}  // namespace
}  // namespace dotwall
