// The file layer: one open file on POSIX with positioned reads and writes,
// open-file-description byte-range locks, and the sharing modes emulated across
// processes. Every routine returns an engine code; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "recordstore/error_codes.h"

namespace tavrin::rs {

// Sharing as OpenDatabase numbers it: 1 others may read and write, 2 others may
// not read, 3 others may not write, anything else exclusive.
enum class Sharing { kDenyNone, kDenyRead, kDenyWrite, kExclusive };
Sharing SharingFromArgument(int32_t argument);
// Exclusive and deny-read sharing make the record-file locks unnecessary.
inline bool SharingSkipsLocks(Sharing s) {
    return s == Sharing::kExclusive || s == Sharing::kDenyRead;
}

// The reserved bytes that carry the sharing modes lie beyond every lock range
// the engine uses ([0, 0x7FFFFFFF)).
constexpr uint64_t kWholeFileLength = 0x7FFFFFFF;
constexpr uint64_t kSharingBytes = 0x80000000ull;

// Maps an errno value to the engine's file error code.
Code CodeOfErrno(int error);

class PosixFile {
  public:
    PosixFile() = default;
    ~PosixFile() { close(); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    // Opens (or with create, creates and then empties) a file whose name is
    // already in the system's encoding. The sharing is checked before anything is
    // changed: a file in use by an incompatible opener yields Code::kSharingViolation and is
    // untouched.
    Code open(const std::string& nativePath, bool write, Sharing sharing, bool create);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Reads up to n bytes at off; *got receives how many were read (fewer at the end).
    Code readAt(uint64_t off, void* buffer, size_t n, size_t* got) const;
    Code writeAt(uint64_t off, const void* buffer, size_t n) const;
    Code size(uint64_t* out) const;
    Code truncate(uint64_t length) const;
    // fdatasync: what was written so far survives a power cut. Closing a file
    // that was written does this on its own.
    Code syncData() const;
    // Asks the disk to start writing [off, off + len) now, so that a sync
    // later waits less; a hint only, what is durable is still up to the sync.
    void startWriteback(uint64_t off, uint64_t len) const;
    // Device and inode: the same file under any name.
    Code identity(uint64_t* device, uint64_t* inode) const;

    // One attempt at an exclusive lock of [off, off + len); Code::kLockViolation when another open
    // file holds part of it. A file system without locks grants every lock.
    Code lockRange(uint64_t off, uint64_t len) const;
    Code unlockRange(uint64_t off, uint64_t len) const;

  private:
    Code claimSharing(bool write, Sharing sharing) const;

    int fd_ = -1;
    bool writable_ = false;
    mutable bool written_ = false;  // since opening; closing then syncs
};

// Removes a file (a missing one counts as removed).
Code RemoveFile(const std::string& nativePath);
// Makes the creation or removal of a file in the path's directory durable.
Code SyncDirectoryOf(const std::string& nativePath);

// The process-wide lock wait time in ms: 0 fail at once (the default), -1 retry
// for ever, otherwise how long since the first attempt retries may go on.
int32_t LockWaitTime();
void SetLockWaitTime(int32_t ms);

// Runs attempt() until it succeeds, fails with something other than a sharing or
// lock violation, or the wait time is used up; pauses 20-39 ms between tries.
template <typename Attempt>
Code RetryWhileBusy(int32_t waitMs, Attempt attempt);

// Milliseconds since system start (the monotonic clock).
uint64_t TickCount();
void PauseBeforeRetry();

template <typename Attempt>
Code RetryWhileBusy(int32_t waitMs, Attempt attempt) {
    Code code = attempt();
    if (!IsBusy(code) || waitMs == 0) return code;
    // The clock is read only once the first attempt has failed.
    const uint64_t start = TickCount();
    for (;;) {
        if (waitMs > 0 && TickCount() - start >= uint64_t(waitMs)) return code;
        PauseBeforeRetry();
        code = attempt();
        if (!IsBusy(code)) return code;
    }
}

}  // namespace tavrin::rs
