// Property payloads: numbers, and addresses of texts and byte sets.
#include "internal/property_payload.h"

#include "runtime/memory.h"

namespace tavrin::forms {

uint64_t PointerPayload(const void* p) {
    return uint64_t(reinterpret_cast<uintptr_t>(p));
}
const void* PayloadPointer(uint32_t lo, uint32_t hi) {
    return reinterpret_cast<const void*>(uintptr_t(uint64_t(lo) | uint64_t(hi) << 32));
}
std::string TextAt(uint32_t lo, uint32_t hi) {
    const char* t = static_cast<const char*>(PayloadPointer(lo, hi));
    return t ? std::string(t) : std::string();
}
std::string ByteSetAt(uint32_t lo, uint32_t hi) {
    const auto* b = static_cast<const ByteSetBlock*>(PayloadPointer(lo, hi));
    return b ? std::string(reinterpret_cast<const char*>(b->data()), b->length) : std::string();
}

}  // namespace tavrin::forms
