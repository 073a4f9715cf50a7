#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "text_display/text_canvas.h"
#include "text_screens/lcd_sessions.h"
#include "text_server/listen_address.h"

namespace dotwall::text_server {

struct ServerSettings {
    ListenAddress address;
    int panelWidth = 0;
    int panelHeight = 0;
    text_display::CellSize cell{};
    text_screens::SessionLimits limits{};
    // Connections past this many are told so in one line and closed at once.
    int mostClients = 64;
};

// The network server of LCDproc's line protocol: takes its clients' connections, hands each
// line they send to their sessions and sends the replies back, and draws the screen shown 8
// times a second onto a text canvas of the panel's size, all on one thread of its own that
// waits for nothing but its sockets and the next stroke. Bad input stays with the client
// that sent it: a line over 8 KiB is refused and the connection closed, a client that does
// not read its replies is closed once they pile up past 64 KiB, and connections past the
// limit are closed at once.
class TextServer {
  public:
    // Called on the server's thread after each stroke, with the canvas drawn.
    using Stroked = std::function<void(const text_display::TextCanvas& canvas)>;
    // Called on the server's thread when it ended by a failure.
    using Failed = std::function<void(std::exception_ptr failure)>;

    // Listens on the address, then serves on a thread of its own from the first stroke on.
    // Raises RuntimeError naming the address and the system's reason when it cannot listen
    // (the port in use, an address not of this machine), or the cell when it does not fit.
    TextServer(const ServerSettings& settings, Stroked stroked, Failed failed);
    // Closes every connection and stops the thread.
    ~TextServer();
    TextServer(const TextServer&) = delete;
    TextServer& operator=(const TextServer&) = delete;

  private:
    class Loop;

    int listener_ = -1;
    int wake_ = -1;  // written to stop the thread
    std::unique_ptr<Loop> loop_;
    std::thread thread_;
};

}  // namespace dotwall::text_server
