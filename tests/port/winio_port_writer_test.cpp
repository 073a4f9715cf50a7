#include "winio_port_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

namespace dotwall::port_tool {
namespace {

using PortCall = std::tuple<std::uint16_t, std::uint32_t, std::uint8_t>;

// The calls the recording stand-in library received, read back through the binder.
std::vector<PortCall> recordedCalls(OutsideLibrary& library) {
    BoundFunction<std::uint32_t()> RecordedPortCallCount{library, "RecordedPortCallCount"};
    BoundFunction<bool(std::uint32_t, std::uint16_t*, std::uint32_t*, std::uint8_t*)>
        RecordedPortCall{library, "RecordedPortCall"};
    std::vector<PortCall> calls;
    for (std::uint32_t i = 0; i < RecordedPortCallCount(); ++i) {
        PortCall call;
        RecordedPortCall(i, &std::get<0>(call), &std::get<1>(call), &std::get<2>(call));
        calls.push_back(call);
    }
    return calls;
}

TEST(WinIoPortWriter, WritesEachByteToPort888OneByteWideAndKeepsTheLastResult) {
    Module1 module1{RECORDING_WINIO_PATH};
    BoundFunction<void()>{module1.winIo, "ForgetRecordedPortCalls"}();
    WinIoPortWriter port{module1};

    for (const std::uint8_t byte : {48, 0, 255}) {
        port.write(byte);
    }

    EXPECT_THAT(
        recordedCalls(module1.winIo),
        ::testing::ElementsAre(PortCall{888, 48, 1}, PortCall{888, 0, 1}, PortCall{888, 255, 1}));
    EXPECT_EQ(port.lastByte(), 255);
    EXPECT_EQ(port.lastResult(), 3);  // the stand-in answers with its call count
}

TEST(WinIoPortWriter, AFailingWriteIsKeptNotJudged) {
    Module1 module1;  // the real library, never initialised: every write fails
    WinIoPortWriter port{module1};
    port.write(77);
    EXPECT_EQ(port.lastByte(), 77);
    EXPECT_EQ(port.lastResult(), 0);
}

}  // namespace
}  // namespace dotwall::port_tool
