// The locks one open database holds on one of its files: single bytes with a
// nesting count each, and the nested whole-file lock split around held bytes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "internal/file_posix.h"
#include "recordstore/error_codes.h"

namespace tavrin::rs {

class LockedFile {
  public:
    PosixFile file;
    // Set for a record file opened with exclusive or deny-read sharing: nobody else
    // can reach the file, so every lock is granted without touching it.
    bool skipLocks = false;

    // Locks one byte, retrying within waitMs; a byte already held only nests deeper.
    Code lockByte(uint64_t off, int32_t waitMs);
    // Undoes one lockByte; kUnlockFailed when the byte is not held.
    Code unlockByte(uint64_t off);
    // Locks [0, 0x7FFFFFFF) around the bytes already held; nested per call.
    Code lockWhole(int32_t waitMs);
    Code unlockWhole();
    // Forgets every lock (the file is about to be closed, which drops them).
    void forgetAll();
    int32_t heldCount() const { return int32_t(held_.size()); }

  private:
    std::vector<std::pair<uint64_t, uint64_t>> rangesAroundHeld() const;
    size_t find(uint64_t off) const;

    std::vector<std::pair<uint64_t, int32_t>> held_;  // offset, extra nesting
    int32_t wholeNesting_ = 0;
};

// Holds one byte lock for a scope (the caller checks ok()).
class ByteLock {
  public:
    ByteLock(LockedFile& f, uint64_t off, int32_t waitMs) : f_(f), off_(off) {
        code_ = f_.lockByte(off, waitMs);
    }
    // A failed unlock cannot be reported from here; the byte's lock goes with
    // the file at the latest, and the nesting count is undone either way.
    ~ByteLock() {
        if (code_ == Code::kOk && !kept_) (void)f_.unlockByte(off_);
    }
    // Leaves the byte locked for the caller, who unlocks it later.
    void keep() { kept_ = true; }
    ByteLock(const ByteLock&) = delete;
    ByteLock& operator=(const ByteLock&) = delete;
    Code code() const { return code_; }

  private:
    LockedFile& f_;
    uint64_t off_;
    Code code_;
    bool kept_ = false;
};

// Holds the whole-file lock for a scope.
class WholeLock {
  public:
    WholeLock(LockedFile& f, int32_t waitMs) : f_(f) { code_ = f_.lockWhole(waitMs); }
    // As with ByteLock: nothing to report to, and the nesting is undone anyway.
    ~WholeLock() {
        if (code_ == Code::kOk) (void)f_.unlockWhole();
    }
    WholeLock(const WholeLock&) = delete;
    WholeLock& operator=(const WholeLock&) = delete;
    Code code() const { return code_; }

  private:
    LockedFile& f_;
    Code code_;
};

}  // namespace tavrin::rs
