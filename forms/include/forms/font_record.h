// The default GUI font (one with CJK glyphs) and conversions to and from the
// 60-byte font record that templates and font properties carry.
#pragma once

#include <QFont>
#include <string>

namespace tavrin::forms {

QFont DefaultGuiFont();
std::string FontToRecord(const QFont& font);
QFont FontFromRecord(const std::string& record);

}  // namespace tavrin::forms
