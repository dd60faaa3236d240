// Argument handling of the record commands.
#include "recordstore/internal/command_support.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <limits>

#include "runtime/errors.h"
#include "runtime/kernel/kernel_support.h"

namespace tavrin::rs {

// Numeric kinds as a double (the kernel's reading); anything else, bool included, 0.
double NumberOf(const Value& v) {
    return IsNumericType(v.type) ? kernel::NumberArg(v) : 0.0;
}

int64_t IntegerOf(const Value& v) {
    switch (v.type) {
        case TypeCode::kByte:
            return uint8_t(v.lo);
        case TypeCode::kShort:
            return int16_t(uint16_t(v.lo));
        case TypeCode::kInt:
            return v.asInt();
        case TypeCode::kLong:
            return v.asLong();
        default:
            break;
    }
    double d = NumberOf(v);
    if (std::isnan(d)) return 0;
    if (d >= 9.2e18) return std::numeric_limits<int64_t>::max();
    if (d <= -9.2e18) return std::numeric_limits<int64_t>::min();
    return int64_t(d);
}

const FieldDescriptor* ResolveField(Database& db, const Value& field) {
    if (field.type == TypeCode::kText) {
        std::string_view name = TextOf(field);
        // Listing and scans name the same few fields with the same texts over and over.
        Database::NameCacheEntry& entry =
            db.nameCache[(reinterpret_cast<uintptr_t>(field.asText()) >> 3) & 7];
        if (db.namesUnique && entry.name == field.asText() &&
            EqualNoCase(db.fields[size_t(entry.field)].name, name)) {
            return &db.fields[size_t(entry.field)];
        }
        for (size_t i = 0; i < db.fields.size(); ++i) {
            if (EqualNoCase(db.fields[i].name, name)) {
                entry = {field.asText(), int32_t(i)};
                return &db.fields[i];
            }
        }
        return nullptr;
    }
    if (!IsNumericType(field.type)) ReportRuntimeError(11);
    int64_t position = IntegerOf(field);
    if (position < 1 || position > int64_t(db.fields.size())) return nullptr;
    return &db.fields[size_t(position - 1)];
}

bool ConditionHolds(const Value& condition) {
    return EvaluateCondition(condition);
}

namespace {

bool gReleasePosted = false;

void ReleaseAllHolds() {
    gReleasePosted = false;
    DatabaseManager& manager = DatabaseManager::instance();
    for (int32_t i = 0; i < manager.size(); ++i) ReleaseHeldRecord(*manager.at(i));
}

// Holds end at the latest when the event loop runs again, after the handler.
void PostRelease() {
    if (gReleasePosted) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() != app->thread()) return;
    gReleasePosted = true;
    QTimer::singleShot(0, app, &ReleaseAllHolds);
}

}  // namespace

Database* CurrentDatabase() {
    Database* db = DatabaseManager::instance().current();
    if (db != nullptr) ReleaseHeldRecord(*db);
    return db;
}

Code HoldRecord(Database& db, int32_t record) {
    if (record < 0 || db.heldRecord == record) return Code::kOk;
    ReleaseHeldRecord(db);
    Code code = db.records.lockByte(db.recordOffset(record), LockWaitTime());
    if (code != Code::kOk) return code;
    db.heldRecord = record;
    db.heldRecordInside = false;
    PostRelease();
    return Code::kOk;
}

void HoldAppendedRecord(Database& db) {
    ReleaseHeldRecord(db);
    db.heldRecord = db.current;
    db.heldRecordInside = true;  // written whole, and held ever since
    PostRelease();
}

void ReleaseHeldRecord(Database& db) {
    if (db.heldRecord < 0) return;
    (void)db.records.unlockByte(db.recordOffset(db.heldRecord));
    db.heldRecord = -1;
    db.heldRecordInside = false;
}

}  // namespace tavrin::rs
