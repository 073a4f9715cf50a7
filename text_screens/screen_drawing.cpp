#include "text_screens/screen_drawing.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "text_screens/widget_motion.h"

namespace dotwall::text_screens {
namespace {

using text_display::Icon;
using text_display::TextCanvas;

// Where a widget list is drawn: a screen, or a frame's inner screen seen through its window.
struct Origin {
    int left = 0;  // cells added to a widget's column and row
    int top = 0;
    int firstRow = INT_MIN;  // the rows of the list that show
    int lastRow = INT_MAX;
};

// Cells x to x + length - 1 lit up to `pixels` pixels of the side `cellSide`.
int promilleOf(std::int64_t pixels, std::int64_t cells, int cellSide) {
    return static_cast<int>((2000 * pixels + cells * cellSide) / (2 * cells * cellSide));
}

void drawBar(const Widget& bar, int x, int y, TextCanvas& canvas) {
    if (bar.length <= 0) {
        return;
    }
    const bool across = bar.type == WidgetType::HBar;
    const int side = across ? canvas.cell().width : canvas.cell().height;
    const int cells = static_cast<int>((std::int64_t{bar.length} + side - 1) / side);
    const int promille = promilleOf(bar.length, cells, side);
    if (across) {
        canvas.horizontalBar(x, y, cells, promille);
    } else {
        canvas.verticalBar(x, y, cells, promille);
    }
}

// A progress bar: its labels inside its width, the bar between them.
void drawProgressBar(const Widget& bar, int x, int y, TextCanvas& canvas) {
    const int begin = static_cast<int>(bar.text.size());
    const int end = static_cast<int>(bar.endText.size());
    const int cells = bar.length - begin - end;
    canvas.string(x, y, bar.text);
    if (cells > 0) {
        canvas.horizontalBar(x + begin, y, cells, bar.promille);
    }
    canvas.string(x + bar.length - end, y, bar.endText);
}

void drawTitle(const Widget& title, int y, std::uint64_t stroke, TextCanvas& canvas) {
    const int room = std::max(0, canvas.columns() - 6);
    const int length = static_cast<int>(title.text.size());
    const int shown = std::min(length, room);
    canvas.icon(1, y, Icon::BlockFilled);
    canvas.icon(2, y, Icon::BlockFilled);
    canvas.string(4, y,
                  std::string_view(title.text).substr(titleOffset(stroke, length - room), shown));
    for (int x = shown + 5; x <= canvas.columns(); ++x) {
        canvas.icon(x, y, Icon::BlockFilled);
    }
}

void drawScroller(const Widget& scroller, int x, int y, std::uint64_t stroke, TextCanvas& canvas) {
    const std::string_view text = scroller.text;
    const int width = scroller.right - scroller.x + 1;
    const int length = static_cast<int>(text.size());
    if (width <= 0) {
        return;
    }
    if (scroller.direction == 'v') {
        const int height = std::max(1, scroller.bottom - scroller.y + 1);
        const int lines = (length + width - 1) / width;
        const int first =
            lines <= height ? 0 : bouncingOffset(stroke, lines - height + 1, scroller.speed);
        for (int row = 0; row < height && first + row < lines; ++row) {
            canvas.string(x, y + row,
                          text.substr(static_cast<std::size_t>(first + row) * width, width));
        }
    } else if (length <= width) {
        canvas.string(x, y, text);
    } else if (scroller.direction == 'h') {
        canvas.string(
            x, y, text.substr(bouncingOffset(stroke, length - width + 1, scroller.speed), width));
    } else {
        // A marquee: the text round and round, half the width of blanks after it.
        const int cycle = length + width / 2;
        const int offset = cyclingOffset(stroke, cycle, scroller.speed);
        std::string shown(static_cast<std::size_t>(width), ' ');
        for (int i = 0; i < width; ++i) {
            const int at = (offset + i) % cycle;
            if (at < length) {
                shown[i] = text[at];
            }
        }
        canvas.string(x, y, shown);
    }
}

void drawWidgets(const std::vector<Widget>& widgets, const Origin& origin, std::uint64_t stroke,
                 TextCanvas& canvas);

// A frame shows the rows of its inner screen that fit its window; a vertical one moves down
// them and starts again (LCDd never moves a horizontal one).
void drawFrame(const Widget& frame, int x, int y, std::uint64_t stroke, TextCanvas& canvas) {
    const int height = frame.bottom - frame.y + 1;
    if (height <= 0 || frame.right < frame.x) {
        return;
    }
    const int hidden = frame.innerHeight - height;
    const int first =
        frame.direction == 'v' && hidden > 0 ? cyclingOffset(stroke, hidden + 1, frame.speed) : 0;
    const Origin inner{x - 1, y - 1 - first, first + 1, first + height};
    drawWidgets(frame.inner, inner, stroke, canvas);
}

void drawWidget(const Widget& widget, const Origin& origin, std::uint64_t stroke,
                TextCanvas& canvas) {
    if ((widget.y < origin.firstRow || widget.y > origin.lastRow) &&
        widget.type != WidgetType::Num) {
        return;
    }
    const int x = widget.x + origin.left;
    const int y = widget.y + origin.top;
    switch (widget.type) {
        case WidgetType::String:
            canvas.string(x, y, widget.text);
            break;
        case WidgetType::Title:
            drawTitle(widget, y, stroke, canvas);
            break;
        case WidgetType::HBar:
        case WidgetType::VBar:
            drawBar(widget, x, y, canvas);
            break;
        case WidgetType::PBar:
            drawProgressBar(widget, x, y, canvas);
            break;
        case WidgetType::Icon:
            canvas.icon(x, y, widget.icon);
            break;
        case WidgetType::Scroller:
            drawScroller(widget, x, y, stroke, canvas);
            break;
        case WidgetType::Frame:
            drawFrame(widget, x, y, stroke, canvas);
            break;
        case WidgetType::Num:
            canvas.bigNumber(x, widget.digit);
            break;
    }
}

void drawWidgets(const std::vector<Widget>& widgets, const Origin& origin, std::uint64_t stroke,
                 TextCanvas& canvas) {
    for (const Widget& widget : widgets) {
        if (widget.set) {
            drawWidget(widget, origin, stroke, canvas);
        }
    }
}

}  // namespace

void drawScreen(const Screen& screen, std::uint64_t stroke, TextCanvas& canvas) {
    drawWidgets(screen.widgets, Origin{}, stroke, canvas);
    if (screen.heartbeat) {
        // The heart beats once a second: open on two strokes of eight.
        const bool open = stroke % 8 == 5 || stroke % 8 == 7;
        canvas.icon(canvas.columns(), 1, open ? Icon::HeartOpen : Icon::HeartFilled);
    }
    if (screen.cursor != text_display::CursorStyle::Off) {
        canvas.cursor(screen.cursorX, screen.cursorY, screen.cursor);
    }
}

}  // namespace dotwall::text_screens
