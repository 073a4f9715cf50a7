// DotwallFrame lcdd run as a process, with LCDproc's own client and with clients of the test's
// that speak the protocol over the loopback, well or with hostile intent.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expected_frames.h"
#include "frames/port_signals.h"
#include "panel_link/panel_link_reader.h"
#include "test_files.h"
#include "text_display/text_canvas.h"

namespace dotwall::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port on the loopback that no program listens on, as the system picks one.
int freePort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

// One connection to the server on the loopback, lines out and in.
class Client {
  public:
    // Connects, waiting for the server to listen; a small receive buffer on request.
    explicit Client(int port, int receiveBuffer = 0) {
        waitUntil([&] {
            socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (receiveBuffer > 0) {
                setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
            }
            const sockaddr_in address = loopback(port);
            if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
                0) {
                return true;
            }
            close(socket_);
            return false;
        });
    }
    ~Client() { close(socket_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Whether all of it went out without waiting; false when the server closed the connection.
    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t put = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (put < 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(put));
        }
        return true;
    }
    // The next line, without its newline; "" when the server closed the connection first.
    std::string line(std::chrono::milliseconds wait = std::chrono::seconds(30)) {
        while (received_.find('\n') == std::string::npos) {
            pollfd polled{socket_, POLLIN, 0};
            char buffer[4096];
            const ssize_t got = poll(&polled, 1, static_cast<int>(wait.count())) == 1
                                    ? recv(socket_, buffer, sizeof buffer, 0)
                                    : -1;
            if (got <= 0) {
                return "";
            }
            received_.append(buffer, static_cast<std::size_t>(got));
        }
        const std::string line = received_.substr(0, received_.find('\n'));
        received_.erase(0, line.size() + 1);
        return line;
    }
    // Whether the connection is still open and nothing came on it.
    bool silent() {
        char byte = 0;
        return recv(socket_, &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
    }

  private:
    int socket_ = -1;
    std::string received_;
};

class Lcdd : public ::testing::Test {
  protected:
    pid_t start(const char* program, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"lcdd", "--listen", address});
        return startProgram(program, arguments, folder.path());
    }

    TemporaryFolder folder;
    TemporaryFolder elsewhere;  // for a second program's outputs
    int port = freePort();
    std::string address = "127.0.0.1:" + std::to_string(port);
};

// The panel's picture for the canvas: ink dark on lit paper.
PanelPicture shownFor(const text_display::TextCanvas& canvas) {
    return panelPicture(640, 241, [&](int x, int y) {
        return canvas.ink()[static_cast<std::size_t>(y) * 640 + x] == 0;
    });
}

// On the virtual panel, in each offered cell: a test client's string, pixel for pixel as the
// canvas draws it at its cell; then Debian's lcdproc client's screens appear and change.
TEST_F(Lcdd, ShowsItsClientsScreensOnThePanelPixelForPixel) {
    const std::string panel = "lcdd-" + std::to_string(getpid());
    setenv("DOTWALL_VIRTUAL_PANEL", panel.c_str(), 1);
    panel_link::LinkReader reader(panel_link::objectName());
    // The frames shown from now on, each as its picture.
    auto shows = [&](const std::function<bool(const PanelPicture&)>& wanted) {
        return waitUntil([&] {
            std::optional<panel_link::Frame> frame;
            return reader.follow() && (frame = reader.newFrame()) && wanted(frame->picture);
        });
    };
    for (const text_display::CellSize cell : text_display::offeredCellSizes()) {
        const std::string cellText = std::to_string(cell.width) + "x" + std::to_string(cell.height);
        SCOPED_TRACE(cellText);
        const auto began = std::chrono::steady_clock::now();
        const pid_t lcdd = start(DOTWALL_FRAME_ON_VIRTUAL_PORT, {"--cell", cellText});
        Client client(port);
        text_display::TextCanvas canvas(640, 241, cell);
        client.send("hello\n");
        EXPECT_THAT(
            client.line(),
            HasSubstr(" protocol 0.3 lcd wid " + std::to_string(640 / cell.width) + " hgt " +
                      std::to_string(241 / cell.height) + " cellwid " + std::to_string(cell.width) +
                      " cellhgt " + std::to_string(cell.height)));
        client.send(
            "screen_add s\nscreen_set s -priority alert -heartbeat off\nwidget_add s w string\n"
            "widget_set s w 3 2 \"Dotwall |0|\"\n");
        for (int reply = 0; reply < 4; ++reply) {
            EXPECT_EQ(client.line(), "success");
        }
        canvas.string(3, 2, "Dotwall |0|");
        EXPECT_TRUE(shows([&](const PanelPicture& shown) { return shown == shownFor(canvas); }));
        client.send("screen_del s\n");
        if (cell == text_display::offeredCellSizes().front()) {
            // Screens of the real client: three different pictures, none blank.
            const PanelPicture blank = panelPicture(640, 241, [](int, int) { return true; });
            std::vector<PanelPicture> seen;
            const pid_t lcdproc = startProgram(
                "/usr/bin/lcdproc", {"-f", "-s", "127.0.0.1", "-p", std::to_string(port), "C", "U"},
                elsewhere.path());
            EXPECT_TRUE(shows([&](const PanelPicture& shown) {
                if (shown != blank && std::ranges::find(seen, shown) == seen.end()) {
                    seen.push_back(shown);
                }
                return seen.size() >= 3;
            }));
            kill(lcdproc, SIGTERM);
            finishStopped(lcdproc, elsewhere.path());
        }
        kill(lcdd, SIGTERM);
        const ProgramRun run = finishStopped(lcdd, folder.path());
        EXPECT_EQ(run.status, 0) << run.err;
        // Each picture a stroke's, never more than 8 strokes a second.
        long shown = 0, dropped = 0;
        EXPECT_EQ(
            std::sscanf(run.out.c_str(), "%*d frames at %*f frames/s; %ld pictures shown, %ld",
                        &shown, &dropped),
            2)
            << run.out;
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - began;
        EXPECT_LE(shown + dropped, 8 * seconds.count() + 1) << run.out;
        EXPECT_GT(shown, 1) << run.out;
    }
    unsetenv("DOTWALL_VIRTUAL_PANEL");
}

// On the recording port, each hostile client alone is refused or closed, while a client that
// connected first and sends nothing stays and a new one is served after each; a second server
// on the port says why it cannot listen; SIGTERM ends the stream after its frame, port low.
TEST_F(Lcdd, AHostileClientIsRefusedOrClosedAloneAndTheOthersAreServed) {
    std::ofstream(folder / "slow.json")
        << R"({"name": "slow", "width": 640, "lines": 241, "data": [3, 2, 1, 0],
               "shift_clock": 6, "line_latch": 4, "frame_marker": 5, "frames_per_second": 20})";
    const auto recorded = folder / "port";
    setenv("DOTWALL_RECORDED_PORT", recorded.c_str(), 1);
    const pid_t lcdd = start(DOTWALL_FRAME_ON_RECORDING_PORT, {"--panel", "slow.json"});
    Client idle(port);
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 4096);
    setrlimit(RLIMIT_NOFILE, &files);
    const struct {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"a thousand connections, 63 kept beside the idle one",
         [&] {
             std::vector<std::unique_ptr<Client>> many;
             for (int i = 0; i < 1000; ++i) {
                 many.push_back(std::make_unique<Client>(port));
             }
             for (std::size_t i = 63; i < many.size(); ++i) {
                 EXPECT_EQ(many[i]->line(), "huh? Too many clients: the most is 64") << i;
                 EXPECT_EQ(many[i]->line(), "");
             }
             for (std::size_t i = 0; i < 63; ++i) {
                 EXPECT_TRUE(many[i]->silent()) << i;
             }
         }},
        {"a line of 8193 bytes",
         [&] {
             Client client(port);
             client.send("hello\n" + std::string(8193, 'x') + "\n");
             EXPECT_THAT(client.line(), StartsWith("connect LCDproc "));
             EXPECT_EQ(client.line(),
                       "huh? The line is longer than 8192 bytes; closing the connection");
             EXPECT_EQ(client.line(), "");
         }},
        {"a disconnect in the middle of a line",
         [&] {
             Client client(port);
             client.send("hello\nscreen_add s\nwidget_add s w string\nwidget_set s w 1 1 \"hal");
         }},
        {"a client that never reads its replies, while another is served",
         [&] {
             Client deaf(port, 4096), other(port);
             other.send("hello\n");
             EXPECT_THAT(other.line(), StartsWith("connect LCDproc "));
             std::string noops = "hello\n";
             while (noops.size() < 65536) {
                 noops += "noop\n";
             }
             bool open = true;
             for (int batch = 0; batch < 1000 && open; ++batch) {
                 open = deaf.send(noops);
                 other.send("noop\n");
                 EXPECT_EQ(other.line(), "noop complete");
             }
             EXPECT_FALSE(open) << "it was never closed";
         }},
        {"bye",
         [&] {
             Client client(port);
             client.send("hello\nbye\nnoop\n");
             EXPECT_THAT(client.line(), StartsWith("connect LCDproc "));
             EXPECT_EQ(client.line(), "");
         }},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        row.act();
        Client next(port);
        next.send("hello\n");
        EXPECT_THAT(next.line(),
                    StartsWith("connect LCDproc 0.5.9 protocol 0.3 lcd wid 106 hgt 30 "));
    }
    EXPECT_TRUE(idle.silent());

    // Never reaching beyond the loopback: the port is taken there already.
    const std::string everywhere = "0.0.0.0:" + std::to_string(port);
    const ProgramRun second =
        finishStopped(startProgram(DOTWALL_FRAME_ON_RECORDING_PORT,
                                   {"lcdd", "--listen", everywhere}, elsewhere.path()),
                      elsewhere.path());
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err, "DotwallFrame: warning: " + everywhere +
                              " is reached from beyond this machine, and LCDproc's protocol has "
                              "no authentication: anyone who reaches it can draw on the panel.\n"
                              "DotwallFrame: Cannot listen on " +
                              everywhere + ": Address already in use.\n");

    kill(lcdd, SIGTERM);
    const ProgramRun run = finishStopped(lcdd, folder.path());
    unsetenv("DOTWALL_RECORDED_PORT");
    EXPECT_EQ(run.status, 0) << run.err;
    const Bytes sent = readBytes(recorded);
    EXPECT_EQ(sent.size() % port_signals::kWritesPerFrame, 1U);
    EXPECT_EQ(sent.back(), 0);
}

}  // namespace
}  // namespace dotwall::testing
