// The armed fault plan and the call counters behind FaultBefore(); a power
// cut hands over to the recorder of power_cut.cpp.
#include "internal/file_fault.h"

#include <signal.h>
#include <unistd.h>

namespace tavrin::rs {

namespace detail {
std::atomic<bool> gFaultsArmed{false};
}

namespace {

FaultPlan gPlan;
int64_t gSeen[int(FileCall::kCount)] = {};
bool gFired = false;

bool Changes(FileCall call) {
    return call == FileCall::kWrite || call == FileCall::kTruncate || call == FileCall::kSync ||
           call == FileCall::kRemove;
}

}  // namespace

void ArmFileFault(const FaultPlan& plan) {
    gPlan = plan;
    for (int64_t& n : gSeen) n = 0;
    gFired = false;
    detail::PowerForget();
    detail::gPowerRecording.store(plan.action == FaultAction::kPowerCut && plan.nth > 0);
    detail::gFaultsArmed.store(true);
}

void CountFileCalls() {
    ArmFileFault(FaultPlan{FileCall::kChange, 0, FaultAction::kError, 0});
}

void DisarmFileFault() {
    detail::gFaultsArmed.store(false);
    detail::gPowerRecording.store(false);
    detail::PowerForget();
    gPlan.nth = 0;
}

int64_t FileCallsSeen(FileCall call) {
    return gSeen[int(call)];
}

bool FileFaultFired() {
    return gFired;
}

int detail::FaultBeforeCall(FileCall call) {
    ++gSeen[int(call)];
    if (Changes(call)) ++gSeen[int(FileCall::kChange)];
    if (gFired || gPlan.nth <= 0) return 0;
    const bool matches = gPlan.call == call || (gPlan.call == FileCall::kChange && Changes(call));
    if (!matches || gSeen[int(gPlan.call)] != gPlan.nth) return 0;
    gFired = true;
    switch (gPlan.action) {
        case FaultAction::kKill:
            kill(getpid(), SIGKILL);
            pause();
            return 0;
        case FaultAction::kPowerCut:
            detail::PowerCut(gPlan.loss, gPlan.seed);
        case FaultAction::kShortCount:
            return -1;
        case FaultAction::kError:
            break;
    }
    return gPlan.error;
}

}  // namespace tavrin::rs
