// Record commands over many records: marking, packing, emptying, finding and
// summing. Scans read chunks through one buffer under the whole-database lock
// and make each record the scan record while its condition is evaluated.
#include "internal/command_support.h"
#include "internal/field_readings.h"
#include "recordstore/record_commands.h"
#include "runtime/errors.h"

namespace tavrin {

using namespace rs;

namespace {

// Scans every record under the whole-database lock.
Code ScanAll(Database& db, const RecordVisitor& visit) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    int32_t count = 0;
    if (Code code = ReadRecordCount(db, &count); code != Code::kOk) return code;
    return ScanRecords(db, 0, count, visit);
}

}  // namespace

void DeleteRecord(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [&](Database& db) -> Code {
        if (!Present(argc, argv, 0)) return MarkRecord(db, db.current, true);
        const Value condition = argv[0];
        ScanScope scope(db);
        return ScanAll(db, [&](const uint8_t* record, int32_t index) -> ScanStep {
            scope.visit(record, index);
            bool holds = ConditionHolds(condition);
            scope.leave();
            const int32_t tag = GetI32(record);
            if (!holds || tag <= 0) return ScanStep::GoOn();
            uint8_t negated[4];
            PutI32(negated, -tag);
            return db.records.file.writeAt(db.recordOffset(index), negated, 4);
        });
    });
}

void PackDatabase(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [](Database& db) { return PackRecords(db); });
}

void EmptyDatabase(Value* result, int32_t argc, const Value* argv) {
    SucceedOnCurrentDatabase(result, [](Database& db) { return EmptyRecords(db); });
}

void FindRecord(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kBool, [&](Database& db) -> Code {
        const Value condition = argc > 0 ? argv[0] : Value{};
        // The header lock is held for the whole search, so no append slips in.
        ByteLock header(db.records, kHeaderCount, HeaderLockWait());
        if (header.code() != Code::kOk) return header.code();
        int32_t count = 0;
        if (Code code = ReadRecordCount(db, &count); code != Code::kOk) return code;
        const int32_t start = db.current < 0 ? 0 : db.current;
        if (count == 0 || start >= count) return Code::kOk;
        int32_t found = -1;
        Code code = Code::kOk;
        {
            ScanScope scope(db);
            WholeLock whole(db.records, LockWaitTime());
            if (whole.code() != Code::kOk) return whole.code();
            // A search by one text field compares the record images directly.
            const DirectTextMatch direct = DirectTextMatch::Recognise(db, condition);
            code = ScanRecords(db, start, count,
                               [&](const uint8_t* record, int32_t index) -> ScanStep {
                                   if (direct) {
                                       if (!direct.holds(record)) return ScanStep::GoOn();
                                   } else {
                                       scope.visit(record, index);
                                       if (!ConditionHolds(condition)) return ScanStep::GoOn();
                                   }
                                   found = index;
                                   return ScanStep::Stop();
                               });
        }
        if (code == Code::kOk && found >= 0) {
            db.current = found;
            AssertCurrentWithin(db, count);
            result->lo = 1;
        }
        return code;
    });
}

void SumRecords(Value* result, int32_t argc, const Value* argv) {
    OnCurrentDatabase(result, TypeCode::kDouble, [&](Database& db) {
        const Value expression = argc > 0 ? argv[0] : Value{};
        const bool conditional = Present(argc, argv, 1);
        const Value condition = conditional ? argv[1] : Value{};
        double sum = 0.0;
        Code code = Code::kOk;
        {
            ScanScope scope(db);
            // A sum of one number field reads it from the record images directly.
            const DirectNumber direct = DirectNumber::Recognise(db, expression);
            if (direct && direct.isFloating() && !conditional) {
                code = ScanAll(db, [&](const uint8_t* record, int32_t) -> ScanStep {
                    sum += direct.numberOf(record);
                    return ScanStep::GoOn();
                });
            } else {
                code = ScanAll(db, [&](const uint8_t* record, int32_t index) -> ScanStep {
                    scope.visit(record, index);
                    if (conditional && !ConditionHolds(condition)) return ScanStep::GoOn();
                    Value v = direct ? direct.valueOf(record) : EvaluateDeferred(expression);
                    if (!IsNumericType(v.type)) {
                        SetLastDatabaseError(Code::kExpressionKind);
                        ReportRuntimeError(11);
                    }
                    sum += NumberOf(v);
                    return ScanStep::GoOn();
                });
            }
        }
        *result = MakeDouble(code == Code::kOk ? sum : 0.0);
        return code;
    });
}

}  // namespace tavrin
