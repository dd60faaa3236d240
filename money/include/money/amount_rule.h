// The rule for an amount that goes into an item file, shared by the program's
// entry fields and the data-file tool's import. It depends on the runtime only,
// so that a tool can link it without the window layers.
#pragma once

#include <string_view>

namespace tavrin::money {

// Amounts are refused from ten million 元 on. Single precision holds every whole
// amount below 2^24 exactly, so an accepted amount keeps its whole 元; the pie
// chart cuts a slice at ten million, so no single item is ever cut there; and a
// text like 400 nines or 1e15, which single precision turns into infinity or
// into an amount the totals cannot add exactly, never reaches a file.
constexpr double kAmountLimit = 10000000.0;

enum class AmountVerdict {
    kAccepted,
    kEmpty,        // nothing but blanks
    kNotPositive,  // not a plain decimal number, or nothing left of it at the cent
    kTooLarge,     // ten million 元 or more
};

// An amount text read as a person typed it (GBK): blanks around it aside, it
// must be a plain decimal number of 元 ("1200", "12.5", ".5", full-width digits
// alike); thousands separators are allowed where they belong ("1,200",
// "1,234,567.89"), so a grouped number is never read as its first group.
struct AmountReading {
    AmountVerdict verdict = AmountVerdict::kEmpty;
    // Accepted: the single-precision value the record holds, the nearest one to
    // the typed amount rounded to the cent (and below the limit).
    float stored = 0;
    // Accepted: the stored value is the typed amount to the cent. From 131,072
    // 元 on single precision cannot hold every cent, and digits below the cent
    // are not kept either; the person must be told before such a value is stored.
    bool exact = false;
};
AmountReading ReadAmount(std::string_view gbkText);

}  // namespace tavrin::money
