// Any bytes, split into lines, fed to the protocol's sessions by two clients, with rendering
// strokes between them: replies or refusals, never a crash, whatever the lines hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text_display/text_canvas.h"
#include "text_screens/lcd_sessions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dotwall;
    const text_display::CellSize cell{6, 8};
    text_screens::LcdSessions sessions(cell, 20, 4, {4, 16});
    text_display::TextCanvas canvas(20 * cell.width, 4 * cell.height, cell);
    const text_screens::ClientId clients[] = {sessions.connect(), sessions.connect()};
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t line = 0; !rest.empty(); ++line) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        sessions.receive(clients[line % 2], rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        sessions.stroke(canvas);
    }
    for (int stroke = 0; stroke < 64; ++stroke) {
        sessions.stroke(canvas);
    }
    sessions.disconnect(clients[0]);
    sessions.stroke(canvas);
    return 0;
}
