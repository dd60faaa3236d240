// The rule for an amount that goes into an item file, shared by the program's
// entry fields and the data-file tool's import. It depends on the runtime only,
// so that a tool can link it without the window layers.
#pragma once

#include <string_view>

namespace tavrin::finance {

// Amounts are refused from ten million 元 on. Single precision holds every whole
// amount below 2^24 exactly, so an accepted amount keeps its whole 元; the pie
// chart cuts a slice at ten million, so no single item is ever cut there; and a
// text like 400 nines or 1e15, which single precision turns into infinity or
// into an amount the totals cannot add exactly, never reaches a file.
constexpr double kAmountLimit = 10000000.0;

enum class AmountVerdict {
    kAccepted,
    kEmpty,        // nothing but blanks
    kNotPositive,  // not a number above 0.0000001 and below the limit
};

// The verdict on an amount text (GBK) as a person typed it.
AmountVerdict CheckAmount(std::string_view gbkText);
// The single-precision value an accepted text is stored as.
float StoredAmount(std::string_view gbkText);

}  // namespace tavrin::finance
