#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text_display/text_canvas.h"
#include "text_screens/lcd_sessions.h"

namespace dotwall::text_screens {

enum class WidgetType { String, Title, HBar, VBar, PBar, Icon, Scroller, Frame, Num };

// The widget types by their names in `widget_add`.
std::optional<WidgetType> widgetTypeNamed(std::string_view name);

// One widget as its last `widget_set` left it. Positions are 1-based cells of the screen (or
// of the frame's inner screen it was added to); a widget never set draws nothing.
struct Widget {
    std::string id;
    WidgetType type = WidgetType::String;
    bool set = false;
    int x = 1, y = 1;                     // left, top
    int right = 0, bottom = 0;            // scroller, frame
    int length = 0;                       // bars: pixels; pbar: cells
    int promille = 0;                     // pbar
    int speed = 0;                        // scroller, frame
    char direction = 'h';                 // scroller h, v, m; frame h, v
    int innerWidth = 0, innerHeight = 0;  // frame
    int digit = 0;                        // num
    text_display::Icon icon = text_display::Icon::BlockFilled;
    std::string text, endText;  // string, title, scroller; pbar's labels
    std::vector<Widget> inner;  // frame: the widgets added `-in` it
};

// The first widget of that id on the screen or in any of its frames; null when none.
Widget* findWidget(std::vector<Widget>& widgets, std::string_view id);
// Removes the first widget of that id (a frame with what it holds); false when none.
bool removeWidget(std::vector<Widget>& widgets, std::string_view id);
// Every widget, also those in frames.
int countWidgets(const std::vector<Widget>& widgets);

// Which screens are shown first: only those of the first class present are shown.
enum class PriorityClass { Input, Alert, Foreground, Info, Background, Hidden };

struct Screen {
    ClientId owner = 0;
    std::string id;
    std::uint64_t serial = 0;  // the order screens were added in, over all clients
    int width = 0, height = 0;
    PriorityClass priority = PriorityClass::Info;
    int duration = 32;  // strokes shown each turn
    int timeout = 0;    // strokes left before it goes, counted while shown; 0: none
    bool heartbeat = true;
    text_display::CursorStyle cursor = text_display::CursorStyle::Off;
    int cursorX = 1, cursorY = 1;
    std::vector<Widget> widgets;
};

}  // namespace dotwall::text_screens
