// Property access by control object and type id (the runtime's numbered
// routines 4 and 5): the slots the window layer installs into the runtime.
#pragma once

#include <cstdint>

namespace tavrin::forms {

uint64_t ReadObjectPropertySlot(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex);
void WriteObjectPropertySlot(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex,
                             uint32_t lo, uint32_t hi);

}  // namespace tavrin::forms
