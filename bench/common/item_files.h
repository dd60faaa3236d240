// The finance program's data files written straight through the record
// commands, as the benchmarks and screenshot tools start from them: the item
// file of a side (category, amount, time, remark) and its category file, in
// the program directory that is current.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

enum class Side { kIncome, kExpense };

// One item, by the places of its texts in the lists handed to WriteItemFile.
struct ItemRow {
    size_t category = 0;
    float amount = 0;
    double time = 0;  // days since 1899-12-30
    size_t remark = 0;
};

// Creates the side's item file (replacing one that is there) and appends
// `count` items, item i as `item(i)` describes it. Texts are UTF-8.
void WriteItemFile(Side side, const std::vector<std::string>& categories,
                   const std::vector<std::string>& remarks, int count,
                   const std::function<ItemRow(int)>& item);

// Creates the side's category file holding the texts in order.
void WriteCategoryFile(Side side, const std::vector<std::string>& categories);

}  // namespace bench
