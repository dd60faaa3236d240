// Texts that go into fixed-width record fields: the width of a text field,
// the cut of a text to it at a whole GBK character, and the remark edit boxes
// limited to the width of the field they fill.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin::finance {

// Width in bytes of a text field of the current database; 0 when it has none.
int32_t TextFieldWidth(const char* gbkField);
// The longest start of a GBK text that fits into `width` bytes without cutting
// a double-byte character in half.
std::string FitToWidth(std::string_view gbk, int32_t width);
// Each side's remark edit box takes no more bytes than its item file's remark
// field holds, so that what a person types is what the record keeps.
void LimitRemarkEdits();

}  // namespace tavrin::finance
