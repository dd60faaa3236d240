// Test helpers for the kernel commands: GBK literals written in UTF-8, and
// results taken over (copied out and freed) so tests read like the behaviour.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/commands.h"
#include "runtime/memory.h"
#include "runtime/value.h"

namespace kernel_test {

inline std::string Convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) throw std::runtime_error("no iconv");
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == size_t(-1)) throw std::runtime_error("not convertible");
    out.resize(out.size() - dstLeft);
    return out;
}

// A GBK text from its UTF-8 spelling.
inline std::string G(std::string_view utf8) {
    return Convert(utf8, "GBK", "UTF-8");
}
// The UTF-8 spelling of GBK bytes (for readable failure messages).
inline std::string U(std::string_view gbk) {
    return Convert(gbk, "UTF-8", "GBK");
}

inline tavrin::Value Text(const std::string& s) {
    return tavrin::MakeTextRef(s.c_str());
}

// Copies a text result out and frees its block; null reads as "" but is reported.
inline std::string TakeText(tavrin::Value v, bool* wasNull = nullptr) {
    const char* p = v.asText();
    if (wasNull) *wasNull = p == nullptr;
    std::string s = p ? p : "";
    tavrin::Free(const_cast<char*>(p));
    return s;
}

inline std::string TakeByteSet(tavrin::Value v) {
    std::string s(tavrin::ByteSetOf(v));
    tavrin::Free(v.pointer());
    return s;
}

}  // namespace kernel_test
