#include "text_screens/screen_settings.h"

#include <string_view>

#include "text_screens/named_values.h"
#include "text_screens/protocol_numbers.h"
#include "text_screens/replies.h"

namespace dotwall::text_screens {
namespace {

using text_display::CursorStyle;

std::optional<PriorityClass> priorityNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, PriorityClass>, 6> kNames{{
        {"hidden", PriorityClass::Hidden},
        {"background", PriorityClass::Background},
        {"info", PriorityClass::Info},
        {"foreground", PriorityClass::Foreground},
        {"alert", PriorityClass::Alert},
        {"input", PriorityClass::Input},
    }};
    if (const std::optional<PriorityClass> named = valueNamed(kNames, name)) {
        return named;
    }
    // Numbered priorities, as older clients give them: the smaller, the more important.
    const int number = leadingNumber(name);
    if (number <= 0) {
        return std::nullopt;
    }
    return number <= 64    ? PriorityClass::Foreground
           : number <= 192 ? PriorityClass::Info
                           : PriorityClass::Background;
}

// One option with its value; the replies it gets.
std::vector<std::string> setOption(Screen& screen, std::string_view option,
                                   const std::string& value) {
    const int number = leadingNumber(value);
    if (option == "name") {
        // The name is for the server's own screen list, which this panel does not show.
    } else if (option == "wid" || option == "hgt") {
        // LCDd draws every screen on the whole display; the size bounds only the cursor.
        if (number > 0) {
            (option == "wid" ? screen.width : screen.height) = number;
        }
    } else if (option == "priority") {
        const std::optional<PriorityClass> priority = priorityNamed(value);
        if (!priority) {
            return {"huh? invalid argument at -priority"};
        }
        screen.priority = *priority;
    } else if (option == "duration") {
        screen.duration = number;
    } else if (option == "timeout") {
        screen.timeout = number;
    } else if (option == "heartbeat") {
        if (value == "on" || value == "open" || value == "off") {
            screen.heartbeat = value != "off";
        }
    } else if (option == "backlight") {
        // The panel has no backlight to switch; the modes are checked all the same.
        if (value != "on" && value != "off" && value != "toggle" && value != "open" &&
            value != "blink" && value != "flash") {
            return {"huh? unknown backlight mode", kSuccess};
        }
    } else if (option == "cursor") {
        if (value == "off") {
            screen.cursor = CursorStyle::Off;
        } else if (value == "on" || value == "block") {
            screen.cursor = CursorStyle::Block;
        } else if (value == "under") {
            screen.cursor = CursorStyle::Underline;
        }
    } else {
        const bool across = option == "cursor_x";
        if (number < 1 || number > (across ? screen.width : screen.height)) {
            return {"huh? Cursor position outside screen"};
        }
        (across ? screen.cursorX : screen.cursorY) = number;
    }
    return {kSuccess};
}

bool isOption(std::string_view name) {
    for (std::string_view known : {"name", "wid", "hgt", "priority", "duration", "timeout",
                                   "heartbeat", "backlight", "cursor", "cursor_x", "cursor_y"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> setScreen(Screen& screen, std::span<const std::string> options) {
    std::vector<std::string> replies;
    for (std::size_t i = 0; i < options.size(); ++i) {
        std::string_view option = options[i];
        if (option.starts_with('-')) {
            option.remove_prefix(1);
        }
        std::vector<std::string> answers;
        if (!isOption(option)) {
            answers = {"huh? invalid parameter"};
        } else if (i + 1 == options.size()) {
            answers = {"huh? -" + std::string(option) + " requires a parameter"};
        } else {
            answers = setOption(screen, option, options[++i]);
        }
        replies.insert(replies.end(), answers.begin(), answers.end());
    }
    return replies;
}

}  // namespace dotwall::text_screens
