// Numbers in the program's files and segments are little-endian: every reader
// and writer of those bytes goes through these few functions.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace tavrin {

// The stored byte order is the machine's on every target this builds for, so
// a value is its bytes as they lie.
static_assert(std::endian::native == std::endian::little,
              "the file formats are little-endian; a big-endian build needs byte swaps here");

template <typename T>
T LoadLe(const void* bytes) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <typename T>
void StoreLe(void* bytes, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(bytes, &value, sizeof value);
}

// Appends the value's bytes to a std::string or a std::vector of bytes.
template <typename T, typename Bytes>
void AppendLe(Bytes& out, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* p = reinterpret_cast<const typename Bytes::value_type*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

}  // namespace tavrin
