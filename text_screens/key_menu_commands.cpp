#include "text_screens/key_menu_commands.h"

#include <string_view>
#include "text_screens/replies.h"

namespace dotwall::text_screens {
namespace {

const std::string kNoMenu = "huh? Cannot find menu id";

std::vector<std::string> addKeys(std::span<const std::string> arguments) {
    if (arguments.size() < 2) {
        return {"huh? Usage: client_add_key [-exclusively|-shared] {<key>}+"};
    }
    std::vector<std::string> replies;
    std::span<const std::string> keys = arguments.subspan(1);
    const std::string& mode = keys.front();
    if (mode.starts_with('-')) {
        keys = keys.subspan(1);
        if (mode != "-exclusively" && mode != "-shared") {
            replies.push_back("huh? Invalid option: " + mode);
            for (const std::string& key : keys) {
                replies.push_back("huh? Could not reserve key \"" + key + "\"");
            }
        }
    }
    replies.push_back(kSuccess);
    return replies;
}

bool isItemType(std::string_view type) {
    for (std::string_view known :
         {"menu", "action", "checkbox", "ring", "slider", "numeric", "alpha", "ip"}) {
        if (type == known) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool KeysAndMenus::handles(const std::string& command) {
    for (std::string_view known :
         {"client_add_key", "client_del_key", "menu_add_item", "menu_del_item", "menu_set_item",
          "menu_goto", "menu_set_main"}) {
        if (command == known) {
            return true;
        }
    }
    return false;
}

bool KeysAndMenus::isMenu(const std::string& id) const {
    const auto item = items_.find(id);
    return id.empty() || (item != items_.end() && item->second.menu);
}

std::vector<std::string> KeysAndMenus::answer(std::span<const std::string> arguments, bool named) {
    const std::string& command = arguments.front();
    if (command == "client_add_key") {
        return addKeys(arguments);
    }
    if (command == "client_del_key") {
        return {arguments.size() < 2 ? "huh? Usage: client_del_key {<key>}+" : kSuccess};
    }
    if (command == "menu_add_item") {
        return addItem(arguments, named);
    }
    if (command == "menu_del_item") {
        return deleteItem(arguments, named);
    }
    if (command == "menu_set_item") {
        return setItem(arguments);
    }
    if (command == "menu_goto") {
        // Entering a menu needs keys to leave it again: it is accepted and not shown.
        if (arguments.size() < 2 || arguments.size() > 3) {
            return {"huh? Usage: menu_goto <menuid> [<predecessor_id>]"};
        }
        return {named && isMenu(arguments[1]) ? kSuccess : kNoMenu};
    }
    if (arguments.size() != 2) {
        return {"huh? Usage: menu_set_main <menuid>"};
    }
    const bool known =
        arguments[1].empty() || arguments[1] == "_main_" || (named && isMenu(arguments[1]));
    return {known ? kSuccess : kNoMenu};
}

std::vector<std::string> KeysAndMenus::addItem(std::span<const std::string> arguments, bool named) {
    if (!named) {
        return {"huh? You need to give your client a name first"};
    }
    if (arguments.size() < 4) {
        return {"huh? Usage: menu_add_item <menuid> <newitemid> <type> [<text>] [<option>]+"};
    }
    if (!isMenu(arguments[1])) {
        return {kNoMenu};
    }
    if (items_.contains(arguments[2])) {
        return {"huh? Item id already in use"};
    }
    if (!isItemType(arguments[3])) {
        return {"huh? Invalid menuitem type"};
    }
    if (std::ssize(items_) >= itemLimit_) {
        return {"huh? Too many menu items (at most " + std::to_string(itemLimit_) + ")"};
    }
    items_[arguments[2]] = Item{arguments[1], arguments[3] == "menu"};
    return {kSuccess};
}

std::vector<std::string> KeysAndMenus::deleteItem(std::span<const std::string> arguments,
                                                  bool named) {
    if (arguments.size() != 3) {
        return {"huh? Usage: menu_del_item <menuid> <itemid>"};
    }
    if (!named) {
        return {"huh? Client has no menu"};
    }
    if (!isMenu(arguments[1])) {
        return {kNoMenu};
    }
    if (!items_.contains(arguments[2])) {
        return {"huh? Cannot find item"};
    }
    // The item goes with everything below it.
    std::vector<std::string> going{arguments[2]};
    for (std::size_t i = 0; i < going.size(); ++i) {
        for (const auto& [id, item] : items_) {
            if (item.parent == going[i]) {
                going.push_back(id);
            }
        }
        items_.erase(going[i]);
    }
    return {kSuccess};
}

std::vector<std::string> KeysAndMenus::setItem(std::span<const std::string> arguments) {
    if (arguments.size() < 4) {
        return {"huh? Usage: menu_set_item <menuid> <itemid> {<option>}+"};
    }
    if (!isMenu(arguments[1]) || items_.empty()) {
        return {kNoMenu};
    }
    return {items_.contains(arguments[2]) ? kSuccess : "huh? Cannot find item"};
}

}  // namespace dotwall::text_screens
