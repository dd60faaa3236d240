// Reader of the window template segment. Every read goes through ByteReader,
// which knows how many bytes are left; any shortfall fails the whole segment.
#include "forms/template_reader.h"

#include <cstring>
#include <set>

#include "forms/template_format.h"

namespace tavrin::forms {

namespace {

class ByteReader {
  public:
    ByteReader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
    size_t left() const { return size_t(end_ - p_); }
    const uint8_t* here() const { return p_; }
    bool u32(uint32_t& v) {
        if (left() < 4) return false;
        v = uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24;
        p_ += 4;
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool bytes(size_t n, std::string& out) {
        if (left() < n) return false;
        out.assign(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (left() < n) return false;
        p_ += n;
        return true;
    }
    bool lengthString(std::string& out) {
        uint32_t n;
        return u32(n) && bytes(n, out);
    }
    bool cstring(std::string& out) {
        const void* nul = std::memchr(p_, 0, left());
        if (!nul) return false;
        size_t n = size_t(static_cast<const uint8_t*>(nul) - p_);
        out.assign(reinterpret_cast<const char*>(p_), n);
        p_ += n + 1;
        return true;
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
};

ByteReader ReaderOf(const std::string& s) {
    return ByteReader(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

// Walks a counted list whose entries `one` reads; true when it fills the data exactly.
template <typename F>
bool WalkList(const std::string& data, F one) {
    ByteReader r = ReaderOf(data);
    uint32_t n;
    if (!r.u32(n)) return false;
    for (uint32_t i = 0; i < n; ++i)
        if (!one(r)) return false;
    return r.left() == 0;
}

bool ReadListEntry(ByteReader& r, ListEntry& e) {
    return r.lengthString(e.text) && r.i32(e.data);
}
bool ReadColumn(ByteReader& r, ColumnEntry& e) {
    return r.lengthString(e.title) && r.i32(e.width) && r.i32(e.align);
}
bool ReadPane(ByteReader& r, PaneEntry& e) {
    return r.lengthString(e.text) && r.i32(e.width);
}
bool ReadButton(ByteReader& r, ToolButtonEntry& e) {
    return r.i32(e.image) && r.lengthString(e.text) && r.lengthString(e.tip) && r.u32(e.style);
}

// Checks that a known tag's payload has the structure its readers expect.
bool TagWellFormed(uint32_t tag, const std::string& d) {
    switch (tag) {
        case Tag::kCaption:
        case Tag::kText:
        case Tag::kTitle:
        case Tag::kPicture:
            return true;
        case Tag::kFont:
            return d.size() == kFontRecordSize;
        case Tag::kDateTime:
            return d.size() == 8;
        case Tag::kItems:
            return WalkList(d, [](ByteReader& r) {
                ListEntry e;
                return ReadListEntry(r, e);
            });
        case Tag::kColumns:
            return WalkList(d, [](ByteReader& r) {
                ColumnEntry e;
                return ReadColumn(r, e);
            });
        case Tag::kPanes:
            return WalkList(d, [](ByteReader& r) {
                PaneEntry e;
                return ReadPane(r, e);
            });
        case Tag::kButtons:
            return WalkList(d, [](ByteReader& r) {
                ToolButtonEntry e;
                return ReadButton(r, e);
            });
        case Tag::kPages:
            return WalkList(d, [](ByteReader& r) {
                std::string s;
                return r.lengthString(s);
            });
        case Tag::kSettings:
            return WalkList(d, [](ByteReader& r) {
                std::string k, v;
                return r.lengthString(k) && r.lengthString(v);
            });
        case Tag::kImageList:
            return d.size() >= 8;
        default:
            // Every other known tag is one i32; unknown tags are kept for the
            // kinds registered by higher layers.
            return tag > Tag::kFlat || d.size() == 4;
    }
}

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

bool TypeData::parse(const uint8_t* data, size_t size) {
    entries_.clear();
    if (size == 0) return true;  // no own properties
    ByteReader r(data, size);
    uint32_t n;
    if (!r.u32(n) || n > r.left() / 8) return false;
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t tag;
        std::string payload;
        if (!r.u32(tag) || !r.lengthString(payload)) return false;
        if (!TagWellFormed(tag, payload)) return false;
        entries_[tag] = std::move(payload);
    }
    return r.left() == 0;
}

const std::string* TypeData::raw(uint32_t tag) const {
    auto it = entries_.find(tag);
    return it == entries_.end() ? nullptr : &it->second;
}

int32_t TypeData::integer(uint32_t tag, int32_t fallback) const {
    const std::string* d = raw(tag);
    if (!d || d->size() < 4) return fallback;
    int32_t v;
    std::memcpy(&v, d->data(), 4);
    return v;
}

double TypeData::real(uint32_t tag, double fallback) const {
    const std::string* d = raw(tag);
    if (!d || d->size() != 8) return fallback;
    double v;
    std::memcpy(&v, d->data(), 8);
    return v;
}

std::string TypeData::text(uint32_t tag) const {
    const std::string* d = raw(tag);
    return d ? *d : std::string();
}

std::vector<ListEntry> TypeData::items() const {
    std::vector<ListEntry> out;
    if (const std::string* d = raw(Tag::kItems))
        WalkList(*d, [&](ByteReader& r) {
            out.emplace_back();
            return ReadListEntry(r, out.back());
        });
    return out;
}

std::vector<ColumnEntry> TypeData::columns() const {
    std::vector<ColumnEntry> out;
    if (const std::string* d = raw(Tag::kColumns))
        WalkList(*d, [&](ByteReader& r) {
            out.emplace_back();
            return ReadColumn(r, out.back());
        });
    return out;
}

std::vector<PaneEntry> TypeData::panes() const {
    std::vector<PaneEntry> out;
    if (const std::string* d = raw(Tag::kPanes))
        WalkList(*d, [&](ByteReader& r) {
            out.emplace_back();
            return ReadPane(r, out.back());
        });
    return out;
}

std::vector<ToolButtonEntry> TypeData::buttons() const {
    std::vector<ToolButtonEntry> out;
    if (const std::string* d = raw(Tag::kButtons))
        WalkList(*d, [&](ByteReader& r) {
            out.emplace_back();
            return ReadButton(r, out.back());
        });
    return out;
}

std::vector<std::string> TypeData::pages() const {
    std::vector<std::string> out;
    if (const std::string* d = raw(Tag::kPages))
        WalkList(*d, [&](ByteReader& r) {
            out.emplace_back();
            return r.lengthString(out.back());
        });
    return out;
}

std::optional<ImageListData> TypeData::imageList() const {
    const std::string* d = raw(Tag::kImageList);
    if (!d) return std::nullopt;
    ByteReader r = ReaderOf(*d);
    ImageListData out;
    if (!r.i32(out.cellWidth) || !r.i32(out.cellHeight) || !r.bytes(r.left(), out.picture))
        return std::nullopt;
    return out;
}

std::map<std::string, std::string> TypeData::settings() const {
    std::map<std::string, std::string> out;
    if (const std::string* d = raw(Tag::kSettings))
        WalkList(*d, [&](ByteReader& r) {
            std::string k, v;
            if (!r.lengthString(k) || !r.lengthString(v)) return false;
            out[k] = v;
            return true;
        });
    return out;
}

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
