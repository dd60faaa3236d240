// Text commands over GBK bytes: lengths and 1-based positions count bytes,
// searches step over double-byte characters, results are fresh blocks (null
// for the empty text).
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// text → int: bytes before the NUL.
void TextLength(Value* result, int32_t argc, const Value* argv);
// text, int n → the first min(n, length) bytes.
void LeftText(Value* result, int32_t argc, const Value* argv);
// text, int start, int n → n bytes from byte position start.
void MidText(Value* result, int32_t argc, const Value* argv);
// text, sought, [int start], [bool ignoreCase] → 1-based position or -1.
void FindText(Value* result, int32_t argc, const Value* argv);
// text → without leading and trailing ASCII and full-width spaces.
void TrimSpaces(Value* result, int32_t argc, const Value* argv);
// text, sought, [replacement], [int start], [int count], bool caseSensitive → text.
void ReplaceText(Value* result, int32_t argc, const Value* argv);
// int n → n spaces.
void SpaceText(Value* result, int32_t argc, const Value* argv);
// text a, text b, bool caseSensitive → negative, 0 or positive.
void CompareText(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin
