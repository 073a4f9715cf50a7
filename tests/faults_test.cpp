// What a careless or hostile user can do to the virtual panel's object, to the port libraries
// and to a stream with signals, each case with the outcome it must have: one clear line, the
// documented exit status, nothing left behind, no hang, no crash.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expected_frames.h"
#include "frames/port_signals.h"
#include "ports/virtual/write_pacing.h"
#include "test_files.h"

namespace dotwall::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("DOTWALL_VIRTUAL_PANEL", panel.c_str(), 1);
        savePicture(noisePicture(640, 240, kBlackAndWhite), folder / "p.png");
    }
    void TearDown() override {
        unsetenv("DOTWALL_VIRTUAL_PANEL");
        std::error_code ignored;
        std::filesystem::remove_all(object, ignored);
    }

    // DotwallFrame play on the virtual port library, until it is signalled.
    pid_t startPlaying() {
        const pid_t play =
            startProgram(DOTWALL_FRAME_ON_VIRTUAL_PORT, {"play", "p.png"}, folder.path());
        waitUntil([&] { return std::filesystem::exists(object); });
        return play;
    }
    ProgramRun snapshot() {
        return runProgram(DOTWALL_PANEL_PATH, {"--snapshot", "s.png"}, folder.path());
    }
    ProgramRun playOne() {
        return runProgram(DOTWALL_FRAME_ON_VIRTUAL_PORT, {"play", "p.png", "--frames", "1"},
                          folder.path());
    }

    TemporaryFolder folder;
    std::string panel = "faults-" + std::to_string(getpid());
    std::filesystem::path object =
        "/dev/shm/dotwall-panel-" + std::to_string(geteuid()) + "-" + panel;
};

// Makes the object as another user would, with its own mode and owner.
void makeObject(const std::filesystem::path& path, mode_t mode, uid_t owner) {
    const int made = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, mode);
    ASSERT_GE(made, 0);
    ASSERT_EQ(ftruncate(made, 4096), 0);
    ASSERT_EQ(fchmod(made, mode), 0);
    ASSERT_EQ(fchown(made, owner, owner), 0);
    ::close(made);
}

TEST_F(Faults, AHostilePanelObjectIsRefusedByNameNeverHangsNorCrashesAndALiveOneIsKept) {
    const std::string name = "The shared memory object \"/dotwall-panel-" +
                             std::to_string(geteuid()) + "-" + panel + "\" ";
    // A FIFO, a folder, another user's: refused unread, at once.
    const struct {
        const char* what;
        std::function<void()> make;
        std::string viewer;  // what the snapshot says
        std::string feeder;  // what play on the virtual library says; empty: it plays
    } cases[] = {
        {"a FIFO", [&] { mkfifo(object.c_str(), 0600); }, "is a FIFO, not a virtual panel", ""},
        {"a folder", [&] { std::filesystem::create_directory(object); },
         "is a folder, not a virtual panel", "is a folder, which the panel cannot replace"},
        {"another user's", [&] { makeObject(object, 0600, geteuid() + 1); },
         "belongs to user " + std::to_string(geteuid() + 1), ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        row.make();
        const ProgramRun viewed = snapshot();
        EXPECT_EQ(viewed.status, 1);
        EXPECT_THAT(viewed.err, HasSubstr(name + row.viewer));
        EXPECT_FALSE(std::filesystem::exists(folder / "s.png"));
        const ProgramRun fed = playOne();
        EXPECT_EQ(fed.status, row.feeder.empty() ? 0 : 1) << fed.err;
        EXPECT_THAT(fed.err, HasSubstr(row.feeder));
        std::filesystem::remove_all(object);
    }
    // So is one that the group or others may read, or write: change the picture, cut it short.
    for (const char* mode : {"0640", "0620", "0604", "0602"}) {
        makeObject(object, std::stoi(mode, nullptr, 8), geteuid());
        EXPECT_THAT(snapshot().err,
                    HasSubstr(name + "may be opened by others (mode " + mode + ")"));
        std::filesystem::remove(object);
    }

    // A live panel is kept from a second feeder, which would take it over.
    const pid_t first = startPlaying();
    const ProgramRun second = playOne();
    EXPECT_EQ(second.status, 1);
    EXPECT_THAT(second.err, HasSubstr(name + "is fed by another program already"));
    // The rate of a live stream is told, not 0.
    const ProgramRun live = snapshot();
    EXPECT_EQ(live.status, 0) << live.err;
    EXPECT_THAT(live.out, AllOf(HasSubstr(" frames/s, "), Not(HasSubstr(": 0.0 frames/s"))));

    // Killed, the feeder leaves its object; the viewer knows that nobody feeds it.
    kill(first, SIGKILL);
    finishProgram(first, folder.path());
    std::filesystem::remove(folder / "s.png");
    const ProgramRun dead = snapshot();
    EXPECT_EQ(dead.status, 1);
    EXPECT_THAT(dead.err, HasSubstr("No program feeds the panel, so no snapshot was written"));
    EXPECT_THAT(dead.err, HasSubstr("is gone without removing it"));
    EXPECT_EQ(playOne().status, 0) << "the dead object is replaced";
}

// A shell command run as root in a mount namespace of its own or as another user; false when
// this machine does not allow it.
bool runAs(const std::vector<std::string>& command, const std::filesystem::path& folder,
           ProgramRun& result) {
    if (geteuid() != 0) {
        return false;
    }
    result = runProgram(command.front(), {command.begin() + 1, command.end()}, folder);
    return result.err.find("unshare failed") == std::string::npos &&
           result.err.find("mount: ") == std::string::npos &&
           result.err.find("setpriv: ") == std::string::npos;
}

TEST_F(Faults, AFullDiskOrDevShmOrAnotherUsersObjectIsAnErrorAtTheStartNeverABusErrorLater) {
    ProgramRun full;
    if (!runAs({"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                "mount -t tmpfs -o size=8k tmpfs /dev/shm && exec " +
                    std::string(DOTWALL_FRAME_ON_VIRTUAL_PORT) + " play p.png --frames 1"},
               folder.path(), full)) {
        GTEST_SKIP() << "no mount namespace here (as root, unshare -m): " << full.err;
    }
    EXPECT_EQ(full.status, 1);
    EXPECT_THAT(full.err, HasSubstr("No space left on device"));
    // A stream larger than its disk's free space is refused before a byte is written.
    ASSERT_TRUE(runAs({"/usr/bin/unshare", "-m", "/bin/sh", "-c",
                       "mkdir s && mount -t tmpfs -o size=1m tmpfs s && exec " +
                           std::string(DOTWALL_FRAME_PATH) + " stream p.png --frames 20 -o s/s"},
                      folder.path(), full));
    EXPECT_THAT(full.err, HasSubstr("Cannot write \"s/s\": 20 frames take 1547260 bytes, but "
                                    "its file system has 1048576 bytes free."));

    // Another user at /dev/shm, sticky: the object of root under their name stays. The user
    // runs a copy of play and its library in a folder open to all, wherever the build lies.
    const std::filesystem::path copy = folder / "virtual_port";
    std::filesystem::copy(std::filesystem::path(DOTWALL_FRAME_ON_VIRTUAL_PORT).parent_path(), copy);
    for (const auto& path :
         {folder.path(), folder / "p.png", copy, copy / "DotwallFrame", copy / "libWinIo.so"}) {
        chmod(path.c_str(), 0755);
    }
    const std::string other = "/dev/shm/dotwall-panel-65534-" + panel;
    makeObject(other, 0600, 0);
    ProgramRun foreign;
    const bool ran = runAs({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                            (copy / "DotwallFrame").string(), "play", "p.png", "--frames", "1"},
                           folder.path(), foreign);
    std::filesystem::remove(other);
    if (!ran) {
        GTEST_SKIP() << "no other user here (as root, setpriv): " << foreign.err;
    }
    EXPECT_EQ(foreign.status, 1);
    EXPECT_THAT(foreign.err, HasSubstr("belongs to user 0, and cannot be replaced (Permission "
                                       "denied): remove it as its owner"));
}

TEST_F(Faults, APortLibraryThatFallsShortIsReportedAtTheStartOrEndsTheStreamWithExitOne) {
    const std::string folderOf = INCOMPLETE_PORT_LIBRARIES;
    const struct {
        const char* library;
        std::string said;
    } cases[] = {
        {"portless", "The function \"SetPortVal\" was not found in the library \"libWinIo.so\""},
        {"initialize_only",
         "The function \"ShutdownWinIo\" was not found in the library \"libWinIo.so\""},
        {"refusing",
         "SetPortVal refused the byte 48 for the port 0x378 (888), so the stream ended"},
    };
    for (const auto& row : cases) {
        const ProgramRun played = runProgram(folderOf + "/" + row.library + "/DotwallFrame",
                                             {"play", "p.png", "--frames", "3"}, folder.path());
        EXPECT_EQ(played.status, 1) << row.library;
        EXPECT_TRUE(played.err.starts_with("DotwallFrame: " + row.said)) << played.err;
        EXPECT_EQ(std::count(played.err.begin(), played.err.end(), '\n'), 1) << played.err;
    }
    // A pace that would make a frame last hours, which a stop waits for, is refused.
    setenv("DOTWALL_VIRTUAL_PORT_NS", "1000000000", 1);
    const ProgramRun slow = playOne();
    unsetenv("DOTWALL_VIRTUAL_PORT_NS");
    EXPECT_EQ(slow.status, 0);
    EXPECT_THAT(slow.err,
                HasSubstr("DOTWALL_VIRTUAL_PORT_NS=\"1000000000\" is no whole number from 0 "
                          "to 64630 nanoseconds"));
    // Unset, a real port's pace, unless a frame (4096 x 4096: 8392706 writes) outlasted the bound.
    EXPECT_EQ(ports::virtual_panel::defaultPacing(port_signals::kWritesPerFrame),
              ports::virtual_panel::kRealPortWrite);
    EXPECT_LE(ports::virtual_panel::defaultPacing(8392706) * 8392706,
              ports::virtual_panel::kLongestFrame);
}

// One stop may come as several signals (GNU timeout's); a slow one (a port whose writes take
// 2 s) is told, and a signal after that cuts the frame short. Either way the port is left low, the
// driver stopped.
TEST_F(Faults, ASignalEndsAStreamBetweenFramesWithThePortLowAndAnIdleReadAtOnce) {
    const auto port = folder / "port";
    setenv("DOTWALL_RECORDED_PORT", port.c_str(), 1);
    std::ofstream(folder / "slow.json") << R"({"name": "slow", "width": 4, "lines": 1,
        "data": [3, 2, 1, 0], "shift_clock": 6, "line_latch": 4, "frame_marker": 5,
        "frames_per_second": 1})";
    const std::vector<int> cases[] = {
        {SIGHUP}, {SIGTERM, SIGTERM}, {SIGTERM, SIGINT}, {SIGTERM, 0, SIGHUP}};
    for (const std::vector<int>& sent : cases) {  // 0 sends nothing: it waits for the note
        const bool slow = sent.size() == 3;
        SCOPED_TRACE(::testing::PrintToString(sent));
        std::filesystem::remove(port.string() + ".started");
        setenv("DOTWALL_RECORDED_PORT_WRITE_MS", slow ? "2000" : "0", 1);
        const pid_t play = startProgram(
            DOTWALL_FRAME_ON_RECORDING_PORT,
            {"play", "p.png", "--panel", slow ? "slow.json" : "dotwall-lpt"}, folder.path());
        ASSERT_TRUE(waitUntil([&] { return std::filesystem::exists(port.string() + ".started"); }));
        kill(play, SIGPIPE);  // ignored: nobody reads a pipe of play's
        for (const int signal : sent) {
            EXPECT_TRUE(signal != 0 || waitForSaying(folder.path(), "a second signal"));
            kill(play, signal);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const ProgramRun played = finishStopped(play, folder.path());
        EXPECT_EQ(played.status, 0);
        const Bytes stopped = readBytes(port);
        if (slow) {  // 48, 32, a group high and low, then the latch: cut before it, then 0
            EXPECT_LT(stopped.size(), 6u);
        } else {
            EXPECT_EQ(stopped.size() % port_signals::kWritesPerFrame, 1u) << "whole frames, then 0";
        }
        EXPECT_THAT(played.out, HasSubstr(slow ? "0 frames at 0.00 frames/s" : " frames at "));
        EXPECT_EQ(stopped.back(), 0);
    }
    unsetenv("DOTWALL_RECORDED_PORT_WRITE_MS");

    // Nothing is half done while a FIFO holds the input up, its writer silent or never come:
    // the first signal ends it at once. Once a picture came, play feeds the panel, and a
    // signal while its input is silent is its stop as any other: the port left low, exit 0.
    mkfifo((folder / "fifo").c_str(), 0600);
    const struct {
        std::vector<std::string> arguments;
        const char* written;  // once the program holds the reader's end; null: no writer
        int status;
    } waiting[] = {
        {{"preview", "fifo", "-o", "out.png"}, "", 128 + SIGTERM},
        {{"play", "fifo"}, nullptr, 128 + SIGTERM},
        {{"play", "fifo"}, "P1 4 1 0 1 1 0", 0},
    };
    for (const auto& row : waiting) {
        std::filesystem::remove(port);
        std::filesystem::remove(port.string() + ".started");
        const pid_t run =
            startProgram(DOTWALL_FRAME_ON_RECORDING_PORT, row.arguments, folder.path());
        int writer = -1;
        if (row.written == nullptr) {  // blocked opening the FIFO
            EXPECT_TRUE(waitUntil([&] {
                return readText("/proc/" + std::to_string(run) + "/syscall")
                    .starts_with(std::to_string(SYS_openat) + " ");
            }));
        } else {
            EXPECT_TRUE(waitUntil([&] {
                return (writer = ::open((folder / "fifo").c_str(), O_WRONLY | O_NONBLOCK)) >= 0;
            }));
            const auto length = static_cast<ssize_t>(std::strlen(row.written));
            EXPECT_EQ(::write(writer, row.written, length), length);
            EXPECT_TRUE(row.status != 0 || waitUntil([&] {
                            return std::filesystem::exists(port.string() + ".started");
                        }));
        }
        kill(run, SIGTERM);
        const ProgramRun ended = finishStopped(run, folder.path());
        EXPECT_EQ(ended.status, row.status) << ended.err;
        EXPECT_EQ(ended.out.find("; 1 pictures shown, 0 dropped\n") != std::string::npos,
                  row.status == 0)
            << ended.out;
        EXPECT_EQ(std::filesystem::exists(port)
                      ? readBytes(port).size() % port_signals::kWritesPerFrame
                      : 0,
                  row.status == 0 ? 1u : 0u)
            << "whole frames, then 0; or no port";
        ::close(writer);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.png"));
    unsetenv("DOTWALL_RECORDED_PORT");
}

}  // namespace
}  // namespace dotwall::testing
