#include "library_binder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "runtime_error.h"

namespace dotwall {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

using SetPortValFunction = std::int16_t(std::uint16_t, std::uint32_t, std::uint8_t);
using RecordedPortCallFunction = bool(std::uint32_t, std::uint16_t*, std::uint32_t*, std::uint8_t*);

// A fresh, empty folder for one test.
std::filesystem::path emptyFolder(const std::string& name) {
    const auto folder = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

template <typename Call>
RuntimeError caughtError(Call call) {
    try {
        call();
    } catch (const RuntimeError& error) {
        return error;
    }
    ADD_FAILURE() << "no RuntimeError was raised";
    return RuntimeError(ErrorKind::Overflow, "");
}

TEST(LibraryBinder, CallsAFunctionOfALibraryFoundByFileNameBesideTheProgram) {
    OutsideLibrary library{"libRecordingWinIo.so"};
    BoundFunction<void()> ForgetRecordedPortCalls{library, "ForgetRecordedPortCalls"};
    BoundFunction<SetPortValFunction> SetPortVal{library, "SetPortVal"};
    BoundFunction<RecordedPortCallFunction> RecordedPortCall{library, "RecordedPortCall"};

    ForgetRecordedPortCalls();
    EXPECT_EQ(SetPortVal(0xFFFF, 0xFFFFFFFF, 4), 1);

    std::uint16_t port = 0;
    std::uint32_t value = 0;
    std::uint8_t size = 0;
    ASSERT_TRUE(RecordedPortCall(0, &port, &value, &size));
    EXPECT_EQ(port, 0xFFFF);
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_EQ(size, 4);
}

TEST(LibraryBinder, AMissingLibraryIsAnErrorNamingTheLibraryAndTheFunction) {
    OutsideLibrary library{"libDotwallNoSuchLibrary.so"};
    BoundFunction<SetPortValFunction> SetPortVal{library, "SetPortVal"};

    const RuntimeError error = caughtError([&] { SetPortVal(888, 0, 1); });
    EXPECT_EQ(error.kind(), ErrorKind::LibraryNotFound);
    EXPECT_THAT(error.what(), AllOf(HasSubstr("\"libDotwallNoSuchLibrary.so\""),
                                    HasSubstr("\"SetPortVal\""), HasSubstr("No such file")));
}

TEST(LibraryBinder, AMissingFunctionIsAnErrorNamingTheFunctionAndTheLibrary) {
    OutsideLibrary library{RECORDING_WINIO_PATH};
    BoundFunction<void()> MapPhysToLin{library, "MapPhysToLin"};

    const RuntimeError error = caughtError([&] { MapPhysToLin(); });
    EXPECT_EQ(error.kind(), ErrorKind::FunctionNotFound);
    EXPECT_THAT(error.what(),
                AllOf(HasSubstr("\"MapPhysToLin\""), HasSubstr("\"" RECORDING_WINIO_PATH "\"")));
}

TEST(LibraryBinder, AFailedBindingIsTriedAgainAtTheNextCall) {
    const auto library = emptyFolder("binder_retry") / "libLateWinIo.so";
    OutsideLibrary lateLibrary{library.string()};
    BoundFunction<std::uint32_t()> RecordedPortCallCount{lateLibrary, "RecordedPortCallCount"};

    EXPECT_EQ(caughtError([&] { RecordedPortCallCount(); }).kind(), ErrorKind::LibraryNotFound);

    std::filesystem::copy_file(RECORDING_WINIO_PATH, library);
    EXPECT_EQ(RecordedPortCallCount(), 0u);
}

}  // namespace
}  // namespace dotwall
