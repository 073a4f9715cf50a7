// DotwallFrame play on the USB adapter port library, run as a process against the stand-in
// for libftdi1 beside it: what the adapter is set to, every byte it is sent, and each way an
// adapter can fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <semaphore>
#include <thread>

#include "base/library_binder.h"
#include "ports/winio/winio.h"

#include "expected_frames.h"
#include "test_files.h"

namespace dotwall::testing {
namespace {

using ::testing::AllOf;
using ::testing::Each;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class FtdiPort : public ::testing::Test {
  protected:
    void SetUp() override {
        savePicture(picture, folder / "p.png");
        setenv("DOTWALL_STANDIN_FTDI_RECORD", (folder / "record").c_str(), 1);
    }
    void TearDown() override {
        for (const char* name : {"DOTWALL_STANDIN_FTDI_RECORD", "DOTWALL_STANDIN_FTDI_RATE",
                                 "DOTWALL_STANDIN_FTDI_FAIL", "DOTWALL_STANDIN_FTDI_PRODUCT",
                                 "DOTWALL_STANDIN_FTDI_WAKE_LATE", "DOTWALL_FTDI_DEVICE",
                                 "DOTWALL_FTDI_BYTES_PER_SECOND"}) {
            unsetenv(name);
        }
    }

    ProgramRun play(const std::string& frames = "3") {
        std::filesystem::remove(folder / "record");
        return runProgram(DOTWALL_FRAME_ON_FTDI_PORT, {"play", "p.png", "--frames", frames},
                          folder.path());
    }
    std::string record() { return readText(folder / "record"); }

    TemporaryFolder folder;
    const QImage picture = noisePicture(640, 240, kBlackAndWhite);
};

TEST_F(FtdiPort, SetsEightOutputsInBitBangModeAtTheRateThenSendsEveryByteWithThePinsLowAround) {
    // The chip takes 250 kB/s, the rate it is set to, which any build's writer keeps up with
    // many times over, and the half second of bytes queued and in flight covers any stall of
    // a busy machine, so that it never runs dry.
    setenv("DOTWALL_STANDIN_FTDI_RATE", "250000", 1);
    setenv("DOTWALL_FTDI_BYTES_PER_SECOND", "250000", 1);
    const ProgramRun played = play();
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(played.err, "");
    // A write waits while the library's queue is full, so the stream keeps the chip's pace:
    // play's rate is at most what the chip took with the queue (64 KiB) and the transfers
    // in flight (8 of 8 KiB) still to go, at least three frames in the time the run took.
    double rate = 0;
    EXPECT_EQ(std::sscanf(played.out.c_str(), "3 frames at %lf frames/s", &rate), 1);
    EXPECT_LE(rate, 3 / ((3 * 77363.0 - 2 * 65536) / 250e3)) << played.out;
    EXPECT_GE(rate, 3 / played.seconds) << played.out;
    Bytes expected = expectedPortStream(expectedLptFrame(picture), 3);
    expected.insert(expected.begin(), 0);  // the pins low before the stream
    expected.push_back(0);
    EXPECT_EQ(readBytes(folder / "record.bytes"), expected);
    // Channel A, the first FT232H, 250000 / 16 baud before bit-bang mode on all eight pins,
    // all of it before the first byte; closed and freed at the end.
    EXPECT_THAT(record(), AllOf(StartsWith("interface 1\nopen 0403:6014\nbaudrate 15625\nbitmode "
                                           "ff 1\nchunksize 8192\nfirst transfer\ntransfers "),
                                HasSubstr(" stalls 0 "), EndsWith("\nclose\nfree\n")));

    // The default rate, the FT2232H when there is no FT232H, and the adapter a user names.
    unsetenv("DOTWALL_FTDI_BYTES_PER_SECOND");
    setenv("DOTWALL_STANDIN_FTDI_PRODUCT", "6010", 1);
    ASSERT_EQ(play("1").status, 0);
    EXPECT_THAT(record(),
                StartsWith("interface 1\nopen 0403:6014\nopen 0403:6010\nbaudrate 293750\n"));
    unsetenv("DOTWALL_STANDIN_FTDI_PRODUCT");
    setenv("DOTWALL_FTDI_DEVICE", "s:0x0403:0x6014:FT1X", 1);
    ASSERT_EQ(play("1").status, 0);
    EXPECT_THAT(record(), StartsWith("interface 1\nopen s:0x0403:0x6014:FT1X\n"));
}

TEST_F(FtdiPort, EachFailureIsOneLineThatSaysWhatToDoAndLeavesTheAdapterClosed) {
    const std::string whoops = "DotwallFrame: Whoops ! There is a problem with InitializeWinIo.\n";
    const std::string ftdi = "libWinIo.so (FTDI): ";
    const struct {
        const char* value;
        std::string said;     // the library's line; the program's follows
        std::string closing;  // how the record ends
        const char* variable = "DOTWALL_STANDIN_FTDI_FAIL";
    } cases[] = {
        {"missing",
         "no FT232H (0403:6014) or FT2232H (0403:6010) is plugged in (ftdi_usb_open: device not "
         "found): plug one in, or name it with DOTWALL_FTDI_DEVICE",
         "open 0403:6010\nfree\n"},
        {"denied",
         "this user may not open the FT232H (0403:6014) or FT2232H (0403:6010) (ftdi_usb_open: "
         "unable to open device): install the udev rule 60-dotwall-ftdi.rules",
         "open 0403:6014\nfree\n"},
        {"busy", "is held by another program", "free\n"},
        {"baudrate",
         "the adapter refused the rate of 4700000 bytes per second (ftdi_set_baudrate: "
         "Unsupported baudrate)",
         "close\nfree\n"},
        {"bitmode", "refused asynchronous bit-bang mode", "close\nfree\n"},
        {"x:1", "DOTWALL_FTDI_DEVICE=\"x:1\" names no adapter", "free\n", "DOTWALL_FTDI_DEVICE"},
        {"2500",
         "DOTWALL_FTDI_BYTES_PER_SECOND=\"2500\" is no whole number from 3000 to 12000000 bytes "
         "per second.",
         "", "DOTWALL_FTDI_BYTES_PER_SECOND"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.value);
        setenv(row.variable, row.value, 1);
        const ProgramRun played = play();
        unsetenv(row.variable);
        EXPECT_EQ(played.status, 1);
        EXPECT_THAT(played.err, AllOf(StartsWith(ftdi), HasSubstr(row.said), EndsWith(whoops)));
        EXPECT_EQ(std::count(played.err.begin(), played.err.end(), '\n'), 2) << played.err;
        EXPECT_THAT(record(), EndsWith(row.closing));
    }

    // Unplugged mid-stream: the refused write ends the stream, said by the library and by
    // the program with the library's reason, and nothing is sent after it.
    setenv("DOTWALL_STANDIN_FTDI_FAIL", "write:100000", 1);
    const ProgramRun unplugged = play("1000");
    EXPECT_EQ(unplugged.status, 1);
    const std::string reason =
        "The adapter stopped taking bytes (ftdi_transfer_data_done: LIBUSB_ERROR_NO_DEVICE): it "
        "was unplugged or failed, and the stream ended.\n";
    EXPECT_THAT(unplugged.err, AllOf(StartsWith(ftdi + reason),
                                     EndsWith("could not put it on the wire. " + reason)));
    EXPECT_EQ(unplugged.err.find(ftdi + reason, 1), std::string::npos) << "told once";
    EXPECT_THAT(record(), EndsWith("close\nfree\n"));
    EXPECT_LT(readBytes(folder / "record.bytes").size(), 100000u + 64 * 1024);
}

// The library in this process over the stand-in: four threads write at once, each its bytes
// counting 1 to 63 over, while the library's thread wakes late (a busy machine); then a pause.
TEST_F(FtdiPort, SeveralWritersGetEveryByteThroughInOrderAndEachTimeTheChipRanDryIsTold) {
    setenv("DOTWALL_STANDIN_FTDI_RATE", "4700000", 1);
    setenv("DOTWALL_STANDIN_FTDI_WAKE_LATE", "20", 1);
    ASSERT_NE(dlopen(STANDIN_FTDI_PATH, RTLD_NOW | RTLD_GLOBAL), nullptr) << dlerror();
    OutsideLibrary chip{STANDIN_FTDI_PATH};
    BoundFunction<long()> bytesTaken{chip, "standin_ftdi_bytes_taken"};
    OutsideLibrary library{FTDI_WINIO_PATH};
    BoundFunction<decltype(::InitializeWinIo)> initialize{library, "InitializeWinIo"};
    BoundFunction<decltype(::SetPortVal)> setPortVal{library, "SetPortVal"};
    BoundFunction<decltype(::GetPortVal)> getPortVal{library, "GetPortVal"};
    BoundFunction<decltype(::ShutdownWinIo)> shutdown{library, "ShutdownWinIo"};
    EXPECT_EQ(setPortVal(0x378, 48, 1), 0) << "no write before InitializeWinIo";
    ASSERT_EQ(initialize(), 1);
    const StandardErrorLines said;
    constexpr int kWriters = 4, kWrites = 100'000;
    std::counting_semaphore<kWriters> finished{0};
    std::thread writers[kWriters];
    for (int writer = 0; writer < kWriters; ++writer) {
        writers[writer] = std::thread([&, writer] {
            for (int n = 0; n < kWrites; ++n) {
                setPortVal(0x378, writer * 64 + 1 + n % 63, 1);  // a refusal would be told
            }
            finished.release();
        });
    }
    for (int writer = 0; writer < kWriters; ++writer) {  // a stuck one ends the program
        ASSERT_TRUE(finished.try_acquire_for(std::chrono::minutes(2))) << "the writers hang";
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(setPortVal(0x378, 64, 1), 1);  // a byte no writer sends, held while the chip runs dry
    EXPECT_TRUE(waitUntil([&] { return bytesTaken() >= 2 + kWriters * kWrites; }))
        << "the chip takes the pins' first 0, every writer's bytes and the last";
    std::uint32_t last = 0;
    EXPECT_EQ(getPortVal(0x378, &last, 1) + setPortVal(0x379, 1, 1) + setPortVal(0x378, 1, 2), 1);
    EXPECT_EQ(last, 64u);
    EXPECT_EQ(shutdown(), 1);
    int reached[kWriters]{}, outOfOrder = 0;
    for (const std::uint8_t byte : readBytes(folder / "record.bytes")) {
        outOfOrder += byte % 64 != 0 && byte % 64 != 1 + reached[byte / 64]++ % 63;
    }
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_THAT(reached, Each(kWrites));
    const int stalls = std::atoi(record().substr(record().find(" stalls ") + 8).c_str());
    EXPECT_EQ(said.lines(), "libWinIo.so (FTDI): The adapter ran out of bytes " +
                                std::to_string(stalls) +
                                " times while the stream ran: the PC did not keep up, and the "
                                "panel saw its lines stall.\n");
}

}  // namespace
}  // namespace dotwall::testing
