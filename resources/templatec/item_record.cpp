// The byte layout of item records.
#include "item_record.h"

#include "forms/template_format.h"
#include "segment_bytes.h"

namespace tavrin::templatec {

namespace tf = tavrin::forms;

std::string ItemRecord(const Item& it) {
    std::string r;
    PutU32(r, it.typeId);
    if (it.typeId == tf::TypeId::kMenuItem) {
        for (int k = 0; k < 5; ++k) PutU32(r, 0);
        PutCString(r, "");
        PutCString(r, "");
        PutU32(r, 0);
        PutU32(r, uint32_t(it.level));
        PutU32(r, it.menuFlags);
        PutCString(r, it.caption);
        PutU32(r, uint32_t(it.handler));
        r += std::string(tf::kMenuItemReservedTail, '\0');
        return r;
    }
    PutU32(r, it.origin);
    for (int k = 0; k < 4; ++k) PutU32(r, 0);
    PutCString(r, it.name);
    PutCString(r, "");
    PutU32(r, 0);
    for (int k = 0; k < 4; ++k) PutU32(r, uint32_t(it.rect[k]));
    PutU32(r, 0);
    PutU32(r, it.parent);
    PutU32(r, uint32_t(it.children.size()));
    for (uint32_t c : it.children) PutU32(r, c);
    PutU32(r, uint32_t(it.cursor.size()));
    r += it.cursor;
    PutCString(r, it.mark);
    PutU32(r, 0);
    PutU32(r, it.flags);
    PutU32(r, it.tabOrder);
    PutU32(r, uint32_t(it.bindings.size()));
    for (auto& b : it.bindings) {
        PutU32(r, uint32_t(b.first));
        PutU32(r, uint32_t(b.second));
    }
    for (uint32_t k = 0; k < tf::kItemReservedTailWords; ++k) PutU32(r, 0);
    if (!it.typeData.empty()) {
        PutU32(r, uint32_t(it.typeData.size()));
        for (auto& [tag, v] : it.typeData) {
            PutU32(r, tag);
            PutString(r, v);
        }
    }
    return r;
}

}  // namespace tavrin::templatec
