// Compiles template sources into the windows of the template segment and
// collects what the generated C++ needs besides: handler names and id symbols.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "item_record.h"
#include "template_parser.h"

namespace tavrin::templatec {

class Compiler {
  public:
    std::vector<std::string> handlerNames;  // index = handler offset
    std::vector<std::pair<std::string, uint32_t>> symbols;
    std::set<std::string> dependencies;  // sources and the pictures they name
    std::string segmentWindows;          // the window entries, in source order
    std::vector<uint32_t> windowIds;

    void compileFile(const std::string& path);

  private:
    // list tag → (entry count, entries)
    using Lists = std::map<uint32_t, std::pair<uint32_t, std::string>>;

    std::string dir_;
    uint32_t nextControl_ = 1, nextMenu_ = 1;
    std::set<uint32_t> usedControlIds_, usedMenuIds_;

    int32_t handlerOffset(const std::string& name);
    void addSymbol(const Node& n, uint32_t id);
    uint32_t freshControlId();
    uint32_t freshMenuId();
    void reserveIds(const Node& n);
    uint32_t headerId(const Node& n, bool menu);

    // Properties (item_properties.cpp).
    void setFont(Item& item, const Node& p);
    bool typeProperty(Item& item, const Node& p, Lists& lists);
    bool commonProperty(Item& item, const Node& p);
    void finishTypeData(Item& item, Lists& lists);

    uint32_t compileControl(const Node& n, uint32_t parent, std::vector<Item>& items);
    void compileMenu(const Node& n, int32_t level, std::vector<Item>& menus);
    void compileWindow(const Node& n);
};

}  // namespace tavrin::templatec
