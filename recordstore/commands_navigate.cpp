// Record commands that count, append and move the current record.
#include <algorithm>

#include "recordstore/command_support.h"
#include "recordstore/record_commands.h"

namespace tavrin {

using namespace rs;

void GetRecordCount(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kInt;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = kNoCurrentDatabase;
        return;
    }
    int32_t count = 0;
    code = ReadRecordCount(*db, &count);
    result->lo = code.ok() ? uint32_t(count) : 0;
}

void AppendBlankRecord(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    Database* db = CurrentDatabase();
    code = db == nullptr ? int32_t(kNoCurrentDatabase) : AppendRecord(*db, true);
    if (code.ok()) HoldAppendedRecord(*db);  // its fields are written next
    result->lo = code.ok();
}

void GoToFirstRecord(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = kNoCurrentDatabase;
        return;
    }
    db->current = 0;
}

void SkipRecords(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = kNoCurrentDatabase;
        return;
    }
    const int64_t n = IntegerArgument(argc, argv, 0, 1);
    if (n == 0) {
        result->lo = 1;
        return;
    }
    int32_t count = 0;
    if (code = PeekRecordCount(*db, &count); !code.ok()) return;
    if (n > 0) {
        if (count == 0 || db->current >= count) {
            code = kAfterLast;
            return;
        }
        db->current = int32_t(std::min<int64_t>(int64_t(db->current) + n, count));
    } else {
        if (count == 0 || db->current < 0) {
            code = kBeforeFirst;
            return;
        }
        db->current = int32_t(std::max<int64_t>(int64_t(db->current) + n, -1));
    }
    result->lo = 1;
}

void GoToRecord(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = kNoCurrentDatabase;
        return;
    }
    int32_t count = 0;
    if (code = PeekRecordCount(*db, &count); !code.ok()) return;
    const int64_t n = IntegerArgument(argc, argv, 0, 0);
    db->current = count == 0 ? 0 : int32_t(std::clamp<int64_t>(n - 1, 0, count - 1));
    result->lo = 1;
}

void IsPastLastRecord(Value* result, int32_t argc, const Value* argv) {
    CommandCode code;
    result->type = TypeCode::kBool;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = kNoCurrentDatabase;
        return;
    }
    int32_t count = 0;
    code = PeekRecordCount(*db, &count);
    result->lo = !code.ok() || count == 0 || db->current >= count;
}

}  // namespace tavrin
