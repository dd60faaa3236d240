// The record whose lock byte the field commands keep between commands on it,
// so that the fields of one record cost one lock, not one each.
#include "internal/record_file.h"

namespace tavrin::rs {

Code Database::holdRecord(int32_t record) {
    assert(record >= 0);
    if (heldRecord_ == record) return Code::kOk;
    releaseHeldRecord();
    if (Code code = records.lockByte(recordOffset(record), LockWaitTime()); code != Code::kOk) {
        return code;
    }
    heldRecord_ = record;
    heldRecordInside_ = false;
    return Code::kOk;
}

void Database::holdAppendedRecord() {
    releaseHeldRecord();
    heldRecord_ = current;
    heldRecordInside_ = true;  // written whole, and held ever since
}

void Database::releaseHeldRecord() {
    if (heldRecord_ < 0) return;
    // Letting go cannot fail the command that moves on; a byte whose unlock
    // failed is still let go when the file is closed.
    (void)records.unlockByte(recordOffset(heldRecord_));
    heldRecord_ = -1;
    heldRecordInside_ = false;
}

}  // namespace tavrin::rs
