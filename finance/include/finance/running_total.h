// A sum of single-precision amounts kept exactly (TotalIncome, TotalExpense,
// the period and category sums): a fixed-point count of 2^-40 元, so that the
// order of adds, changes and deletes never shows and a total equals what a
// fresh start sums from the file, bit for bit.
#pragma once

namespace tavrin::finance {

class RunningTotal {
  public:
    // A total formed elsewhere (a cleared file) replaces the sum.
    RunningTotal& operator=(float total);
    // Amounts that are not finite count as nothing, as in every sum of the program.
    void add(float amount);
    void remove(float amount);
    void add(const RunningTotal& other);
    RunningTotal operator-(const RunningTotal& other) const;
    bool operator==(const RunningTotal& other) const = default;
    // The exact sum, rounded once to double precision.
    double value() const;
    operator double() const { return value(); }

  private:
    // Every amount from 2^-40 to 2^56 元 in magnitude is held without loss and
    // two billion of them cannot overflow; what lies below 2^-40 is cut off
    // the same way whatever the order.
    __int128 units_ = 0;
};

// An amount as it counts in a total: 0 when it is not a finite number or
// beyond 2^56 元 in magnitude (a file written by another tool may hold one).
float CountedAmount(float amount);
// A double rounded to single precision, held within the finite range.
float ToSingle(double v);

}  // namespace tavrin::finance
