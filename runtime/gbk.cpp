// GBK ⇄ UTF-8 through glibc iconv, with one converter pair per thread.
#include "runtime/gbk.h"

#include <iconv.h>

#include <cerrno>

#include <QString>

namespace tavrin {
namespace {

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

struct Converter {
    iconv_t cd;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != (iconv_t)-1) iconv_close(cd);
    }
};

// Converts, replacing each byte that cannot be converted by '?'.
std::string Convert(Converter& conv, std::string_view in) {
    if (conv.cd == (iconv_t)-1) return std::string(in);
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
        } else {  // EILSEQ or EINVAL: skip one byte
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

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    thread_local Converter conv("UTF-8", "GBK");
    return Convert(conv, gbk);
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    thread_local Converter conv("GBK", "UTF-8");
    return Convert(conv, utf8);
}

QString GbkToQString(std::string_view gbk) {
    if (IsAscii(gbk)) return QString::fromLatin1(gbk.data(), qsizetype(gbk.size()));
    std::string u = GbkToUtf8(gbk);
    return QString::fromUtf8(u.data(), qsizetype(u.size()));
}

std::string QStringToGbk(const QString& text) {
    QByteArray u = text.toUtf8();
    return Utf8ToGbk(std::string_view(u.constData(), size_t(u.size())));
}

std::string NativePath(std::string_view gbkPath) {
    std::string p = GbkToUtf8(gbkPath);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

}  // namespace tavrin
