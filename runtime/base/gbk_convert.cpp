// The iconv converter behind every GBK ⇄ UTF-8 conversion.
#include "runtime/base/gbk_convert.h"

#include <iconv.h>

#include <cerrno>

namespace tavrin {
namespace {

struct Converter {
    iconv_t cd;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != (iconv_t)-1) iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
};

std::optional<std::string> Convert(Converter& conv, std::string_view in, Unconvertible rule) {
    if (IsAsciiText(in)) return std::string(in);
    if (conv.cd == (iconv_t)-1) {
        if (rule == Unconvertible::kRefuse) return std::nullopt;
        return std::string(in);
    }
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    size_t used = 0;
    while (srcLeft > 0) {
        char* dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        size_t r = iconv(conv.cd, &src, &srcLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (r != (size_t)-1) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {  // EILSEQ or EINVAL: one byte that cannot be converted
            if (rule == Unconvertible::kRefuse) return std::nullopt;
            if (out.size() - used < 1) out.resize(out.size() * 2);
            out[used++] = '?';
            ++src;
            --srcLeft;
            iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    out.resize(used);
    return out;
}

}  // namespace

std::optional<std::string> ConvertGbkToUtf8(std::string_view gbk, Unconvertible rule) {
    thread_local Converter conv("UTF-8", "GBK");
    return Convert(conv, gbk, rule);
}

std::optional<std::string> ConvertUtf8ToGbk(std::string_view utf8, Unconvertible rule) {
    thread_local Converter conv("GBK", "UTF-8");
    return Convert(conv, utf8, rule);
}

}  // namespace tavrin
