// Little-endian writing of the template segment's words, texts and files.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/base/little_endian.h"

namespace tavrin::templatec {

inline void PutU32(std::string& out, uint32_t v) {
    AppendLe(out, v);
}

// A length-prefixed text.
inline void PutString(std::string& out, const std::string& s) {
    PutU32(out, uint32_t(s.size()));
    out += s;
}

// A zero-terminated text.
inline void PutCString(std::string& out, const std::string& s) {
    out += s;
    out += '\0';
}

// The whole file's bytes; a missing file stops the build.
std::string ReadFile(const std::string& path, const std::string& where);

// A template text in GBK; a text GBK cannot hold stops the build.
std::string ToGbk(const std::string& utf8, const std::string& where);

}  // namespace tavrin::templatec
