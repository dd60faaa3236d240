// Double-byte aware scanning of GBK texts: every walk steps over a lead byte
// and its trail byte as one character, so no match ever starts on a trail byte,
// and letters compare without case only when they are single-byte ASCII.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin::kernel {

// Bytes of the character at i: 2 for a lead byte with a trail byte after it, else 1.
inline size_t GbkCharLength(std::string_view s, size_t i) {
    return (static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size()) ? 2 : 1;
}

inline unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// True when sought occurs at byte i of text (i a character boundary).
bool GbkMatchesAt(std::string_view text, size_t i, std::string_view sought, bool ignoreCase);

// Byte offset of the first occurrence of sought starting on a character boundary
// at or after byte `from`; npos when there is none. sought must not be empty.
size_t GbkFind(std::string_view text, std::string_view sought, size_t from, bool ignoreCase);

// Byte offset of the last single-byte character c (c < 0x80); npos when none.
size_t GbkFindLastAscii(std::string_view text, char c);

// Negative, 0 or positive; bytes compare unsigned, character by character.
int GbkCompare(std::string_view a, std::string_view b, bool ignoreCase);

// A copy with the ASCII letters of single-byte characters in lower case;
// trail bytes are never changed.
std::string GbkAsciiLower(std::string_view s);

}  // namespace tavrin::kernel
