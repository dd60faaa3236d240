// Fault injection for the file layer, compiled into every build behind one
// switch: a test arms a countdown to the Nth call of one kind, which then fails
// with a chosen errno, moves fewer bytes than asked, or kills the process
// before the call is made. Unarmed, each file call costs one relaxed load.
#pragma once

#include <atomic>
#include <cstdint>

namespace tavrin::rs {

enum class FileCall : int {
    kOpen,
    kRead,
    kWrite,
    kTruncate,
    kLock,
    kSync,
    kRemove,
    kChange,  // as a target: any write, truncate, sync or remove
    kCount
};

// kPowerCut: the disk keeps only what was synced, and of the rest what the
// loss leaves (power_cut.h), then the process is killed.
enum class FaultAction { kError, kShortCount, kKill, kPowerCut };

// What a power cut drops of the writes no sync made durable: every unsynced
// 4 KiB page, size change and directory entry; none of them; or a choice made
// by a seeded generator, each independently.
enum class PowerLoss { kAll, kNone, kRandom };

struct FaultPlan {
    FileCall call = FileCall::kChange;
    int64_t nth = 0;  // 1-based; 0 disarms
    FaultAction action = FaultAction::kError;
    int error = 0;                     // errno of kError
    PowerLoss loss = PowerLoss::kAll;  // of kPowerCut
    uint64_t seed = 0;                 // of PowerLoss::kRandom
};

// Arms the plan and zeroes the call counters.
void ArmFileFault(const FaultPlan& plan);
void DisarmFileFault();
// Calls of the kind since arming (kChange: all changing calls); counts also
// while armed with nth 0 through CountFileCalls().
int64_t FileCallsSeen(FileCall call);
void CountFileCalls();
bool FileFaultFired();

namespace detail {
extern std::atomic<bool> gFaultsArmed;
// Set while a power cut is armed: the file layer then tells the recorder of
// every write, size change, sync, creation and removal.
extern std::atomic<bool> gPowerRecording;
void PowerOpened(int fd, const char* nativePath, bool created);
void PowerBeforeWrite(int fd, uint64_t off, uint64_t n);
void PowerBeforeTruncate(int fd, uint64_t length);
void PowerSynced(int fd);
void PowerBeforeRemove(const char* nativePath);
void PowerDirectorySynced(const char* nativeDirectory);
void PowerClosed(int fd);
// Applies the plan's loss to the files on disk and kills the process.
[[noreturn]] void PowerCut(PowerLoss loss, uint64_t seed);
void PowerForget();
// Returns 0 to go ahead, an errno to fail with, or -1 for a short count.
int FaultBeforeCall(FileCall call);
}  // namespace detail

inline int FaultBefore(FileCall call) {
    if (!detail::gFaultsArmed.load(std::memory_order_relaxed)) return 0;
    return detail::FaultBeforeCall(call);
}

}  // namespace tavrin::rs
