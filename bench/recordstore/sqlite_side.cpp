// The SQLite side of the benchmark, through its C API.
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

#include "bench_data.h"

namespace rsbench {

namespace {

sqlite3* gDb = nullptr;

void Check(int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(gDb));
        std::abort();
    }
}

void Exec(const char* sql) {
    Check(sqlite3_exec(gDb, sql, nullptr, nullptr, nullptr), sql);
}

}  // namespace

void SqliteCreate() {
    std::string path = ScratchDirectory() + "/income.sqlite";
    std::remove(path.c_str());
    Check(sqlite3_open(path.c_str(), &gDb), "open");
    Exec("CREATE TABLE income (category TEXT, amount REAL, at REAL, remark TEXT)");
}

void SqliteInsertAll() {
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(gDb, "INSERT INTO income VALUES (?, ?, ?, ?)", -1, &insert, nullptr),
          "prepare");
    Exec("BEGIN");
    for (int32_t i = 0; i < kRecords; ++i) {
        IncomeRow row = RowAt(i);
        sqlite3_bind_text(insert, 1, row.category.data(), int(row.category.size()), SQLITE_STATIC);
        sqlite3_bind_double(insert, 2, row.amount);
        sqlite3_bind_double(insert, 3, row.when);
        sqlite3_bind_text(insert, 4, row.remark.data(), int(row.remark.size()), SQLITE_STATIC);
        Check(sqlite3_step(insert), "insert");
        sqlite3_reset(insert);
    }
    Exec("COMMIT");
    sqlite3_finalize(insert);
}

int64_t SqliteSelectAll() {
    sqlite3_stmt* select = nullptr;
    Check(sqlite3_prepare_v2(gDb, "SELECT category, amount, at, remark FROM income", -1, &select,
                             nullptr),
          "prepare");
    int64_t bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        bytes += sqlite3_column_bytes(select, 0);
        bytes += int64_t(sqlite3_column_double(select, 1));
        bytes += int64_t(sqlite3_column_double(select, 2));
        bytes += sqlite3_column_bytes(select, 3);
        (void)sqlite3_column_text(select, 0);
        (void)sqlite3_column_text(select, 3);
    }
    sqlite3_finalize(select);
    return bytes;
}

double SqliteSum() {
    sqlite3_stmt* sum = nullptr;
    Check(sqlite3_prepare_v2(gDb, "SELECT SUM(amount) FROM income", -1, &sum, nullptr), "prepare");
    Check(sqlite3_step(sum), "sum");
    double result = sqlite3_column_double(sum, 0);
    sqlite3_finalize(sum);
    return result;
}

int64_t SqliteFindLast() {
    sqlite3_stmt* find = nullptr;
    Check(sqlite3_prepare_v2(gDb, "SELECT rowid FROM income WHERE category = ? LIMIT 1", -1, &find,
                             nullptr),
          "prepare");
    std::string category = LastCategory();
    sqlite3_bind_text(find, 1, category.data(), int(category.size()), SQLITE_STATIC);
    int64_t rowid = sqlite3_step(find) == SQLITE_ROW ? sqlite3_column_int64(find, 0) : -1;
    sqlite3_finalize(find);
    return rowid;
}

void SqliteDeleteTenthAndVacuum() {
    Exec("DELETE FROM income WHERE rowid % 10 = 0");
    Exec("VACUUM");
}

void SqliteClose() {
    sqlite3_close(gDb);
    gDb = nullptr;
}

}  // namespace rsbench
