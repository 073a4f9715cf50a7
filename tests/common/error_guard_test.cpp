#include <gtest/gtest.h>

#include <new>

#include "error_guard.h"
#include "recording_message_sink.h"
#include "runtime_error.h"

namespace dotwall {
namespace {

TEST(ErrorGuard, AHandlerThatSucceedsShowsNothing) {
    testing::RecordingMessageSink messages;
    const ErrorGuard guard(messages, "Dotwall");
    bool ran = false;
    EXPECT_TRUE(guard.run([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(ErrorGuard, AFailureIsShownOnceUnderTheWindowCaptionWithItsKind) {
    testing::RecordingMessageSink messages;
    const ErrorGuard guard(messages, "Dotwall");
    EXPECT_FALSE(guard.run(
        [] { throw RuntimeError(ErrorKind::Overflow, "The text \"256\" is not 0 to 255."); }));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "Dotwall");
    EXPECT_EQ(messages.messages[0].text, "Overflow: The text \"256\" is not 0 to 255.");
}

TEST(ErrorGuard, UnexpectedFailuresAreReportedToo) {
    testing::RecordingMessageSink messages;
    const ErrorGuard guard(messages, "Dotwall");
    EXPECT_FALSE(guard.run([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(guard.run([] { throw 42; }));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_NE(messages.messages[0].text.find("Out of memory"), std::string::npos);
    EXPECT_NE(messages.messages[1].text.find("Unexpected"), std::string::npos);
}

}  // namespace
}  // namespace dotwall
