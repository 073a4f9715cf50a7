// Sessions of LCDproc's line protocol as a client holds them: the replies LCDd gives to every
// command and fault, the screen shown stroke after stroke with its notices, and what is drawn,
// compared on the real canvas with the same cells drawn directly.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "text_screens/lcd_sessions.h"

namespace dotwall::testing {
namespace {

using text_display::CellSize;
using text_display::Icon;
using text_display::TextCanvas;
using text_screens::ClientId;
using text_screens::LcdSessions;

constexpr CellSize kCell{6, 8};
constexpr int kColumns = 20;
constexpr int kRows = 4;

// Each line's replies joined by " / ", the lines' answers by "\n"; "<closed>" for a line that
// ends the connection.
std::string session(LcdSessions& sessions, ClientId client, const std::string& lines) {
    std::istringstream in(lines);
    std::string line, answers;
    while (std::getline(in, line)) {
        const text_screens::LineAnswer answer = sessions.receive(client, line);
        std::string joined;
        for (const std::string& reply : answer.replies) {
            joined += (joined.empty() ? "" : " / ") + reply;
        }
        answers += (answers.empty() ? "" : "\n") + (answer.closeConnection ? "<closed>" : joined);
    }
    return answers;
}

// A client that said hello.
ClientId greetedClient(LcdSessions& sessions) {
    const ClientId client = sessions.connect();
    sessions.receive(client, "hello");
    return client;
}

struct SessionCase {
    bool greeted;  // the client said hello first
    std::string lines;
    std::string replies;
};

TEST(LcdSessions, AnswersEachCommandAndFaultAsLcdd) {
    const SessionCase cases[] = {
        {false, "noop\nscreen_add a\nfoo\nhello x",
         "huh? Function returned error \"noop\"\nhuh? Function returned error \"screen_add\"\n"
         "huh? Invalid command \"foo\"\nhuh? extra parameters ignored / connect LCDproc 0.5.9 "
         "protocol 0.3 lcd wid 20 hgt 4 cellwid 6 cellhgt 8"},
        {false, "hello\r\n\n   \n\"noop\"\r\nnoop \"a\ninfo x\nbye\nnoop",
         "connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 4 cellwid 6 cellhgt 8\n\n"
         "huh? Invalid command \"(null)\"\nnoop complete\nhuh? Could not parse command\n"
         "huh? Extra arguments ignored... / Dotwall panel: 20x4 characters of 6x8 pixels\n"
         "<closed>\n<closed>"},
        {true, "client_set -name a b\nclient_set -foo a\nclient_set name {x y}",
         "huh? Usage: client_set -name <name>\n"
         "huh? invalid parameter (foo) / huh? invalid parameter (a)\nsuccess"},
        {true,
         "screen_add\nscreen_add s\nscreen_add s\nscreen_del t\nscreen_set s\nscreen_set t -x",
         "huh? Usage: screen_add <screenid>\nsuccess\nhuh? Screen already exists\n"
         "huh? Unknown screen id\nhuh? What do you want to set?\nhuh? Unknown screen id"},
        {true,
         "screen_add s\nscreen_set s -priority 5x -foo 1 wid 3 -backlight x -priority 0 "
         "-cursor_x 4 -cursor_x 0 -cursor_y 5 -duration",
         "success\nsuccess / huh? invalid parameter / huh? invalid parameter / success / "
         "huh? unknown backlight mode / success / huh? invalid argument at -priority / "
         "huh? Cursor position outside screen / huh? Cursor position outside screen / "
         "huh? Cursor position outside screen / huh? -duration requires a parameter"},
        {true,
         "screen_add s\nwidget_add s w\nwidget_add t w string\nwidget_add s w foo\n"
         "widget_add s w string -in\nwidget_add s w string -in w\nwidget_add s w string\n"
         "widget_add s w string\nwidget_del s w\nwidget_del s w\nwidget_del s w\nwidget_del t w",
         "success\nhuh? Usage: widget_add <screenid> <widgetid> <widgettype> [-in <id>]\n"
         "huh? Invalid screen id\nhuh? Invalid widget type\n"
         "huh? Specify a frame to place widget in\nhuh? Error finding frame\nsuccess\nsuccess\n"
         "success\nsuccess\nhuh? Invalid widget id\nhuh? Invalid screen id"},
        {true,
         "screen_add s\nwidget_add s w string\nwidget_set s w\nwidget_set t w 1 1 a\n"
         "widget_set s v 1 1 a\nwidget_set s w 1 1\nwidget_set s w 1 1 a b\nwidget_set s w -1 1 a\n"
         "widget_set s w 5x 1 a",
         "success\nsuccess\nhuh? Usage: widget_set <screenid> <widgetid> <widget-SPECIFIC-data>\n"
         "huh? Unknown screen id\nhuh? Unknown widget id\nhuh? Wrong number of arguments\n"
         "huh? Wrong number of arguments\nhuh? Invalid coordinates\nsuccess"},
        {true,
         "screen_add s\nwidget_add s f frame\nwidget_add s i icon -in f\n"
         "widget_set s i 1 1 heart_open\nwidget_set s i 1 1 HEART\nwidget_add s h hbar\n"
         "widget_set s h x 1 5\nwidget_add s n num\nwidget_set s n 1 -1\nwidget_set s n x 10\n"
         "widget_add s c scroller\nwidget_set s c 1 1 5 1 x 1 t\nwidget_set s c 1 1 5 1 m x t\n"
         "widget_set s f 1 1 5 2 5 5 v\nwidget_set s f 1 1 5 2 5 5 h -2\nwidget_add s p pbar\n"
         "widget_set s p 1 1 9 2000 a b\nwidget_set s p 1 1 9",
         "success\nsuccess\nsuccess\nsuccess\nhuh? Invalid icon name\nsuccess\n"
         "huh? Invalid coordinates / success\nsuccess\nhuh? Invalid number / success\nhuh? Invalid "
         "coordinates / success\n"
         "success\nhuh? Invalid direction\nsuccess\nhuh? Wrong number of arguments\nsuccess\n"
         "success\nsuccess\nhuh? Wrong number of arguments"},
        {true, "backlight\nbacklight x\noutput 5x\noutput -3\nsleep 100\nsleep x",
         "huh? Usage: backlight {on|off|toggle|blink|flash}\nsuccess\n"
         "huh? invalid parameter...\nsuccess\nsleeping 60 seconds / huh? ignored (not fully "
         "implemented)\nhuh? invalid parameter..."},
        {true,
         "client_add_key -foo Up\nclient_del_key\nmenu_add_item \"\" m menu\n"
         "client_set -name c\nmenu_add_item \"\" m menu\nmenu_add_item \"\" m action\n"
         "menu_add_item zz a action\nmenu_add_item m a foo\nmenu_add_item m a action\n"
         "menu_set_item m zz -text x\nmenu_goto m\nmenu_del_item \"\" m\nmenu_del_item m a\n"
         "menu_set_main \"\"",
         "huh? Invalid option: -foo / huh? Could not reserve key \"Up\" / success\n"
         "huh? Usage: client_del_key {<key>}+\nhuh? You need to give your client a name first\n"
         "success\nsuccess\nhuh? Item id already in use\nhuh? Cannot find menu id\n"
         "huh? Invalid menuitem type\nsuccess\nhuh? Cannot find item\nsuccess\nsuccess\n"
         "huh? Cannot find menu id\nsuccess"},
    };
    for (const SessionCase& each : cases) {
        LcdSessions sessions(kCell, kColumns, kRows, {});
        const ClientId client = each.greeted ? greetedClient(sessions) : sessions.connect();
        EXPECT_EQ(session(sessions, client, each.lines), each.replies) << each.lines;
    }
}

TEST(LcdSessions, RefusesScreensAndWidgetsBeyondItsLimitsSayingSo) {
    LcdSessions sessions(kCell, kColumns, kRows, {2, 3});
    EXPECT_EQ(session(sessions, greetedClient(sessions),
                      "screen_add a\nscreen_add b\nscreen_add c\nwidget_add a f frame\n"
                      "widget_add a x string -in f\nwidget_add a y string\nwidget_add a z string\n"
                      "widget_del a f\nwidget_add a z string"),
              "success\nsuccess\nhuh? Too many screens (at most 2 for a client)\nsuccess\nsuccess\n"
              "success\nhuh? Too many widgets (at most 3 on a screen)\nsuccess\nsuccess");
    // Another client has limits of its own.
    EXPECT_EQ(session(sessions, greetedClient(sessions), "screen_add a\nscreen_add b"),
              "success\nsuccess");
}

// Each stroke's notices, "stroke: notice, notice" for the strokes that have any.
std::string noticesOver(LcdSessions& sessions, int strokes) {
    TextCanvas canvas(kColumns * kCell.width, kRows * kCell.height, kCell);
    std::string told;
    for (int stroke = 0; stroke < strokes; ++stroke) {
        for (const text_screens::ClientNotice& notice : sessions.stroke(canvas)) {
            told += std::to_string(stroke) + ":" + std::to_string(notice.client) + " " +
                    notice.line + "\n";
        }
    }
    return told;
}

TEST(LcdSessions, ShowsTheHighestClassTakingTurnsByDurationUntilTimeouts) {
    LcdSessions sessions(kCell, kColumns, kRows, {});
    const ClientId one = greetedClient(sessions), two = greetedClient(sessions);
    session(sessions, one, "screen_add a\nscreen_set a -duration 8\nscreen_add b");
    session(sessions, two,
            "screen_add c\nscreen_set c -priority 64 -timeout 20 -duration 4\nscreen_add d\n"
            "screen_set d -priority 300");
    // The foreground screen until its timeout, then the info screens added last first, each
    // for its duration (b for the default 32); the background one never.
    EXPECT_EQ(noticesOver(sessions, 70),
              "0:2 listen c\n20:2 ignore c\n20:1 listen b\n52:1 ignore b\n52:1 listen a\n"
              "60:1 ignore a\n60:1 listen b\n");
    // An alert stays; hidden ones are never shown; the shown screen deleted is told at once.
    session(sessions, two, "screen_add e\nscreen_set e -priority alert -duration 1");
    session(sessions, one, "screen_set a -priority hidden");
    EXPECT_EQ(noticesOver(sessions, 20), "0:1 ignore b\n0:2 listen e\n");
    EXPECT_EQ(session(sessions, two, "screen_del e"), "ignore e / success");
    EXPECT_EQ(noticesOver(sessions, 1), "0:1 listen b\n");
    sessions.disconnect(one);
    EXPECT_EQ(noticesOver(sessions, 1), "0:2 listen d\n");
}

// The ink after `strokes` strokes of a session on a 20 x 4 panel of 6 x 8 cells.
std::vector<std::uint8_t> shownAfter(const std::string& lines, int strokes) {
    LcdSessions sessions(kCell, kColumns, kRows, {});
    session(sessions, greetedClient(sessions), "screen_add s\n" + lines);
    TextCanvas canvas(kColumns * kCell.width, kRows * kCell.height, kCell);
    for (int stroke = 0; stroke < strokes; ++stroke) {
        sessions.stroke(canvas);
    }
    return canvas.ink();
}

std::vector<std::uint8_t> drawn(const std::function<void(TextCanvas&)>& draw) {
    TextCanvas canvas(kColumns * kCell.width, kRows * kCell.height, kCell);
    draw(canvas);
    return canvas.ink();
}

TEST(LcdSessions, DrawsWidgetsAsLcddPlacesThem) {
    // Title bar, escapes, bars in pixels, icon, big digit, heartbeat beating, cursor; numbers
    // as LCDd reads them, with a tail, or a plus or blanks before them.
    const std::string widgets =
        "widget_add s t title\nwidget_set s t Hello\nwidget_add s w string\n"
        "widget_set s w 3x 2 {a\\\"b\\\\c\\n}\nwidget_add s h hbar\nwidget_set s h 2 3 +14\n"
        "widget_add s v vbar\nwidget_set s v 19 4 { 11}\nwidget_add s i icon\n"
        "widget_set s i 1 4 play\nwidget_add s n num\nwidget_set s n 9 10\n"
        "screen_set s -cursor under -cursor_x 5 -cursor_y 3\n";
    const auto expected = [](bool open) {
        return drawn([&](TextCanvas& canvas) {
            canvas.icon(1, 1, Icon::BlockFilled);
            canvas.icon(2, 1, Icon::BlockFilled);
            canvas.string(4, 1, "Hello");
            for (int x = 10; x <= kColumns; ++x) {
                canvas.icon(x, 1, Icon::BlockFilled);
            }
            canvas.string(3, 2, "a\"b\\c\n");
            canvas.horizontalBar(2, 3, 3, 778);
            canvas.verticalBar(19, 4, 2, 688);
            canvas.icon(1, 4, Icon::Play);
            canvas.bigNumber(9, 10);
            canvas.icon(kColumns, 1, open ? Icon::HeartOpen : Icon::HeartFilled);
            canvas.cursor(5, 3, text_display::CursorStyle::Underline);
        });
    };
    EXPECT_EQ(shownAfter(widgets, 5), expected(false));
    EXPECT_EQ(shownAfter(widgets, 6), expected(true));
    EXPECT_EQ(shownAfter("screen_set s -heartbeat off\n", 6), drawn([](TextCanvas&) {}));
}

TEST(LcdSessions, MovesScrollersFramesAndLongTitlesOnStrokes) {
    const std::string text = "abcdefghij";
    const std::string widgets =
        "screen_set s -heartbeat off\nwidget_add s a scroller\nwidget_set s a 1 1 6 1 h 2 " + text +
        "\nwidget_add s b scroller\nwidget_set s b 8 1 13 1 h -2 abcdefghijk\n" +
        "widget_add s c scroller\nwidget_set s c 1 2 4 2 m 1 " + text +
        "\nwidget_add s d scroller\nwidget_set s d 8 2 10 3 v 1 abcdefghijklmnopqrstu\n"
        "widget_add s f frame\nwidget_set s f 14 2 19 3 6 5 v -2\nwidget_add s g frame\n"
        "widget_set s g 1 4 3 4 3 3 h 1\nwidget_add s x string -in g\nwidget_set s x 1 1 xyz\n";
    std::string inner;
    for (char row = '1'; row <= '5'; ++row) {
        inner += std::string("widget_add s ") + row + " string -in f\nwidget_set s " + row + " 1 " +
                 row + " " + std::string(6, row) + "\n";
    }
    // Offsets as LCDd shows them: h resting at each end, -2 two steps a stroke, the marquee
    // round with half its width of blanks, v by lines, the frame's rows cycling.
    const struct {
        int stroke, h, fast, marquee, line, row;
    } moments[] = {{0, 0, 0, 0, 0, 0}, {3, 1, 5, 3, 3, 2}, {9, 4, 5, 9, 2, 2}, {14, 2, 4, 2, 2, 0}};
    for (const auto& at : moments) {
        const std::string cycled = text + "  " + text;
        const std::string lines = "abcdefghijklmnopqrstu";
        EXPECT_EQ(shownAfter(widgets + inner, at.stroke + 1), drawn([&](TextCanvas& canvas) {
                      canvas.string(1, 1, text.substr(at.h, 6));
                      canvas.string(8, 1, std::string("abcdefghijk").substr(at.fast, 6));
                      canvas.string(1, 2, cycled.substr(at.marquee, 4));
                      canvas.string(8, 2, lines.substr(at.line * 3, 3));
                      canvas.string(8, 3, lines.substr(at.line * 3 + 3, 3));
                      canvas.string(14, 2, std::string(6, static_cast<char>('1' + at.row)));
                      canvas.string(14, 3, std::string(6, static_cast<char>('2' + at.row)));
                      canvas.string(1, 4, "xyz");
                  }))
            << "stroke " << at.stroke;
    }
    // A title too long for its line rests 15 strokes, then moves a character a stroke.
    const std::string title = "A very long title text";
    for (const auto& [stroke, offset] : {std::pair{14, 0}, {17, 3}, {30, 8}, {40, 4}}) {
        EXPECT_EQ(shownAfter("screen_set s -heartbeat off\nwidget_add s t title\n"
                             "widget_set s t {" +
                                 title + "}\n",
                             stroke + 1),
                  drawn([&](TextCanvas& canvas) {
                      canvas.icon(1, 1, Icon::BlockFilled);
                      canvas.icon(2, 1, Icon::BlockFilled);
                      canvas.string(4, 1, title.substr(offset, 14));
                      canvas.icon(19, 1, Icon::BlockFilled);
                      canvas.icon(20, 1, Icon::BlockFilled);
                  }))
            << "stroke " << stroke;
    }
}

}  // namespace
}  // namespace dotwall::testing
