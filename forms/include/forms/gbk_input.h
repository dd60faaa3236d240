// Text input a person makes in any line edit of the program's windows: the
// texts are stored as GBK, so a character GBK cannot hold is refused with a word.
#pragma once

#include <QString>
#include <cstdint>

class QLineEdit;

namespace tavrin::forms {

// The text without the characters GBK cannot hold; the first of them (its code
// point) in *firstRefused, 0 when none was.
QString WithoutCharactersOutsideGbk(const QString& text, char32_t* firstRefused);

// What the person types or pastes into `edit` loses the characters GBK cannot
// hold, with one message per edit naming the first of them, and is cut at
// `maxBytes` GBK bytes (0: no limit). Text the program sets is left alone.
void GuardLineInput(QLineEdit* edit, int32_t maxBytes);

}  // namespace tavrin::forms
