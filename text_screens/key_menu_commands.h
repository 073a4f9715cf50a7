#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

namespace dotwall::text_screens {

// One client's keys and menu items. The panel has no keys: the commands are answered as LCDd
// answers them on a display without keys, and no key or menu event is ever sent.
class KeysAndMenus {
  public:
    // At most `itemLimit` menu items.
    explicit KeysAndMenus(int itemLimit) : itemLimit_(itemLimit) {}

    // Whether `command` is one of the key and menu commands.
    static bool handles(const std::string& command);
    // The replies to `arguments` (the command first); `named`: the client has a name, which
    // menus need.
    std::vector<std::string> answer(std::span<const std::string> arguments, bool named);

  private:
    std::vector<std::string> addItem(std::span<const std::string> arguments, bool named);
    std::vector<std::string> deleteItem(std::span<const std::string> arguments, bool named);
    std::vector<std::string> setItem(std::span<const std::string> arguments);
    // A menu by id: "" the client's own, else an item of type menu.
    bool isMenu(const std::string& id) const;

    struct Item {
        std::string parent;
        bool menu = false;
    };
    int itemLimit_;
    std::map<std::string, Item> items_;
};

}  // namespace dotwall::text_screens
