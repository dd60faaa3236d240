// Record commands that count, append and move the current record.
#include <algorithm>

#include "internal/command_support.h"
#include "recordstore/record_commands.h"

namespace tavrin {

using namespace rs;

void GetRecordCount(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kInt, [&](Database& db) {
        int32_t count = 0;
        const Code code = ReadRecordCount(db, &count);
        result->lo = code == Code::kOk ? uint32_t(count) : 0;
        return code;
    });
}

void AppendBlankRecord(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) {
        const Code code = AppendRecord(db, true);
        if (code == Code::kOk) HoldAppendedRecord(db);  // its fields are written next
        return code;
    });
}

void GoToFirstRecord(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kNone, [&](Database& db) {
        db.current = 0;
        return Code::kOk;
    });
}

void SkipRecords(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) -> Code {
        const int64_t n = IntegerArgument(argc, argv, 0, 1);
        if (n == 0) return Code::kOk;
        int32_t count = 0;
        if (Code code = PeekRecordCount(db, &count); code != Code::kOk) return code;
        if (n > 0) {
            if (count == 0 || db.current >= count) return Code::kAfterLast;
            db.current = int32_t(std::min<int64_t>(int64_t(db.current) + n, count));
        } else {
            if (count == 0 || db.current < 0) return Code::kBeforeFirst;
            db.current = int32_t(std::max<int64_t>(int64_t(db.current) + n, -1));
        }
        AssertCurrentWithin(db, count);
        return Code::kOk;
    });
}

void GoToRecord(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) -> Code {
        int32_t count = 0;
        if (Code code = PeekRecordCount(db, &count); code != Code::kOk) return code;
        const int64_t n = IntegerArgument(argc, argv, 0, 0);
        db.current = count == 0 ? 0 : int32_t(std::clamp<int64_t>(n - 1, 0, count - 1));
        AssertCurrentWithin(db, count);
        return Code::kOk;
    });
}

void IsPastLastRecord(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kBool, [&](Database& db) {
        int32_t count = 0;
        const Code code = PeekRecordCount(db, &count);
        result->lo = code != Code::kOk || count == 0 || db.current >= count;
        return code;
    });
}

}  // namespace tavrin
