// ReadProperty / WriteProperty by window id, item id, property index and array
// index: the slots the window layer installs into the runtime.
#pragma once

#include <cstdint>

namespace tavrin::forms {

uint64_t ReadPropertySlot(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex);
void WritePropertySlot(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex,
                       uint32_t lo, uint32_t hi);

}  // namespace tavrin::forms
