// Property 0 of a grid and of a data source: the control it is linked to (the
// data source it shows, the provider it forwards to), named by its item id.
#pragma once

#include <cstdint>

#include "forms/control.h"
#include "forms/control_lookup.h"

namespace tavrin::table {

// Reads the linked control's id (0 when none is linked).
inline bool ReadLinkProperty(int number, const forms::Control* linked, forms::PropertyData& out) {
    if (number != 0) return false;
    out = forms::PropertyData::Int(linked ? int64_t(linked->itemId()) : 0);
    return true;
}

// Links the control of the written id in the same window (null when there is
// no control of that kind with it).
template <typename Linked, typename Link>
bool WriteLinkProperty(const forms::Control& self, int number, const forms::PropertyData& in,
                       Link link) {
    if (number != 0) return false;
    link(forms::FindControlAs<Linked>(self.windowId(), uint32_t(in.number)));
    return true;
}

}  // namespace tavrin::table
