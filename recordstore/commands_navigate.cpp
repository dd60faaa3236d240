// Record commands that count, append and move the current record.
#include <algorithm>

#include "recordstore/internal/command_support.h"
#include "recordstore/record_commands.h"

namespace tavrin {

using namespace rs;

void GetRecordCount(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kInt, [&](Database& db) {
        int32_t count = 0;
        const int32_t code = ReadRecordCount(db, &count);
        result->lo = code == kOk ? uint32_t(count) : 0;
        return code;
    });
}

void AppendBlankRecord(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) {
        const int32_t code = AppendRecord(db, true);
        if (code == kOk) HoldAppendedRecord(db);  // its fields are written next
        return code;
    });
}

void GoToFirstRecord(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kNone, [&](Database& db) {
        db.current = 0;
        return int32_t(kOk);
    });
}

void SkipRecords(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) -> int32_t {
        const int64_t n = IntegerArgument(argc, argv, 0, 1);
        if (n == 0) return kOk;
        int32_t count = 0;
        if (int32_t code = PeekRecordCount(db, &count); code != kOk) return code;
        if (n > 0) {
            if (count == 0 || db.current >= count) return kAfterLast;
            db.current = int32_t(std::min<int64_t>(int64_t(db.current) + n, count));
        } else {
            if (count == 0 || db.current < 0) return kBeforeFirst;
            db.current = int32_t(std::max<int64_t>(int64_t(db.current) + n, -1));
        }
        AssertCurrentWithin(db, count);
        return kOk;
    });
}

void GoToRecord(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) -> int32_t {
        int32_t count = 0;
        if (int32_t code = PeekRecordCount(db, &count); code != kOk) return code;
        const int64_t n = IntegerArgument(argc, argv, 0, 0);
        db.current = count == 0 ? 0 : int32_t(std::clamp<int64_t>(n - 1, 0, count - 1));
        AssertCurrentWithin(db, count);
        return kOk;
    });
}

void IsPastLastRecord(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kBool, [&](Database& db) {
        int32_t count = 0;
        const int32_t code = PeekRecordCount(db, &count);
        result->lo = code != kOk || count == 0 || db.current >= count;
        return code;
    });
}

}  // namespace tavrin
