// The default GUI font and the 60-byte font record of templates and properties.
#include "forms/font_record.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "forms/template_format.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

QFont DefaultGuiFont() {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPointSize(9);
    return f;
}

std::string FontToRecord(const QFont& font) {
    std::string rec(kFontRecordSize, '\0');
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&rec[at], &v, 4); };
    const double points =
        font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    put32(FontField::kHeight, -int32_t(std::lround(points * 96.0 / 72.0)));
    put32(FontField::kWeight, font.bold() ? 700 : 400);
    rec[FontField::kItalic] = font.italic() ? 1 : 0;
    rec[FontField::kUnderline] = font.underline() ? 1 : 0;
    rec[FontField::kStrikeOut] = font.strikeOut() ? 1 : 0;
    rec[FontField::kCharSet] = char(134);
    std::string face = QStringToGbk(font.family());
    if (face.size() > 31) face.resize(31);
    std::memcpy(&rec[FontField::kFaceName], face.data(), face.size());
    return rec;
}

QFont FontFromRecord(const std::string& record) {
    if (record.size() < kFontRecordSize) return DefaultGuiFont();
    auto get32 = [&](size_t at) {
        int32_t v;
        std::memcpy(&v, &record[at], 4);
        return v;
    };
    const char* face = record.data() + FontField::kFaceName;
    std::string faceGbk(face, strnlen(face, FontField::kFaceNameSize));
    QFont f(faceGbk.empty() ? DefaultGuiFont().family() : GbkToQString(faceGbk));
    int32_t height = get32(FontField::kHeight);
    int points = height < 0   ? int(std::lround(-height * 72.0 / 96.0))
                 : height > 0 ? int(std::lround(height * 72.0 / 96.0))
                              : 9;
    f.setPointSize(std::max(1, points));
    f.setBold(get32(FontField::kWeight) >= 700);
    f.setItalic(record[FontField::kItalic] != 0);
    f.setUnderline(record[FontField::kUnderline] != 0);
    f.setStrikeOut(record[FontField::kStrikeOut] != 0);
    return f;
}

}  // namespace tavrin::forms
