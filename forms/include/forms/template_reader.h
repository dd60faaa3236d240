// The window template table as read from the segment: one WindowTemplate per
// window with its items (window record, controls, menu items). The reader
// checks every length against what is left, so a malformed segment is
// rejected as a whole and never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tavrin::forms {

struct EventBinding {
    int32_t eventNumber = 0;
    int32_t handlerOffset = -1;
};

// One entry of a list-like type data property.
struct ListEntry {
    std::string text;  // GBK
    int32_t data = 0;
};
struct ColumnEntry {
    std::string title;  // GBK
    int32_t width = 0;
    int32_t align = 0;
};
struct PaneEntry {
    std::string text;
    int32_t width = 0;
};
struct ToolButtonEntry {
    int32_t image = -1;
    std::string text;
    std::string tip;
    uint32_t style = 0;
};
struct ImageListData {
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
    std::string picture;
};

// A kind's own properties as tagged entries (tags in template_format.h).
class TypeData {
  public:
    // Parses the tagged entries and checks the structure of every known tag.
    bool parse(const uint8_t* data, size_t size);

    bool has(uint32_t tag) const { return entries_.count(tag) != 0; }
    const std::string* raw(uint32_t tag) const;
    int32_t integer(uint32_t tag, int32_t fallback = 0) const;
    double real(uint32_t tag, double fallback = 0) const;
    std::string text(uint32_t tag) const;  // GBK; empty when absent
    std::vector<ListEntry> items() const;
    std::vector<ColumnEntry> columns() const;
    std::vector<PaneEntry> panes() const;
    std::vector<ToolButtonEntry> buttons() const;
    std::vector<std::string> pages() const;
    std::optional<ImageListData> imageList() const;
    std::map<std::string, std::string> settings() const;

  private:
    std::map<uint32_t, std::string> entries_;
};

struct ItemTemplate {
    uint32_t id = 0;
    uint32_t typeId = 0;
    uint32_t originId = 0;
    std::string name;        // GBK
    std::string secondName;  // GBK
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parentId = 0;
    std::vector<uint32_t> children;
    std::string cursorData;  // the mouse-pointer property bytes
    std::string mark;        // GBK
    uint32_t flags = 0;
    uint32_t tabOrder = 0;
    std::vector<EventBinding> bindings;
    TypeData typeData;
    size_t typeDataSize = 0;

    // Menu items only.
    bool isMenu = false;
    int32_t menuLevel = 0;
    uint32_t menuFlags = 0;
    std::string menuCaption;  // GBK
    int32_t menuHandler = -1;
    int32_t menuCommand = 0;  // 20000 + position in the window's menu run

    // The handler offset bound to an event, or nullopt when none.
    std::optional<int32_t> handlerFor(int32_t eventNumber) const;
};

struct WindowTemplate {
    uint32_t windowId = 0;
    uint32_t stamp = 0;
    uint32_t handlerModuleId = 0;
    std::vector<ItemTemplate> items;  // items[0] is the window's own record

    ItemTemplate* find(uint32_t itemId);
    const ItemTemplate* find(uint32_t itemId) const;
    // A page control's child list split into pages (a 0 word separates pages).
    static std::vector<std::vector<uint32_t>> SplitPages(const std::vector<uint32_t>& children);

    // Item id → position in items; filled by the reader.
    std::map<uint32_t, size_t> index_;
};

// Reads the whole segment; false (with a reason for diagnostics) when it is
// malformed in any way. On failure `out` is left empty.
bool ReadTemplateSegment(const uint8_t* segment, size_t size, std::vector<WindowTemplate>& out,
                         std::string* reason = nullptr);

}  // namespace tavrin::forms
