// The one way an amount of money becomes text: list cells, the amount box,
// totals, pie legends, printed cells and exported rows all show the same text
// for the same stored amount.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tavrin::money {

// An amount rounded to whole cents (half away from zero); nullopt when it is
// not a finite number or too large for a count of cents.
std::optional<int64_t> ToCents(double amount);

// "12345.67", "1234567", "0.5", "-3.2": the amount rounded to the cent, trailing
// zeros dropped, never an exponent. A value that is not finite reads "0".
std::string MoneyText(double amount);
// The same text written to `out` (at least kMoneyTextMax bytes, no NUL), its
// length returned: a listing writes one for every row and allocates nothing.
constexpr size_t kMoneyTextMax = 24;
size_t WriteMoneyText(double amount, char* out);

// A total as the status bar and the pie legend show it (GBK): to the cent,
// in 万元 from ten thousand 元 in magnitude on ("4.602345万元", "-2万元"),
// else in 元 ("5292.3元").
std::string MoneyTotalText(double amount);

}  // namespace tavrin::money
