// Lock bookkeeping per open file. POSIX merges and splits lock ranges of one
// open file, so a byte inside a held whole-file range must never be unlocked
// on its own: while the whole-file lock is held, byte locks only count.
#include "internal/lock_table.h"

#include <algorithm>
#include <cassert>

#include "recordstore/error_codes.h"

namespace tavrin::rs {

size_t LockedFile::find(uint64_t off) const {
    for (size_t i = 0; i < held_.size(); ++i) {
        if (held_[i].first == off) return i;
    }
    return held_.size();
}

Code LockedFile::lockByte(uint64_t off, int32_t waitMs) {
    size_t i = find(off);
    if (i < held_.size()) {
        ++held_[i].second;
        return Code::kOk;
    }
    if (!skipLocks && wholeNesting_ == 0) {
        Code code = RetryWhileBusy(waitMs, [&] { return file.lockRange(off, 1); });
        if (code != Code::kOk) return code;
    }
    held_.emplace_back(off, 0);
    return Code::kOk;
}

Code LockedFile::unlockByte(uint64_t off) {
    size_t i = find(off);
    if (i == held_.size()) return Code::kUnlockFailed;
    assert(held_[i].second >= 0);
    if (held_[i].second > 0) {
        --held_[i].second;
        return Code::kOk;
    }
    held_.erase(held_.begin() + ptrdiff_t(i));
    // Under the whole-file lock the byte stays covered until that lock ends.
    if (skipLocks || wholeNesting_ > 0) return Code::kOk;
    Code code = file.unlockRange(off, 1);
    return code == Code::kOk ? Code::kOk : Code::kUnlockFailed;
}

std::vector<std::pair<uint64_t, uint64_t>> LockedFile::rangesAroundHeld() const {
    std::vector<uint64_t> bytes;
    for (auto& h : held_) {
        if (h.first < kWholeFileLength) bytes.push_back(h.first);
    }
    std::sort(bytes.begin(), bytes.end());
    std::vector<std::pair<uint64_t, uint64_t>> ranges;  // offset, length
    uint64_t start = 0;
    for (uint64_t b : bytes) {
        if (b > start) ranges.emplace_back(start, b - start);
        start = b + 1;
    }
    if (start < kWholeFileLength) ranges.emplace_back(start, kWholeFileLength - start);
    return ranges;
}

Code LockedFile::lockWhole(int32_t waitMs) {
    assert(wholeNesting_ >= 0);
    if (wholeNesting_ > 0 || skipLocks) {
        ++wholeNesting_;
        return Code::kOk;
    }
    auto ranges = rangesAroundHeld();
    for (size_t i = 0; i < ranges.size(); ++i) {
        const uint64_t off = ranges[i].first, len = ranges[i].second;
        Code code = RetryWhileBusy(waitMs, [&] { return file.lockRange(off, len); });
        if (code != Code::kOk) {
            // The caller hears why the lock failed; giving back what was
            // taken is all that is left to do, and a failure there changes nothing.
            for (size_t j = 0; j < i; ++j) {
                (void)file.unlockRange(ranges[j].first, ranges[j].second);
            }
            return code;
        }
    }
    wholeNesting_ = 1;
    return Code::kOk;
}

Code LockedFile::unlockWhole() {
    assert(wholeNesting_ >= 0);
    if (wholeNesting_ == 0) return Code::kUnlockFailed;
    if (--wholeNesting_ > 0 || skipLocks) return Code::kOk;
    // Bytes locked during the whole-file lock and still held keep their lock.
    Code result = Code::kOk;
    for (auto [off, len] : rangesAroundHeld()) {
        if (file.unlockRange(off, len) != Code::kOk) result = Code::kUnlockFailed;
    }
    return result;
}

void LockedFile::forgetAll() {
    held_.clear();
    wholeNesting_ = 0;
}

}  // namespace tavrin::rs
