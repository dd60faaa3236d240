// Argument handling of the record commands.
#include "internal/command_support.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <limits>

#include "runtime/errors.h"
#include "runtime/kernel/kernel_support.h"
#include "runtime/memory.h"

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
    if (field.type == TypeCode::kText) return db.fieldNamed(field.asText(), TextOf(field));
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
    if (record < 0 || db.heldRecord() == record) return Code::kOk;
    if (Code code = db.holdRecord(record); code != Code::kOk) return code;
    PostRelease();
    return Code::kOk;
}

void HoldAppendedRecord(Database& db) {
    db.holdAppendedRecord();
    PostRelease();
}

void ReleaseHeldRecord(Database& db) {
    db.releaseHeldRecord();
}

}  // namespace tavrin::rs
