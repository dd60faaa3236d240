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

enum class FaultAction { kError, kShortCount, kKill };

struct FaultPlan {
    FileCall call = FileCall::kChange;
    int64_t nth = 0;  // 1-based; 0 disarms
    FaultAction action = FaultAction::kError;
    int error = 0;  // errno of kError
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
// Returns 0 to go ahead, an errno to fail with, or -1 for a short count.
int FaultBeforeCall(FileCall call);
}  // namespace detail

inline int FaultBefore(FileCall call) {
    if (!detail::gFaultsArmed.load(std::memory_order_relaxed)) return 0;
    return detail::FaultBeforeCall(call);
}

}  // namespace tavrin::rs
