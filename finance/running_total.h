// A side's running total (TotalIncome, TotalExpense): shown and compared in
// single precision, but kept as the double sum of the single-precision amounts
// behind it. Adding and taking out amounts one at a time in single precision
// drifts away from the sum a fresh listing forms (a total that once passed
// 10000 comes back as 50.8008 instead of 50.8); the double sum of floats below
// the amount limit is exact, so after any adds, changes and deletes the total
// equals what a fresh start sums from the file.
#pragma once

namespace tavrin::finance {

class RunningTotal {
  public:
    // A total formed elsewhere (a period sum, a cleared file) replaces the sum.
    RunningTotal& operator=(float total);
    // The double sum of a whole file, before its rounding to single precision.
    void setSum(double sum);
    // Amounts that are not finite count as nothing, as in every sum of the program.
    void add(float amount);
    void remove(float amount);
    // Rounded to single precision; never infinite or NaN.
    operator float() const;

  private:
    double sum_ = 0;
};

// An amount as it counts in a total: 0 when it is not a finite number (a file
// written by another tool may hold one).
float CountedAmount(float amount);
// A double rounded to single precision, held within the finite range.
float ToSingle(double v);

}  // namespace tavrin::finance
