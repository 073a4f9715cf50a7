#include "text_screens/screen_rotation.h"

#include <algorithm>

namespace dotwall::text_screens {
namespace {

bool takesTurns(PriorityClass priority) {
    return priority == PriorityClass::Foreground || priority == PriorityClass::Info ||
           priority == PriorityClass::Background;
}

ClientNotice notice(const Screen& screen, const char* word) {
    return ClientNotice{screen.owner, std::string(word) + " " + screen.id};
}

// The next screen of the same class after `current`, in the order they were added, round.
Screen* nextInTurn(std::vector<Screen>& screens, const Screen& current) {
    const auto sameClass = [&](const Screen& screen) {
        return screen.priority == current.priority;
    };
    const auto after = std::find_if(screens.begin(), screens.end(), [&](const Screen& screen) {
        return screen.serial > current.serial && sameClass(screen);
    });
    return &*(after != screens.end() ? after
                                     : std::find_if(screens.begin(), screens.end(), sameClass));
}

}  // namespace

Screen* ScreenRotation::choose(std::vector<Screen>& screens, std::vector<ClientNotice>& notices) {
    auto found = std::find_if(screens.begin(), screens.end(),
                              [&](const Screen& screen) { return shown_ == screen.serial; });
    if (found != screens.end() && expired_) {
        notices.push_back(notice(*found, "ignore"));
        screens.erase(found);
        found = screens.end();
    }
    Screen* current = found != screens.end() ? &*found : nullptr;
    expired_ = false;

    PriorityClass top = PriorityClass::Hidden;
    for (const Screen& screen : screens) {
        top = std::min(top, screen.priority);
    }
    if (current != nullptr && current->priority == top) {
        if (takesTurns(top) && shownFor_ >= current->duration) {
            Screen* next = nextInTurn(screens, *current);
            if (next != current) {
                notices.push_back(notice(*current, "ignore"));
                notices.push_back(notice(*next, "listen"));
                current = next;
            }
            shownFor_ = 0;
        }
    } else {
        if (current != nullptr) {
            notices.push_back(notice(*current, "ignore"));
        }
        current = nullptr;
        // The screen added last of the class; none when every screen is hidden.
        const auto last = std::find_if(screens.rbegin(), screens.rend(), [&](const Screen& screen) {
            return screen.priority == top;
        });
        if (top != PriorityClass::Hidden && last != screens.rend()) {
            current = &*last;
            notices.push_back(notice(*current, "listen"));
        }
        shownFor_ = 0;
    }
    if (current == nullptr) {
        shown_.reset();
        return nullptr;
    }
    shown_ = current->serial;
    ++shownFor_;
    if (current->timeout > 0) {
        expired_ = --current->timeout == 0;
    }
    return current;
}

}  // namespace dotwall::text_screens
