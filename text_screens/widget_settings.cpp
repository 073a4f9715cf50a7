#include "text_screens/widget_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <utility>

#include "text_screens/named_values.h"
#include "text_screens/protocol_numbers.h"
#include "text_screens/replies.h"

namespace dotwall::text_screens {
namespace {

using text_display::Icon;

const std::string kWrongCount = "huh? Wrong number of arguments";
const std::string kBadCoordinates = "huh? Invalid coordinates";

std::optional<Icon> iconNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, Icon>, 22> kNames{{
        {"BLOCK_FILLED", Icon::BlockFilled},
        {"HEART_OPEN", Icon::HeartOpen},
        {"HEART_FILLED", Icon::HeartFilled},
        {"ARROW_UP", Icon::ArrowUp},
        {"ARROW_DOWN", Icon::ArrowDown},
        {"ARROW_LEFT", Icon::ArrowLeft},
        {"ARROW_RIGHT", Icon::ArrowRight},
        {"CHECKBOX_OFF", Icon::CheckboxOff},
        {"CHECKBOX_ON", Icon::CheckboxOn},
        {"CHECKBOX_GRAY", Icon::CheckboxGray},
        {"SELECTOR_AT_LEFT", Icon::SelectorAtLeft},
        {"SELECTOR_AT_RIGHT", Icon::SelectorAtRight},
        {"ELLIPSIS", Icon::Ellipsis},
        {"STOP", Icon::Stop},
        {"PAUSE", Icon::Pause},
        {"PLAY", Icon::Play},
        {"PLAYR", Icon::PlayReverse},
        {"FF", Icon::FastForward},
        {"FR", Icon::FastReverse},
        {"NEXT", Icon::Next},
        {"PREV", Icon::Previous},
        {"REC", Icon::Record},
    }};
    // Icon names are taken in any case, as LCDd takes them.
    return valueNamed(kNames, name, [](std::string_view upper, std::string_view given) {
        return std::equal(
            upper.begin(), upper.end(), given.begin(), given.end(),
            [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); });
    });
}

bool allBeginWithDigits(std::span<const std::string> texts) {
    return std::all_of(texts.begin(), texts.end(),
                       [](const std::string& text) { return beginsWithDigit(text); });
}

// Widgets placed by a cell and given a value of their own: each a position and then its rest.
std::vector<std::string> setPlaced(Widget& widget, std::span<const std::string> arguments) {
    const std::string& last = arguments.back();
    switch (widget.type) {
        case WidgetType::String:
            widget.text = last;
            break;
        case WidgetType::HBar:
        case WidgetType::VBar:
            widget.length = leadingNumber(last);
            break;
        case WidgetType::Icon:
            if (const std::optional<Icon> icon = iconNamed(last)) {
                widget.icon = *icon;
                break;
            }
            return {"huh? Invalid icon name"};
        default:
            break;
    }
    widget.x = cellNumber(arguments[0]);
    widget.y = cellNumber(arguments[1]);
    widget.set = true;
    return {kSuccess};
}

std::vector<std::string> setProgressBar(Widget& widget, std::span<const std::string> arguments) {
    if (arguments.size() < 4 || arguments.size() > 6) {
        return {kWrongCount};
    }
    if (!allBeginWithDigits(arguments.first(3))) {
        return {kBadCoordinates};
    }
    widget.x = cellNumber(arguments[0]);
    widget.y = cellNumber(arguments[1]);
    widget.length = cellNumber(arguments[2]);
    widget.promille = std::clamp(leadingNumber(arguments[3]), 0, 1000);
    widget.text = arguments.size() > 4 ? arguments[4] : "";
    widget.endText = arguments.size() > 5 ? arguments[5] : "";
    widget.set = true;
    return {kSuccess};
}

// Scrollers and frames: a rectangle, then their own numbers, a direction and a speed.
std::vector<std::string> setMoving(Widget& widget, std::span<const std::string> arguments) {
    const bool frame = widget.type == WidgetType::Frame;
    if (arguments.size() != (frame ? 8U : 7U)) {
        return {kWrongCount};
    }
    if (!allBeginWithDigits(arguments.first(frame ? 6 : 4))) {
        return {kBadCoordinates};
    }
    const std::string& directionText = arguments[frame ? 6 : 4];
    const char direction = directionText.empty() ? 0 : directionText[0];
    if (std::string_view(frame ? "hv" : "hvm").find(direction) == std::string_view::npos) {
        return {"huh? Invalid direction"};
    }
    widget.x = cellNumber(arguments[0]);
    widget.y = cellNumber(arguments[1]);
    widget.right = cellNumber(arguments[2]);
    widget.bottom = cellNumber(arguments[3]);
    if (frame) {
        widget.innerWidth = cellNumber(arguments[4]);
        widget.innerHeight = cellNumber(arguments[5]);
    } else {
        widget.text = arguments[6];
    }
    widget.direction = direction;
    widget.speed = leadingNumber(arguments[frame ? 7 : 5]);
    widget.set = true;
    return {kSuccess};
}

std::vector<std::string> setBigNumber(Widget& widget, std::span<const std::string> arguments) {
    if (arguments.size() != 2) {
        return {kWrongCount};
    }
    if (!beginsWithDigit(arguments[0])) {
        return {kBadCoordinates, kSuccess};
    }
    if (!beginsWithDigit(arguments[1])) {
        return {"huh? Invalid number", kSuccess};
    }
    widget.x = cellNumber(arguments[0]);
    widget.digit = leadingNumber(arguments[1]);
    widget.set = true;
    return {kSuccess};
}

}  // namespace

std::vector<std::string> setWidget(Widget& widget, std::span<const std::string> arguments) {
    switch (widget.type) {
        case WidgetType::Title:
            if (arguments.size() != 1) {
                return {kWrongCount};
            }
            widget.text = arguments[0];
            widget.set = true;
            return {kSuccess};
        case WidgetType::PBar:
            return setProgressBar(widget, arguments);
        case WidgetType::Scroller:
        case WidgetType::Frame:
            return setMoving(widget, arguments);
        case WidgetType::Num:
            return setBigNumber(widget, arguments);
        default:
            break;
    }
    if (arguments.size() != 3) {
        return {kWrongCount};
    }
    if (!allBeginWithDigits(arguments.first(2))) {
        const bool bar = widget.type == WidgetType::HBar || widget.type == WidgetType::VBar;
        return bar ? std::vector<std::string>{kBadCoordinates, kSuccess}
                   : std::vector<std::string>{kBadCoordinates};
    }
    return setPlaced(widget, arguments);
}

}  // namespace dotwall::text_screens
