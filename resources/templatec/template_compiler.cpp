// Compiling windows, controls and menus: ids, symbols, handler offsets and the
// window entries of the segment.
#include "template_compiler.h"

#include <cctype>

#include "compile_error.h"
#include "control_kinds.h"
#include "forms/template_format.h"
#include "segment_bytes.h"
#include "template_lexer.h"

namespace tavrin::templatec {

namespace tf = tavrin::forms;

void Compiler::compileFile(const std::string& path) {
    dependencies.insert(path);
    std::string src = ReadFile(path, path);
    std::vector<Token> tokens = Lex(src, path);
    size_t i = 0;
    std::vector<Node> top = ParseStatements(tokens, i, path, false);
    dir_ = path.substr(0, path.find_last_of('/') + 1);
    for (const Node& n : top) {
        if (n.head != "window" || !n.block) Die(n.where, "expected 'window { ... }'");
        compileWindow(n);
    }
}

int32_t Compiler::handlerOffset(const std::string& name) {
    if (name.empty() || name == "-") return -1;
    for (size_t k = 0; k < handlerNames.size(); ++k)
        if (handlerNames[k] == name) return int32_t(k);
    handlerNames.push_back(name);
    return int32_t(handlerNames.size() - 1);
}

void Compiler::addSymbol(const Node& n, uint32_t id) {
    auto it = n.attrs.find("symbol");
    std::string s = it != n.attrs.end() ? it->second : "";
    for (const Node& c : n.children)
        if (c.head == "symbol" && !c.args.empty()) s = c.args[0];
    if (s.empty()) return;
    for (char ch : s)
        if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_')
            Die(n.where, "symbol must be a C++ identifier: " + s);
    for (auto& [name, v] : symbols)
        if (name == s) Die(n.where, "symbol defined twice: " + s);
    symbols.emplace_back(s, id);
}

uint32_t Compiler::freshControlId() {
    while (usedControlIds_.count(tf::kControlIdBase + nextControl_)) ++nextControl_;
    usedControlIds_.insert(tf::kControlIdBase + nextControl_);
    return tf::kControlIdBase + nextControl_++;
}
uint32_t Compiler::freshMenuId() {
    while (usedMenuIds_.count(tf::kMenuItemIdBase + nextMenu_)) ++nextMenu_;
    usedMenuIds_.insert(tf::kMenuItemIdBase + nextMenu_);
    return tf::kMenuItemIdBase + nextMenu_++;
}

// Explicit ids are reserved first so that automatic ones never collide.
void Compiler::reserveIds(const Node& n) {
    for (const Node& c : n.children) {
        if (c.head == "id" && !c.args.empty() && n.head != "window") {
            uint32_t id = uint32_t(ParseInt(c.args[0], c.where));
            (n.head == "menu" || n.head == "item" ? usedMenuIds_ : usedControlIds_).insert(id);
        }
        reserveIds(c);
    }
    auto it = n.attrs.find("id");
    if (it != n.attrs.end())
        (n.head == "menu" || n.head == "item" ? usedMenuIds_ : usedControlIds_)
            .insert(uint32_t(ParseInt(it->second, n.where)));
}

uint32_t Compiler::headerId(const Node& n, bool menu) {
    std::string idText;
    if (auto it = n.attrs.find("id"); it != n.attrs.end()) idText = it->second;
    for (const Node& c : n.children)
        if (c.head == "id" && !c.args.empty()) idText = c.args[0];
    if (!idText.empty()) return uint32_t(ParseInt(idText, n.where));
    return menu ? freshMenuId() : freshControlId();
}

// Compiles a control block and its nested controls into items (document order).
uint32_t Compiler::compileControl(const Node& n, uint32_t parent, std::vector<Item>& items) {
    auto kind = Kinds().find(n.head);
    if (kind == Kinds().end()) Die(n.where, "unknown control kind '" + n.head + "'");
    Item item;
    item.typeId = kind->second.typeId;
    item.flags = kind->second.defaultFlags;
    item.id = headerId(n, false);
    item.parent = parent;
    if (!n.args.empty()) item.name = ToGbk(n.args[0], n.where);
    addSymbol(n, item.id);
    size_t self = items.size();
    items.push_back(item);
    Lists lists;
    std::vector<std::vector<uint32_t>> pages;
    std::vector<uint32_t> children;
    std::string pageTitles;
    for (const Node& p : n.children) {
        if (p.head == "page" && item.typeId == tf::TypeId::kPageControl) {
            std::string e;
            PutString(e, ToGbk(p.args.empty() ? "" : p.args[0], p.where));
            lists[tf::Tag::kPages].first++;
            lists[tf::Tag::kPages].second += e;
            pages.emplace_back();
            for (const Node& c : p.children)
                pages.back().push_back(compileControl(c, item.id, items));
        } else if (p.block && Kinds().count(p.head)) {
            if (!kind->second.container || item.typeId == tf::TypeId::kPageControl)
                Die(p.where, "'" + n.head + "' cannot hold controls here");
            children.push_back(compileControl(p, item.id, items));
        } else if (!commonProperty(items[self], p) && !typeProperty(items[self], p, lists)) {
            Die(p.where, "unknown property '" + p.head + "' of " + n.head);
        }
    }
    Item& me = items[self];
    if (me.typeId == tf::TypeId::kPageControl) {
        for (size_t k = 0; k < pages.size(); ++k) {
            if (k) me.children.push_back(0);
            me.children.insert(me.children.end(), pages[k].begin(), pages[k].end());
        }
    } else {
        me.children = children;
    }
    finishTypeData(me, lists);
    return me.id;
}

void Compiler::compileMenu(const Node& n, int32_t level, std::vector<Item>& menus) {
    Item m;
    m.typeId = tf::TypeId::kMenuItem;
    m.id = headerId(n, true);
    addSymbol(n, m.id);
    m.level = level;
    m.caption = ToGbk(n.args.empty() ? "" : n.args[0], n.where);
    for (size_t k = 1; k < n.args.size(); ++k) {
        const std::string& f = n.args[k];
        if (f == "hidden")
            m.menuFlags |= tf::kMenuHidden;
        else if (f == "disabled")
            m.menuFlags |= tf::kMenuDisabled;
        else if (f == "checked")
            m.menuFlags |= tf::kMenuChecked;
        else
            Die(n.where, "unknown menu flag " + f);
    }
    if (auto it = n.attrs.find("on"); it != n.attrs.end()) m.handler = handlerOffset(it->second);
    menus.push_back(m);
    for (const Node& c : n.children) {
        if (c.head == "item" || c.head == "menu")
            compileMenu(c, level + 1, menus);
        else if (c.head == "on" && !c.args.empty())
            menus[menus.size() - 1].handler = handlerOffset(c.args[0]);
        else if (c.head != "id" && c.head != "symbol")
            Die(c.where, "a menu holds items only");
    }
}

void Compiler::compileWindow(const Node& n) {
    reserveIds(n);
    Item win;
    win.typeId = tf::TypeId::kWindow;
    win.flags = tf::kStateVisible;
    std::string idText;
    for (const Node& c : n.children)
        if (c.head == "id" && !c.args.empty()) idText = c.args[0];
    if (idText.empty()) Die(n.where, "a window needs 'id = 0x5201....'");
    const uint32_t windowId = uint32_t(ParseInt(idText, n.where));
    if ((windowId & 0xFFFF0000u) != tf::kWindowIdBase) Die(n.where, "window id must be 0x5201xxxx");
    for (uint32_t w : windowIds)
        if (w == windowId) Die(n.where, "window id used twice");
    windowIds.push_back(windowId);
    win.id = tf::kWindowItemIdBase | (windowId & 0xFFFF);
    addSymbol(n, windowId);
    std::vector<Item> items{win}, menus;
    Lists lists;
    for (const Node& p : n.children) {
        if (p.head == "menu") {
            compileMenu(p, 0, menus);
        } else if (p.block && Kinds().count(p.head)) {
            compileControl(p, 0, items);
        } else if (!commonProperty(items[0], p) && !typeProperty(items[0], p, lists)) {
            Die(p.where, "unknown window property '" + p.head + "'");
        }
    }
    finishTypeData(items[0], lists);
    items.insert(items.end(), menus.begin(), menus.end());
    std::set<uint32_t> ids;
    for (const Item& it : items)
        if (!ids.insert(it.id).second) Die(n.where, "item id used twice in one window");
    bool handlers = false;
    for (const Item& it : items) handlers |= !it.bindings.empty() || it.handler >= 0;

    // ItemList: count, size, keys, offsets, records.
    std::string records, keys, offsets;
    for (const Item& it : items) {
        PutU32(keys, it.id);
        PutU32(offsets, uint32_t(records.size()));
        std::string rec = ItemRecord(it);
        PutU32(records, uint32_t(rec.size()));
        records += rec;
    }
    std::string data = keys + offsets + records;
    std::string& out = segmentWindows;
    PutU32(out, 0);  // stamp
    PutU32(out, handlers ? tf::kHandlerModuleIdBase | (windowId & 0xFFFF) : 0);
    PutString(out, "");
    PutString(out, "");
    PutU32(out, uint32_t(items.size()));
    PutU32(out, uint32_t(data.size()));
    out += data;
}

}  // namespace tavrin::templatec
