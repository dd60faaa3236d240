// The amount rule: the typed decimal read exactly into cents, then the nearest
// single-precision value, so that what is checked is what the record will hold.
#include "money/amount_rule.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "money/money_text.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/text_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::money {

using namespace tavrin;

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits of a whole part, with or without thousands separators; false when
// a separator is out of place ("1,20", ",200", "1,,200") or a character is not
// a digit. Blank when empty.
bool WholeDigits(std::string_view text, std::string* digits) {
    if (text.find(',') == std::string_view::npos) {
        for (char c : text)
            if (!IsDigit(c)) return false;
        *digits = text;
        return true;
    }
    // One to three digits, then groups of a separator and exactly three digits.
    const size_t first = text.find(',');
    if (first == 0 || first > 3 || (text.size() - first) % 4 != 0) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool separatorPlace = i >= first && (i - first) % 4 == 0;
        if (separatorPlace ? text[i] != ',' : !IsDigit(text[i])) return false;
        if (!separatorPlace) digits->push_back(text[i]);
    }
    return true;
}

}  // namespace

AmountReading ReadAmount(std::string_view gbkText) {
    AmountReading reading;
    const std::string text(gbkText);
    const std::string trimmed = TakeText(CallKernel(TrimSpaces, MakeTextRef(text.c_str())));
    if (trimmed.empty()) return reading;
    reading.verdict = AmountVerdict::kNotPositive;
    const std::string folded = FoldFullWidth(trimmed);
    const size_t point = folded.find('.');
    const std::string_view whole = std::string_view(folded).substr(0, point);
    const std::string_view fraction = point == std::string::npos
                                          ? std::string_view()
                                          : std::string_view(folded).substr(point + 1);
    std::string wholeDigits;
    if (!WholeDigits(whole, &wholeDigits)) return reading;
    if (whole.find(',') != std::string_view::npos && wholeDigits.empty()) return reading;
    for (char c : fraction)
        if (!IsDigit(c)) return reading;
    if (wholeDigits.empty() && fraction.empty()) return reading;  // "." alone

    // The whole 元 as a number, any amount of ten million or more as the limit.
    int64_t yuan = 0;
    for (char c : wholeDigits) {
        yuan = yuan * 10 + (c - '0');
        if (yuan >= int64_t(kAmountLimit)) {
            reading.verdict = AmountVerdict::kTooLarge;
            return reading;
        }
    }
    // Cents from the first two decimals, rounded half up by the third; any
    // nonzero digit beyond the cent means the typed amount is not kept as typed.
    int64_t cents = yuan * 100;
    bool belowTheCent = false;
    for (size_t i = 0; i < fraction.size(); ++i) {
        const int digit = fraction[i] - '0';
        if (i == 0) cents += 10 * digit;
        if (i == 1) cents += digit;
        if (i == 2 && digit >= 5) cents += 1;
        if (i >= 2 && digit != 0) belowTheCent = true;
    }
    if (cents <= 0) return reading;

    // The nearest single-precision value to the cents, read from their decimal
    // text, which rounds once and correctly; just below the limit the nearest
    // one may be the limit itself, and the next lower value is taken instead.
    char decimal[32];
    const size_t length = WriteMoneyText(double(cents) / 100.0, decimal);
    float stored = 0;
    std::from_chars(decimal, decimal + length, stored);
    const float limit = float(kAmountLimit);
    if (stored >= limit) stored = std::nextafter(limit, 0.0f);
    reading.verdict = AmountVerdict::kAccepted;
    reading.stored = stored;
    reading.exact = !belowTheCent && ToCents(double(stored)) == cents;
    return reading;
}

}  // namespace tavrin::money
