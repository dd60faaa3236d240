// GBK ⇄ UTF-8 at the platform boundary: texts are GBK inside the program and
// are converted only where they meet Qt or the operating system.
#pragma once

#include <string>
#include <string_view>

class QString;

namespace tavrin {

// Unconvertible input bytes become '?'; never fails.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
QString GbkToQString(std::string_view gbk);
std::string QStringToGbk(const QString& text);

// A GBK file name as the operating system wants it: UTF-8, backslashes as '/'.
std::string NativePath(std::string_view gbkPath);

// True when byte c starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81;
}

// The length of the longest prefix of a GBK text that fits in maxBytes and ends
// on a whole character: a text shortened to a width never keeps half of a
// double-byte character.
inline size_t GbkWholeCharacterPrefix(std::string_view gbk, size_t maxBytes) {
    if (gbk.size() <= maxBytes) return gbk.size();
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t next = end + (IsGbkLeadByte(static_cast<unsigned char>(gbk[end])) ? 2 : 1);
        if (next > maxBytes) break;
        end = next;
    }
    return end;
}

}  // namespace tavrin
