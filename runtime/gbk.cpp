// The program's GBK texts at the Qt and file-system boundary.
#include "runtime/gbk.h"

#include <QString>

#include "runtime/base/gbk_convert.h"

namespace tavrin {

std::string GbkToUtf8(std::string_view gbk) {
    return *ConvertGbkToUtf8(gbk, Unconvertible::kQuestionMark);
}

std::string Utf8ToGbk(std::string_view utf8) {
    return *ConvertUtf8ToGbk(utf8, Unconvertible::kQuestionMark);
}

QString GbkToQString(std::string_view gbk) {
    if (IsAsciiText(gbk)) return QString::fromLatin1(gbk.data(), qsizetype(gbk.size()));
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
