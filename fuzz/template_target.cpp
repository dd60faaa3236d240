// Fuzz target: one window template segment read by the forms' reader, which
// must refuse anything malformed without reading past the end.
#include <cstdint>
#include <cstring>
#include <vector>

#include "forms/template_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so a read past its end is caught.
    std::vector<uint8_t> segment(data, data + size);
    std::vector<tavrin::forms::WindowTemplate> table;
    std::string reason;
    if (tavrin::forms::ReadTemplateSegment(segment.data(), segment.size(), table, &reason)) {
        for (const auto& window : table) {
            for (const auto& item : window.items) (void)item;
        }
    }
    return 0;
}
