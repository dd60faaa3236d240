// The data both engines hold in the benchmark: a million income records of the
// program's income schema, the same values in both, and a scratch directory.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <string>

namespace rsbench {

constexpr int32_t kRecords = 1000000;

// Record i (0-based): category, amount, date-time and remark (GBK texts). Only
// the last record has the category that FindRecord looks for.
struct IncomeRow {
    std::string category;
    float amount;
    double when;
    std::string remark;
};
IncomeRow RowAt(int32_t i);
std::string LastCategory();  // GBK

// The directory all files of the run live in.
const std::string& ScratchDirectory();

// Peak resident memory so far, in KB.
inline long PeakRssKb() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The SQLite side: one table, no index.
void SqliteCreate();
void SqliteInsertAll();     // prepared INSERTs in one transaction
int64_t SqliteSelectAll();  // the four columns of every row
double SqliteSum();
int64_t SqliteFindLast();  // rowid of the first row of LastCategory()
void SqliteDeleteTenthAndVacuum();
void SqliteClose();

}  // namespace rsbench
