#include "text_screens/lcd_sessions.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "base/whole_number.h"
#include "text_screens/key_menu_commands.h"
#include "text_screens/protocol_line.h"
#include "text_screens/replies.h"
#include "text_screens/screen_drawing.h"
#include "text_screens/screen_model.h"
#include "text_screens/screen_rotation.h"
#include "text_screens/screen_settings.h"
#include "text_screens/widget_settings.h"

namespace dotwall::text_screens {
namespace {

using Arguments = std::span<const std::string>;
using Replies = std::vector<std::string>;

}  // namespace

// A connection's own state.
struct Client {
    explicit Client(int menuItemLimit) : keysAndMenus(menuItemLimit) {}
    bool greeted = false;
    std::string name;
    KeysAndMenus keysAndMenus;
};

struct LcdSessions::State {
    State(text_display::CellSize cell, int columns, int rows, SessionLimits limits)
        : cell(cell), columns(columns), rows(rows), limits(limits) {}

    text_display::CellSize cell;
    int columns;
    int rows;
    SessionLimits limits;
    ClientId lastClient = 0;
    std::map<ClientId, Client> clients;
    std::vector<Screen> screens;  // in the order they were added
    std::uint64_t lastSerial = 0;
    std::uint64_t strokes = 0;
    ScreenRotation rotation;

    Screen* findScreen(ClientId client, std::string_view id) {
        const auto found = std::find_if(screens.begin(), screens.end(), [&](const Screen& screen) {
            return screen.owner == client && screen.id == id;
        });
        return found != screens.end() ? &*found : nullptr;
    }

    Replies hello(Arguments arguments) {
        Replies replies;
        if (arguments.size() > 1) {
            replies.push_back("huh? extra parameters ignored");
        }
        replies.push_back("connect LCDproc 0.5.9 protocol 0.3 lcd wid " + std::to_string(columns) +
                          " hgt " + std::to_string(rows) + " cellwid " +
                          std::to_string(cell.width) + " cellhgt " + std::to_string(cell.height));
        return replies;
    }

    Replies setClient(Client& client, Arguments arguments) {
        const std::string usage = "huh? Usage: client_set -name <name>";
        if (arguments.size() != 3) {
            return {usage};
        }
        Replies replies;
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            std::string_view option = arguments[i];
            if (option.starts_with('-')) {
                option.remove_prefix(1);
            }
            if (option != "name") {
                replies.push_back("huh? invalid parameter (" + std::string(option) + ")");
            } else if (i + 1 == arguments.size()) {
                replies.push_back(usage);
            } else {
                client.name = arguments[++i];
                replies.push_back(kSuccess);
            }
        }
        return replies;
    }

    Replies addScreen(ClientId client, Arguments arguments) {
        if (arguments.size() != 2) {
            return {"huh? Usage: screen_add <screenid>"};
        }
        if (findScreen(client, arguments[1]) != nullptr) {
            return {"huh? Screen already exists"};
        }
        const auto owned = std::count_if(screens.begin(), screens.end(), [&](const Screen& screen) {
            return screen.owner == client;
        });
        if (owned >= limits.screensPerClient) {
            return {"huh? Too many screens (at most " + std::to_string(limits.screensPerClient) +
                    " for a client)"};
        }
        Screen screen;
        screen.owner = client;
        screen.id = arguments[1];
        screen.serial = ++lastSerial;
        screen.width = columns;
        screen.height = rows;
        screens.push_back(std::move(screen));
        return {kSuccess};
    }

    Replies deleteScreen(ClientId client, Arguments arguments) {
        if (arguments.size() != 2) {
            return {"huh? Usage: screen_del <screenid>"};
        }
        const Screen* screen = findScreen(client, arguments[1]);
        if (screen == nullptr) {
            return {"huh? Unknown screen id"};
        }
        Replies replies;
        if (rotation.shown() == screen->serial) {
            replies.push_back("ignore " + screen->id);
        }
        replies.push_back(kSuccess);
        std::erase_if(screens, [&](const Screen& each) { return &each == screen; });
        return replies;
    }

    Replies setScreenOptions(ClientId client, Arguments arguments) {
        if (arguments.size() < 2) {
            return {
                "huh? Usage: screen_set <id> [-name <name>] [-wid <width>] [-hgt <height>] "
                "[-priority <prio>] [-duration <int>] [-timeout <int>] [-heartbeat <type>] "
                "[-backlight <type>] [-cursor <type>] [-cursor_x <xpos>] [-cursor_y <ypos>]"};
        }
        if (arguments.size() == 2) {
            return {"huh? What do you want to set?"};
        }
        Screen* screen = findScreen(client, arguments[1]);
        if (screen == nullptr) {
            return {"huh? Unknown screen id"};
        }
        return setScreen(*screen, arguments.subspan(2));
    }

    Replies addWidget(ClientId client, Arguments arguments) {
        if (arguments.size() < 4) {
            return {"huh? Usage: widget_add <screenid> <widgetid> <widgettype> [-in <id>]"};
        }
        Screen* screen = findScreen(client, arguments[1]);
        if (screen == nullptr) {
            return {"huh? Invalid screen id"};
        }
        const std::optional<WidgetType> type = widgetTypeNamed(arguments[3]);
        if (!type) {
            return {"huh? Invalid widget type"};
        }
        std::vector<Widget>* list = &screen->widgets;
        if (arguments.size() > 4 && arguments[4] == "-in") {
            if (arguments.size() == 5) {
                return {"huh? Specify a frame to place widget in"};
            }
            Widget* frame = findWidget(screen->widgets, arguments[5]);
            if (frame == nullptr || frame->type != WidgetType::Frame) {
                return {"huh? Error finding frame"};
            }
            list = &frame->inner;
        }
        if (countWidgets(screen->widgets) >= limits.widgetsPerScreen) {
            return {"huh? Too many widgets (at most " + std::to_string(limits.widgetsPerScreen) +
                    " on a screen)"};
        }
        Widget widget;
        widget.id = arguments[2];
        widget.type = *type;
        list->push_back(std::move(widget));
        return {kSuccess};
    }

    Replies deleteWidget(ClientId client, Arguments arguments) {
        if (arguments.size() != 3) {
            return {"huh? Usage: widget_del <screenid> <widgetid>"};
        }
        Screen* screen = findScreen(client, arguments[1]);
        if (screen == nullptr) {
            return {"huh? Invalid screen id"};
        }
        return {removeWidget(screen->widgets, arguments[2]) ? kSuccess : "huh? Invalid widget id"};
    }

    Replies setWidgetOptions(ClientId client, Arguments arguments) {
        if (arguments.size() < 4) {
            return {"huh? Usage: widget_set <screenid> <widgetid> <widget-SPECIFIC-data>"};
        }
        Screen* screen = findScreen(client, arguments[1]);
        if (screen == nullptr) {
            return {"huh? Unknown screen id"};
        }
        Widget* widget = findWidget(screen->widgets, arguments[2]);
        if (widget == nullptr) {
            return {"huh? Unknown widget id"};
        }
        return setWidget(*widget, arguments.subspan(3));
    }

    Replies info(Arguments arguments) const {
        Replies replies;
        if (arguments.size() > 1) {
            replies.push_back("huh? Extra arguments ignored...");
        }
        replies.push_back("Dotwall panel: " + std::to_string(columns) + "x" + std::to_string(rows) +
                          " characters of " + std::to_string(cell.width) + "x" +
                          std::to_string(cell.height) + " pixels");
        return replies;
    }

    // Switches that the panel has nothing for, answered as LCDd answers them.
    static Replies backlight(Arguments arguments) {
        if (arguments.size() != 2) {
            return {"huh? Usage: backlight {on|off|toggle|blink|flash}"};
        }
        return {kSuccess};
    }

    static Replies output(Arguments arguments) {
        if (arguments.size() != 2) {
            return {"huh? Usage: output {on|off|<num>}"};
        }
        const bool known = arguments[1] == "on" || arguments[1] == "off" ||
                           wholeNumber(arguments[1], LONG_MIN, LONG_MAX).has_value();
        return {known ? kSuccess : "huh? invalid parameter..."};
    }

    static Replies sleep(Arguments arguments) {
        if (arguments.size() != 2) {
            return {"huh? Usage: sleep <secs>"};
        }
        const std::optional<long> seconds = wholeNumber(arguments[1], LONG_MIN, LONG_MAX);
        if (!seconds) {
            return {"huh? invalid parameter..."};
        }
        return {"sleeping " + std::to_string(std::clamp(*seconds, 1L, 60L)) + " seconds",
                "huh? ignored (not fully implemented)"};
    }

    Replies answer(ClientId id, Client& client, Arguments arguments) {
        const std::string& command = arguments.front();
        if (command == "hello") {
            client.greeted = true;
            return hello(arguments);
        }
        using Command = Replies (State::*)(ClientId, Arguments);
        static const std::map<std::string, Command, std::less<>> kScreenCommands{
            {"screen_add", &State::addScreen},        {"screen_del", &State::deleteScreen},
            {"screen_set", &State::setScreenOptions}, {"widget_add", &State::addWidget},
            {"widget_del", &State::deleteWidget},     {"widget_set", &State::setWidgetOptions},
        };
        const auto screenCommand = kScreenCommands.find(command);
        const bool known = screenCommand != kScreenCommands.end() || command == "client_set" ||
                           command == "noop" || command == "info" || command == "backlight" ||
                           command == "output" || command == "sleep" ||
                           KeysAndMenus::handles(command);
        if (!known) {
            return {"huh? Invalid command \"" + command + "\""};
        }
        if (!client.greeted) {
            return {"huh? Function returned error \"" + command + "\""};
        }
        if (screenCommand != kScreenCommands.end()) {
            return (this->*screenCommand->second)(id, arguments);
        }
        if (command == "noop") {
            return {"noop complete"};
        }
        if (command == "client_set") {
            return setClient(client, arguments);
        }
        if (command == "info") {
            return info(arguments);
        }
        if (command == "backlight") {
            return backlight(arguments);
        }
        if (command == "output") {
            return output(arguments);
        }
        if (command == "sleep") {
            return sleep(arguments);
        }
        return client.keysAndMenus.answer(arguments, !client.name.empty());
    }
};

LcdSessions::LcdSessions(text_display::CellSize cell, int columns, int rows, SessionLimits limits)
    : state_(std::make_unique<State>(cell, columns, rows, limits)) {}

LcdSessions::~LcdSessions() = default;
LcdSessions::LcdSessions(LcdSessions&&) noexcept = default;
LcdSessions& LcdSessions::operator=(LcdSessions&&) noexcept = default;

ClientId LcdSessions::connect() {
    const ClientId id = ++state_->lastClient;
    state_->clients.emplace(id, Client(state_->limits.widgetsPerScreen));
    return id;
}

void LcdSessions::disconnect(ClientId client) {
    state_->clients.erase(client);
    std::erase_if(state_->screens, [&](const Screen& screen) { return screen.owner == client; });
}

LineAnswer LcdSessions::receive(ClientId client, std::string_view line) {
    const auto found = state_->clients.find(client);
    if (found == state_->clients.end()) {
        return {{}, true};
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    if (line.empty()) {
        return {};
    }
    const std::optional<std::vector<std::string>> arguments = splitArguments(line);
    if (!arguments) {
        return {{"huh? Could not parse command"}};
    }
    if (arguments->empty()) {
        return {{"huh? Invalid command \"(null)\""}};
    }
    if (arguments->front() == "bye") {
        disconnect(client);
        return {{}, true};
    }
    return {state_->answer(client, found->second, *arguments)};
}

std::vector<ClientNotice> LcdSessions::stroke(text_display::TextCanvas& canvas) {
    std::vector<ClientNotice> notices;
    canvas.clear();
    if (const Screen* shown = state_->rotation.choose(state_->screens, notices)) {
        drawScreen(*shown, state_->strokes, canvas);
    }
    ++state_->strokes;
    return notices;
}

}  // namespace dotwall::text_screens
