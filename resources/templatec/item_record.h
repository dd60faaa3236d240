// One item of a window (the window itself, a control or a menu item) as the
// compiler collects it, and its record in the segment's item list.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::templatec {

struct Item {
    uint32_t id = 0;
    uint32_t typeId = 0;
    std::string name;  // GBK
    int32_t rect[4] = {0, 0, 0, 0};
    uint32_t parent = 0;
    uint32_t origin = 0;  // the item this one was copied from
    std::vector<uint32_t> children;
    std::string cursor = std::string(4, '\0');
    std::string mark;
    uint32_t flags = 0;
    uint32_t tabOrder = 0;
    std::vector<std::pair<int32_t, int32_t>> bindings;  // event → handler offset
    std::map<uint32_t, std::string> typeData;
    // menu items
    int32_t level = 0;
    uint32_t menuFlags = 0;
    std::string caption;
    int32_t handler = -1;
};

// The item's record bytes: the menu item layout for menu items, the control
// layout (with its tagged type data) for everything else.
std::string ItemRecord(const Item& it);

}  // namespace tavrin::templatec
