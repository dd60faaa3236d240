// Reader of the window template segment. Every read goes through ByteReader,
// which knows how many bytes are left; any shortfall fails the whole segment.
#include "forms/template_reader.h"

#include <set>

#include "forms/template_format.h"
#include "internal/byte_reader.h"

namespace tavrin::forms {

namespace {

bool ReadMenuItem(ByteReader& r, ItemTemplate& item) {
    uint32_t ignored;
    for (int i = 0; i < 5; ++i)
        if (!r.u32(ignored)) return false;
    if (!r.cstring(item.name) || !r.cstring(item.secondName) || !r.u32(ignored)) return false;
    if (!r.i32(item.menuLevel) || !r.u32(item.menuFlags) || !r.cstring(item.menuCaption) ||
        !r.i32(item.menuHandler) || !r.skip(kMenuItemReservedTail))
        return false;
    if (item.menuLevel < 0 || item.menuLevel > 16) return false;
    item.isMenu = true;
    return r.left() == 0;
}

bool ReadControlItem(ByteReader& r, ItemTemplate& item) {
    uint32_t ignored, count;
    if (!r.u32(item.originId)) return false;
    for (int i = 0; i < 4; ++i)
        if (!r.u32(ignored)) return false;
    if (!r.cstring(item.name) || !r.cstring(item.secondName) || !r.u32(ignored)) return false;
    if (!r.i32(item.left) || !r.i32(item.top) || !r.i32(item.width) || !r.i32(item.height))
        return false;
    if (!r.u32(ignored) || !r.u32(item.parentId) || !r.u32(count)) return false;
    if (count > r.left() / 4) return false;
    item.children.resize(count);
    for (auto& c : item.children) r.u32(c);
    if (!r.u32(count) || !r.bytes(count, item.cursorData)) return false;
    if (!r.cstring(item.mark) || !r.u32(ignored) || !r.u32(item.flags) || !r.u32(item.tabOrder))
        return false;
    if (!r.u32(count) || count > r.left() / 8) return false;
    item.bindings.resize(count);
    for (auto& b : item.bindings) {
        r.i32(b.eventNumber);
        r.i32(b.handlerOffset);
    }
    if (!r.skip(4 * kItemReservedTailWords)) return false;
    item.typeDataSize = r.left();
    return item.typeData.parse(r.here(), r.left());
}

bool ReadItemList(ByteReader& r, WindowTemplate& w) {
    uint32_t n, size;
    if (!r.u32(n) || !r.u32(size) || size > r.left()) return false;
    ByteReader data(r.here(), size);
    r.skip(size);
    if (n == 0 || n > size / 8) return false;
    std::vector<uint32_t> keys(n), offsets(n);
    for (auto& k : keys) data.u32(k);
    for (auto& o : offsets) data.u32(o);
    const uint8_t* base = data.here();
    const size_t records = data.left();
    w.items.resize(n);
    int32_t menuPosition = 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (offsets[i] > records || records - offsets[i] < 4) return false;
        ByteReader rec(base + offsets[i], records - offsets[i]);
        uint32_t length = 0;
        if (!rec.u32(length) || length > rec.left()) return false;
        ByteReader body(rec.here(), length);
        ItemTemplate& item = w.items[i];
        item.id = keys[i];
        if (!body.u32(item.typeId)) return false;
        if (item.typeId == TypeId::kMenuItem) {
            if (i == 0 || !ReadMenuItem(body, item)) return false;
            item.menuCommand = kMenuCommandBase + menuPosition++;
        } else if (!ReadControlItem(body, item)) {
            return false;
        }
        if (!w.index_.emplace(item.id, i).second) return false;
    }
    if (w.items[0].typeId != TypeId::kWindow) return false;
    // Parents must exist, and following them must reach the window.
    for (const ItemTemplate& item : w.items) {
        if (item.isMenu || &item == &w.items[0]) continue;
        const ItemTemplate* p = &item;
        for (size_t steps = 0; p->parentId != 0; ++steps) {
            const ItemTemplate* next = w.find(p->parentId);
            if (!next || next->isMenu || next == &w.items[0] || steps > w.items.size())
                return false;
            p = next;
        }
    }
    return true;
}

}  // namespace

std::optional<int32_t> ItemTemplate::handlerFor(int32_t eventNumber) const {
    for (const EventBinding& b : bindings)
        if (b.eventNumber == eventNumber) return b.handlerOffset;
    return std::nullopt;
}

ItemTemplate* WindowTemplate::find(uint32_t itemId) {
    auto it = index_.find(itemId);
    return it == index_.end() ? nullptr : &items[it->second];
}

const ItemTemplate* WindowTemplate::find(uint32_t itemId) const {
    auto it = index_.find(itemId);
    return it == index_.end() ? nullptr : &items[it->second];
}

std::vector<std::vector<uint32_t>> WindowTemplate::SplitPages(
    const std::vector<uint32_t>& children) {
    std::vector<std::vector<uint32_t>> pages(1);
    for (uint32_t id : children) {
        if (id == 0)
            pages.emplace_back();
        else
            pages.back().push_back(id);
    }
    if (children.empty()) pages.clear();
    return pages;
}

bool ReadTemplateSegment(const uint8_t* segment, size_t size, std::vector<WindowTemplate>& out,
                         std::string* reason) {
    out.clear();
    auto fail = [&](const char* why) {
        out.clear();
        if (reason) *reason = why;
        return false;
    };
    if (!segment && size) return fail("no segment");
    ByteReader r(segment, size);
    uint32_t tableSize;
    if (!r.u32(tableSize)) return fail("no id table size");
    if (tableSize % 8 != 0 || tableSize > r.left()) return fail("bad id table size");
    const uint32_t count = tableSize / 8;
    std::vector<uint32_t> ids(count);
    for (auto& id : ids) r.u32(id);
    r.skip(4 * size_t(count));  // slots for the loaded window objects
    std::set<uint32_t> seen;
    out.resize(count);
    for (uint32_t w = 0; w < count; ++w) {
        WindowTemplate& t = out[w];
        t.windowId = ids[w];
        if (!seen.insert(t.windowId).second) return fail("duplicate window id");
        std::string unused;
        if (!r.u32(t.stamp) || !r.u32(t.handlerModuleId) || !r.lengthString(unused) ||
            !r.lengthString(unused))
            return fail("truncated window record");
        if (!ReadItemList(r, t)) return fail("malformed item list");
    }
    if (r.left() != 0) return fail("bytes after the last window record");
    return true;
}

}  // namespace tavrin::forms
