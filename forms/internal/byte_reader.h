// A cursor over a byte range of the window template segment that knows how
// many bytes are left: every read checks first and reports a shortfall as
// false, so a damaged segment fails instead of reading past its end.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/base/little_endian.h"

namespace tavrin::forms {

class ByteReader {
  public:
    ByteReader(const uint8_t* p, size_t n) : p_(p), end_(p + n) {}
    size_t left() const { return size_t(end_ - p_); }
    const uint8_t* here() const { return p_; }
    bool u32(uint32_t& v) {
        if (left() < 4) return false;
        v = LoadLe<uint32_t>(p_);
        p_ += 4;
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool bytes(size_t n, std::string& out) {
        if (left() < n) return false;
        out.assign(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return true;
    }
    bool skip(size_t n) {
        if (left() < n) return false;
        p_ += n;
        return true;
    }
    bool lengthString(std::string& out) {
        uint32_t n;
        return u32(n) && bytes(n, out);
    }
    bool cstring(std::string& out) {
        const void* nul = std::memchr(p_, 0, left());
        if (!nul) return false;
        size_t n = size_t(static_cast<const uint8_t*>(nul) - p_);
        out.assign(reinterpret_cast<const char*>(p_), n);
        p_ += n + 1;
        return true;
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
};

inline ByteReader ReaderOf(const std::string& s) {
    return ByteReader(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

}  // namespace tavrin::forms
