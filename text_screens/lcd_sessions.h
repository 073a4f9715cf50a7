#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text_display/text_canvas.h"

namespace dotwall::text_screens {

// What one server accepts from its clients before it refuses with a reply.
struct SessionLimits {
    int screensPerClient = 64;
    int widgetsPerScreen = 256;
};

using ClientId = std::uint64_t;

// The answer to one line of a client.
struct LineAnswer {
    std::vector<std::string> replies;  // each a whole line, without its newline
    bool closeConnection = false;      // `bye`: the client's screens are gone already
};

// A line the server sends a client of its own accord (`listen s`, `ignore s`).
struct ClientNotice {
    ClientId client = 0;
    std::string line;  // without its newline
};

// Every client's session of LCDproc's line protocol (0.3), their screens and widgets, and
// which screen the panel shows: only the highest priority class present, screens of a class
// taking turns by their durations, scrollers, frames and the heartbeat moving on rendering
// strokes, 8 a second. Time is counted in strokes, so a session replays the same way every
// time. Not thread-safe: one thread calls it (the network server's).
class LcdSessions {
  public:
    // The text grid the clients are told of (columns, rows, cell) is the canvas's.
    LcdSessions(text_display::CellSize cell, int columns, int rows, SessionLimits limits);
    ~LcdSessions();
    LcdSessions(LcdSessions&&) noexcept;
    LcdSessions& operator=(LcdSessions&&) noexcept;

    ClientId connect();
    // Forgets a client and its screens (a closed connection).
    void disconnect(ClientId client);
    // One line of a client, without its newline (a trailing carriage return is ignored).
    LineAnswer receive(ClientId client, std::string_view line);

    // One rendering stroke: moves time on by an eighth of a second, chooses the screen shown
    // and draws it onto `canvas` (cleared first). Returns the notices for clients whose
    // screens came into view or went out of it.
    std::vector<ClientNotice> stroke(text_display::TextCanvas& canvas);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace dotwall::text_screens
