// The control kinds a template names and the properties stored as one word.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tavrin::templatec {

struct KindInfo {
    uint32_t typeId;
    uint32_t defaultFlags;
    bool container;  // may hold nested controls
};

// Template word → control kind ("edit", "grid", "pages", ...).
const std::map<std::string, KindInfo>& Kinds();

// Template word → type-data tag of the properties whose value is one number.
const std::map<std::string, uint32_t>& IntKeys();

}  // namespace tavrin::templatec
