// Double-byte aware search and comparison over GBK bytes.
#include "runtime/kernel/gbk_scan.h"

namespace tavrin::kernel {

bool GbkMatchesAt(std::string_view text, size_t i, std::string_view sought, bool ignoreCase) {
    if (sought.size() > text.size() - i) return false;
    if (!ignoreCase) return text.compare(i, sought.size(), sought) == 0;
    // The sought text decides where its characters begin; both start on a boundary,
    // so equal bytes mean equal character structure.
    for (size_t k = 0; k < sought.size();) {
        size_t n = GbkCharLength(sought, k);
        auto a = static_cast<unsigned char>(text[i + k]);
        auto b = static_cast<unsigned char>(sought[k]);
        if (n == 1) {
            if (AsciiLower(a) != AsciiLower(b)) return false;
        } else if (a != b || text[i + k + 1] != sought[k + 1]) {
            return false;
        }
        k += n;
    }
    return true;
}

size_t GbkFind(std::string_view text, std::string_view sought, size_t from, bool ignoreCase) {
    if (sought.empty() || sought.size() > text.size()) return std::string_view::npos;
    const size_t last = text.size() - sought.size();
    for (size_t i = 0; i <= last; i += GbkCharLength(text, i)) {
        if (i >= from && GbkMatchesAt(text, i, sought, ignoreCase)) return i;
    }
    return std::string_view::npos;
}

size_t GbkFindLastAscii(std::string_view text, char c) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < text.size(); i += GbkCharLength(text, i))
        if (text[i] == c) found = i;
    return found;
}

int GbkCompare(std::string_view a, std::string_view b, bool ignoreCase) {
    size_t i = 0;
    while (i < a.size() && i < b.size()) {
        size_t n = GbkCharLength(a, i);
        for (size_t k = 0; k < n; ++k) {
            if (i + k >= b.size()) return 1;
            auto x = static_cast<unsigned char>(a[i + k]);
            auto y = static_cast<unsigned char>(b[i + k]);
            if (ignoreCase && n == 1 && GbkCharLength(b, i) == 1) {
                x = AsciiLower(x);
                y = AsciiLower(y);
            }
            if (x != y) return x < y ? -1 : 1;
        }
        i += n;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string GbkAsciiLower(std::string_view s) {
    std::string out(s);
    for (size_t i = 0; i < s.size(); i += GbkCharLength(s, i))
        if (GbkCharLength(s, i) == 1) out[i] = char(AsciiLower(static_cast<unsigned char>(s[i])));
    return out;
}

}  // namespace tavrin::kernel
