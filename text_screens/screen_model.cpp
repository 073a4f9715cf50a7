#include "text_screens/screen_model.h"

#include "text_screens/named_values.h"

#include <algorithm>
#include <array>
#include <utility>

namespace dotwall::text_screens {

std::optional<WidgetType> widgetTypeNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, WidgetType>, 9> kNames{{
        {"string", WidgetType::String},
        {"title", WidgetType::Title},
        {"hbar", WidgetType::HBar},
        {"vbar", WidgetType::VBar},
        {"pbar", WidgetType::PBar},
        {"icon", WidgetType::Icon},
        {"scroller", WidgetType::Scroller},
        {"frame", WidgetType::Frame},
        {"num", WidgetType::Num},
    }};
    return valueNamed(kNames, name);
}

Widget* findWidget(std::vector<Widget>& widgets, std::string_view id) {
    for (Widget& widget : widgets) {
        if (widget.id == id) {
            return &widget;
        }
        if (Widget* inner = findWidget(widget.inner, id)) {
            return inner;
        }
    }
    return nullptr;
}

bool removeWidget(std::vector<Widget>& widgets, std::string_view id) {
    for (auto widget = widgets.begin(); widget != widgets.end(); ++widget) {
        if (widget->id == id) {
            widgets.erase(widget);
            return true;
        }
        if (removeWidget(widget->inner, id)) {
            return true;
        }
    }
    return false;
}

int countWidgets(const std::vector<Widget>& widgets) {
    int count = 0;
    for (const Widget& widget : widgets) {
        count += 1 + countWidgets(widget.inner);
    }
    return count;
}

}  // namespace dotwall::text_screens
