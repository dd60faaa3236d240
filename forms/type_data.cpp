// Reader of an item's type data: tagged payloads, each known tag checked for
// the structure its accessor expects when the item is read.
#include <cstring>

#include "forms/template_format.h"
#include "forms/template_reader.h"
#include "internal/byte_reader.h"

namespace tavrin::forms {

namespace {

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

// The entries of a counted list, each read by `read`; as many as read whole.
template <typename Entry, typename Read>
std::vector<Entry> EntriesOf(const std::string* data, Read read) {
    std::vector<Entry> out;
    if (data)
        WalkList(*data, [&](ByteReader& r) {
            out.emplace_back();
            return read(r, out.back());
        });
    return out;
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
    return EntriesOf<ListEntry>(raw(Tag::kItems),
                                [](ByteReader& r, ListEntry& e) { return ReadListEntry(r, e); });
}

std::vector<ColumnEntry> TypeData::columns() const {
    return EntriesOf<ColumnEntry>(raw(Tag::kColumns),
                                  [](ByteReader& r, ColumnEntry& e) { return ReadColumn(r, e); });
}

std::vector<PaneEntry> TypeData::panes() const {
    return EntriesOf<PaneEntry>(raw(Tag::kPanes),
                                [](ByteReader& r, PaneEntry& e) { return ReadPane(r, e); });
}

std::vector<ToolButtonEntry> TypeData::buttons() const {
    return EntriesOf<ToolButtonEntry>(
        raw(Tag::kButtons), [](ByteReader& r, ToolButtonEntry& e) { return ReadButton(r, e); });
}

std::vector<std::string> TypeData::pages() const {
    return EntriesOf<std::string>(raw(Tag::kPages),
                                  [](ByteReader& r, std::string& e) { return r.lengthString(e); });
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

}  // namespace tavrin::forms
