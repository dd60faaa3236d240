// Names and paths: the runtime's name rule for fields and aliases, the GBK
// case-insensitive comparison, and the default extensions of both files.
#include <cstring>

#include "internal/record_file.h"

namespace tavrin::rs {

namespace {

bool IsAsciiLetter(uint8_t c) {
    return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
}

// Full-width letters (Ａ-Ｚ, ａ-ｚ) and digits (０-９) sit in row 0xA3.
bool IsWideLetter(uint8_t lead, uint8_t trail) {
    return lead == 0xA3 && ((trail >= 0xC1 && trail <= 0xDA) || (trail >= 0xE1 && trail <= 0xFA));
}
bool IsWideDigit(uint8_t lead, uint8_t trail) {
    return lead == 0xA3 && trail >= 0xB0 && trail <= 0xB9;
}
// Chinese characters: GB2312 levels 1 and 2, and the GBK extension areas 3 and 4.
bool IsChinese(uint8_t lead, uint8_t trail) {
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    if (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) return true;
    if (lead >= 0x81 && lead <= 0xA0) return true;
    if (lead >= 0xAA && lead <= 0xFE && trail <= 0xA0) return true;
    return false;
}

// The last "\\" or "/", scanning whole characters: the trail byte of a
// double-byte character may be 0x5C and is no separator.
size_t LastSeparator(std::string_view path) {
    size_t last = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const uint8_t c = uint8_t(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/') {
            last = i;
        }
    }
    return last;
}

}  // namespace

bool IsValidName(std::string_view name, size_t maxBytes) {
    if (name.empty() || (maxBytes > 0 && name.size() > maxBytes)) return false;
    bool first = true;
    for (size_t i = 0; i < name.size();) {
        uint8_t c = uint8_t(name[i]);
        if (c < 0x80) {
            bool ok = IsAsciiLetter(c) || (!first && c >= '0' && c <= '9');
            if (!ok) return false;
            ++i;
        } else {
            if (i + 1 >= name.size()) return false;
            uint8_t t = uint8_t(name[i + 1]);
            bool ok = IsWideLetter(c, t) || IsChinese(c, t) || (!first && IsWideDigit(c, t));
            if (!ok) return false;
            i += 2;
        }
        first = false;
    }
    return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
    for (size_t i = 0; i < a.size(); ++i) {
        uint8_t x = uint8_t(a[i]), y = uint8_t(b[i]);
        if (x >= 0x80) {  // a double-byte character compares whole
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x != y && !(IsAsciiLetter(x) && (x | 0x20) == (y | 0x20))) return false;
    }
    return true;
}

std::string WithDefaultExtension(std::string_view name, std::string_view extension) {
    std::string result(name);
    size_t sep = LastSeparator(name);
    size_t dot = name.rfind('.');
    bool hasDot = dot != std::string_view::npos && (sep == std::string_view::npos || dot > sep);
    if (!hasDot) {
        result += '.';
        result += extension;
    } else if (dot + 1 == name.size()) {
        result += extension;
    }
    return result;
}

size_t LastPathSeparator(std::string_view gbkPath) {
    return LastSeparator(gbkPath);
}

bool HasWildcard(std::string_view gbkPath) {
    // Neither byte can be the trail byte of a double-byte character.
    return gbkPath.find_first_of("?*") != std::string_view::npos;
}

std::string BlockFilePath(std::string_view recordPath) {
    std::string path = WithDefaultExtension(recordPath);
    size_t dot = path.rfind('.');
    return path.substr(0, dot + 1) + "EDT";
}

void Database::fieldsRead() {
    nameCache_.clear();
    namesUnique_ = fields.size() <= 256;  // the check is quadratic
    for (size_t i = 0; i < fields.size() && namesUnique_; ++i) {
        for (size_t j = i + 1; j < fields.size(); ++j) {
            if (EqualNoCase(fields[i].name, fields[j].name)) namesUnique_ = false;
        }
    }
}

}  // namespace tavrin::rs
