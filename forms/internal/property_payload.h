// Property values as the runtime hands them over: a 64-bit payload that is a
// number or the address of a text or byte set.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin::forms {

uint64_t PointerPayload(const void* p);
const void* PayloadPointer(uint32_t lo, uint32_t hi);
// The text (GBK) or byte set a payload addresses; empty for a null address.
std::string TextAt(uint32_t lo, uint32_t hi);
std::string ByteSetAt(uint32_t lo, uint32_t hi);

}  // namespace tavrin::forms
