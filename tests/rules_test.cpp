// The small rules both programs share, one table each: numbers typed into boxes, numbers
// shown in boxes, numbers given on a command line or in the environment, colour values, the
// point-to-pixel mapping of a picture area, the grid probe, the binding of outside libraries,
// the port library's grant, the schedules that pace a stream and the text server's strokes, and
// where the text server listens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <functional>
#include <future>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/decimal_text.h"
#include "base/library_binder.h"
#include "base/numeric_text.h"
#include "base/runtime_error.h"
#include "base/whole_number.h"
#include "frames/picture_area.h"
#include "picture/area_image.h"
#include "picture/qt_colour.h"
#include "port_stream/line_pacer.h"
#include "ports/parallel/granted_ports.h"
#include "ports/parallel/port_grants.h"
#include "ports/virtual/write_pacing.h"
#include "text_screens/protocol_numbers.h"
#include "text_server/listen_address.h"
#include "text_server/stroke_schedule.h"

namespace dotwall {
namespace {

using ::testing::HasSubstr;

// The value a conversion gives as text, or the kind of error it raises and the text quoted.
template <typename Convert>
std::string outcome(Convert convert, const std::string& text) {
    try {
        return std::to_string(convert(text));
    } catch (const RuntimeError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + text + "\""));
        return error.kind() == ErrorKind::Overflow ? "overflow" : "mismatch";
    }
}

TEST(NumericText, ReadsDecimalHexadecimalAndOctalRoundingHalfToEven) {
    struct Case {
        std::string text, asByte = "mismatch", asInt16 = "mismatch";
    };
    std::vector<Case> table = {
        {"0", "0", "0"},
        {" 255\t", "255", "255"},
        {"+12", "12", "12"},
        {"-3", "overflow", "-3"},
        {"256", "overflow", "256"},
        {"2.5", "2", "2"},
        {"3.5", "4", "4"},
        {"-0.5", "0", "0"},
        {"-0.6", "overflow", "-1"},
        {"2.51", "3", "3"},
        {"2.50000000000000000001", "3", "3"},
        {"255.5", "overflow", "256"},
        {"25e1", "250", "250"},
        {"&HFF", "255", "255"},
        {"&hfF", "255", "255"},
        {"&O377", "255", "255"},
        {"&H378", "overflow", "888"},
        {"&HFFFF", "overflow", "-1"},
        {"&H8000", "overflow", "-32768"},
        {"&H10000", "overflow", "overflow"},
        {"&HFFFF8000", "overflow", "-32768"},
        {"32768", "overflow", "overflow"},
        {"-32768.5", "overflow", "-32768"},
        {"1e999999999999", "overflow", "overflow"},
    };
    for (const char* notANumber : {"", "1 2", "12x", "&H", "&O8", "-&H1", "0x10", "1,5", "nan"}) {
        table.push_back({notANumber});
    }
    for (const Case& row : table) {
        SCOPED_TRACE("text \"" + row.text + "\"");
        EXPECT_EQ(outcome([](const std::string& t) { return int{toByte(t)}; }, row.text),
                  row.asByte);
        EXPECT_EQ(outcome(toInt16, row.text), row.asInt16);
    }
}

// Digits with an optional minus, in the range: a tail, a blank, a plus, a fraction or a number
// too large for any type refuses the whole text, on the command line as in the environment.
// LCDd's protocol reads the same texts, in turn, as LCDd does: by the leading number, blanks
// and a sign before it allowed, held at int's ends.
TEST(WholeNumber, TakesDigitsWithAnOptionalMinusInTheRangeAndRefusesAnythingElseWhole) {
    std::vector<std::pair<std::string, std::optional<long>>> cases = {
        {"0", 0}, {"-7", -7}, {"1000", 1000}};
    for (const char* refused : {"-8", "1001", "5x", "2 ", " 2", "3s", "+2", "2.5", "1e3", "0x10",
                                "", "-", "1\n", "99999999999999999999", "-2147483649"}) {
        cases.emplace_back(refused, std::nullopt);
    }
    const int asLcdd[] = {0, -7, 1000, -8, 1001, 5, 2, 2, 3, 2, 2, 1, 0, 0, 0, 1, INT_MAX, INT_MIN};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [text, number] = cases[i];
        SCOPED_TRACE("text \"" + text + "\"");
        EXPECT_EQ(wholeNumber(text, -7, 1000), number);
        EXPECT_EQ(text_screens::leadingNumber(text), asLcdd[i]);
        setenv("DOTWALL_TEST_NUMBER", text.c_str(), 1);
        std::string said;
        try {
            EXPECT_EQ(wholeNumberSetting("DOTWALL_TEST_NUMBER", -7, 1000, " ns"), number);
        } catch (const RuntimeError& error) {
            said = error.what();
        }
        EXPECT_EQ(said, number ? ""
                               : "DOTWALL_TEST_NUMBER=\"" + text +
                                     "\" is no whole number from -7 to 1000 ns.");
    }
    unsetenv("DOTWALL_TEST_NUMBER");
    EXPECT_EQ(wholeNumberSetting("DOTWALL_TEST_NUMBER", 0, 1), std::nullopt);
}

// --listen: an IPv4 address, localhost or an IPv6 address in brackets, and a port from 1 to
// 65535 by the rule above; the warning goes by whether only this machine reaches it.
TEST(ListenAddress, TakesAnAddressAndAPortByTheNumberRuleAndKnowsTheLoopback) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"127.0.0.1:13666", "127.0.0.1:13666 loopback"}, {"localhost:1", "127.0.0.1:1 loopback"},
        {"127.9.9.9:65535", "127.9.9.9:65535 loopback"}, {"0.0.0.0:13666", "0.0.0.0:13666"},
        {"[::1]:13666", "[::1]:13666 loopback"},         {"[::]:13666", "[::]:13666"}};
    for (const char* refused :
         {"127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:13666x", "127.0.0.1: 13666",
          "127.0.0.1:+13666", "127.0.0.1:", "", "127.0.0.1", "13666", "::1:13666", "[::1]",
          "[127.0.0.1]:1", "localhost :1", "1.2.3:1"}) {
        cases.emplace_back(refused, "");
    }
    for (const auto& [text, taken] : cases) {
        SCOPED_TRACE("text \"" + text + "\"");
        std::string got;
        try {
            const text_server::ListenAddress address = text_server::parseListenAddress(text);
            got = address.text + (address.loopback() ? " loopback" : "");
        } catch (const RuntimeError& error) {
            EXPECT_THAT(error.what(), HasSubstr("not \"" + text + "\""));
        }
        EXPECT_EQ(got, taken);
    }
}

TEST(DecimalText, ShowsPlainDigitsTheDumpsSignFormAndTheFloorOfAPosition) {
    EXPECT_EQ(decimalText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
    EXPECT_EQ(signedNumberText(5), " 5");
    EXPECT_EQ(signedNumberText(-3), "-3");
    EXPECT_EQ(floorDecimalText(319.999), "319");
    EXPECT_EQ(floorDecimalText(-0.25), "-1");
    EXPECT_EQ(floorDecimalText(-0.0), "0");
    EXPECT_EQ(floorDecimalText(1e20), "100000000000000000000");
}

TEST(ColourValue, PutsRedInTheLowByteAndResolvesSystemColoursThroughThePalette) {
    EXPECT_EQ(colourFromQRgb(qRgba(0x11, 0x22, 0x33, 0x44)), 0x00332211);
    EXPECT_EQ(qRgbFromColour(0x00332211), qRgb(0x11, 0x22, 0x33));
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Window, QColor(4, 0, 0));
    palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(18, 0, 0));
    EXPECT_EQ(resolveColour(systemColourReference(18), palette), 18);
    EXPECT_EQ(resolveColour(systemColourReference(99), palette), 4) << "unknown: the window's";
}

TEST(PictureArea, MapsAPointToThePixelBelowAndLeftAndAnswersMinusOneOutside) {
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i) {
        picture.setPixel(i % 3, i / 3, qRgb(i + 1, 0, 0));
    }
    const float nan = std::nanf("");
    const PictureArea pixels = areaShowing({4.0f, 3.0f, AreaUnit::Pixel}, 0x0000AA, picture);
    const struct {
        float x, y;
        ColourValue colour;
    } pixelCases[] = {{0, 0, 1},  {2.99f, 1.99f, 6}, {1.5f, 0.5f, 2}, {3, 0, 0xAA}, {0, 2.5f, 0xAA},
                      {4, 0, -1}, {-0.01f, 0, -1},   {0, 3, -1},      {nan, 0, -1}};
    for (const auto& point : pixelCases) {
        EXPECT_EQ(pixels.pointColour(point.x, point.y), point.colour) << point.x << "," << point.y;
    }
}

// Each thread's name for the kernel's record; the test's own is "main".
thread_local std::string threadName = "main";

// The kernel as the real port library sees it, recording which thread asked for the ports
// and which accessed them, in turn.
struct RecordingKernel final : ports::parallel::PortKernel {
    int request(bool on) override {
        record((on ? "on " : "off ") + threadName);
        return on ? refusal.load() : 0;
    }
    void out(std::uint16_t port, std::uint32_t value, std::uint8_t size) override {
        record("out " + std::to_string(port) + "=" + std::to_string(value) + "/" +
               std::to_string(size) + " " + threadName);
    }
    std::uint32_t in(std::uint16_t port, std::uint8_t) override {
        record("in " + std::to_string(port) + " " + threadName);
        return 0x5A;
    }
    void record(const std::string& call) {
        const std::lock_guard lock(mutex);
        calls += call + "; ";
    }
    std::string taken() {
        const std::lock_guard lock(mutex);
        return std::exchange(calls, "");
    }
    std::atomic<int> refusal = 0;
    std::mutex mutex;
    std::string calls;
};

TEST(WinIo, GrantsOnlyThePortsRegistersAndEachThreadAsksTheKernelBeforeItsFirstAccess) {
    const struct {
        std::uint16_t port;
        std::uint8_t size;
        bool granted;
    } cases[] = {{0x378, 1, true},   {0x37A, 1, true},  {0x378, 2, true},  {0x379, 2, true},
                 {0x37A, 2, false},  {0x378, 4, false}, {0x377, 1, false}, {0x37B, 1, false},
                 {0xFFFF, 2, false}, {0x378, 3, false}, {0x378, 0, false}};
    for (const auto& access : cases) {
        EXPECT_EQ(ports::parallel::insideGrantedPorts(access.port, access.size), access.granted)
            << access.port << " " << int{access.size};
    }
    RecordingKernel kernel;
    ports::parallel::PortGrants grants(kernel);
    std::string why;
    for (const auto& [error, said] :
         {std::pair{EPERM,
                    "the kernel refused the parallel port's registers 0x378 to 0x37A "
                    "(ioperm: Operation not permitted): run the program as root, or give "
                    "it the capability"},
          {ENOSYS,
           "this machine gives no access to a parallel port's registers (ioperm: "
           "Function not implemented), as in many virtual machines: drive the panel "
           "through the USB adapter's port library"}}) {
        kernel.refusal = error;
        EXPECT_FALSE(grants.open(why));
        EXPECT_TRUE(why.starts_with(said)) << why;
        EXPECT_FALSE(grants.out(0x378, 48, 1));
    }
    EXPECT_EQ(kernel.taken(), "on main; on main; ") << "no access without a grant";

    // A thread started before the grant and one started after each ask on their first
    // access, before it; the thread that opened the ports asks no more.
    kernel.refusal = 0;
    std::promise<void> granted;
    auto accessAfterGrant = [&](const char* name, std::shared_future<void> grant) {
        threadName = name;
        grant.wait();
        EXPECT_TRUE(grants.out(0x378, 16, 1) && grants.out(0x37A, 0, 1));
    };
    std::shared_future<void> grant = granted.get_future().share();
    std::thread early(accessAfterGrant, "early", grant);
    ASSERT_TRUE(grants.open(why));
    EXPECT_TRUE(grants.out(0x378, 48, 1));
    granted.set_value();
    early.join();
    std::thread late(accessAfterGrant, "late", grant);
    late.join();
    std::uint32_t value = 0;
    EXPECT_TRUE(grants.in(0x379, value, 1));
    EXPECT_EQ(value, 0x5Au);
    EXPECT_FALSE(grants.out(0x377, 1, 1) || grants.out(0x378, 1, 3)) << "outside the grant";
    EXPECT_EQ(kernel.taken(),
              "on main; out 888=48/1 main; on early; out 888=16/1 early; out 890=0/1 early; "
              "on late; out 888=16/1 late; out 890=0/1 late; in 889 main; ");

    // A thread the kernel refuses accesses nothing, and does not ask again.
    kernel.refusal = EPERM;
    std::thread refused([&] {
        threadName = "refused";
        EXPECT_FALSE(grants.out(0x378, 1, 1) || grants.out(0x378, 1, 1));
    });
    refused.join();
    grants.close();
    EXPECT_FALSE(grants.out(0x378, 1, 1)) << "nothing after the ports were given back";
    EXPECT_EQ(kernel.taken(), "on refused; off main; ");
}

// A turn that comes many periods late starts the schedule again from it: the turns after it
// keep the period instead of going at once to catch up, a burst the panel shows as a bright
// band. A lower bound only: a busy machine makes the turns later, never sooner.
TEST(Schedules, AfterAStallOfManyPeriodsTheTurnsKeepThePeriodFromTheLateOne) {
    using std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kPeriod{2};
    constexpr int kTurns = 10;
    struct NoPort final : port_signals::PortWriter {
        void write(std::uint8_t) override {}
    } port;
    port_stream::StreamStop stop;
    port_stream::LinePacer lines(port, stop, false, kPeriod, 1000, [](const std::string&) {});
    ports::virtual_panel::WritePacing writes(kPeriod);
    text_server::StrokeSchedule strokes(kPeriod, steady_clock::now());
    const std::pair<const char*, std::function<void()>> schedules[] = {
        {"the line pacer", [&] { lines.beforeLatch(); }},
        {"the virtual port's writes", [&] { writes.waitForTurn(); }},
        {"the text server's strokes", [&] {
             std::this_thread::sleep_until(strokes.due());
             strokes.advance(steady_clock::now());
         }}};
    for (const auto& [schedule, turn] : schedules) {
        turn();
        turn();
        std::this_thread::sleep_for(kPeriod * kTurns * 3);
        const steady_clock::time_point stalled = steady_clock::now();
        for (int i = 0; i < kTurns; ++i) {
            turn();
        }
        EXPECT_GE(steady_clock::now() - stalled, kPeriod * (kTurns - 1)) << schedule;
    }
}

}  // namespace
}  // namespace dotwall
