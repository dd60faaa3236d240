// The script watchdog's thread. Arming costs one uncontended lock (and a wake
// only when the thread sleeps without a deadline), so evaluations of a few
// microseconds stay cheap; while an evaluation runs the thread looks at the
// clock and the process's resident size every few milliseconds.
#include "internal/script_watchdog.h"

#include <unistd.h>

#include <QJSEngine>
#include <cstdio>

namespace tavrin::forms {

namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

// Resident bytes of the process (0 when unknown).
size_t ResidentBytes() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    unsigned long size = 0, resident = 0;
    const int read = std::fscanf(f, "%lu %lu", &size, &resident);
    std::fclose(f);
    return read == 2 ? size_t(resident) * size_t(sysconf(_SC_PAGESIZE)) : 0;
}

}  // namespace

ScriptWatchdog::ScriptWatchdog(QJSEngine* engine, std::chrono::milliseconds limit,
                               size_t memoryGrowth)
    : engine_(engine), limit_(limit), memoryGrowth_(memoryGrowth), thread_([this] { run(); }) {}

ScriptWatchdog::~ScriptWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void ScriptWatchdog::arm() {
    std::unique_lock lock(mutex_);
    ++generation_;
    armed_ = true;
    fired_ = false;
    deadline_ = std::chrono::steady_clock::now() + limit_;
    if (idle_) {
        lock.unlock();
        wake_.notify_one();
    }
}

bool ScriptWatchdog::disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
    if (!fired_) return false;
    fired_ = false;
    engine_->setInterrupted(false);
    return true;
}

void ScriptWatchdog::run() {
    std::unique_lock lock(mutex_);
    uint64_t watched = 0;  // the generation whose baseline is known
    size_t baseline = 0;
    while (!stop_) {
        if (!armed_ || fired_) {
            idle_ = true;
            wake_.wait(lock);
            idle_ = false;
            continue;
        }
        if (watched != generation_) {
            watched = generation_;
            lock.unlock();
            baseline = ResidentBytes();
            lock.lock();
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        bool exceeded = now >= deadline_;
        if (!exceeded && memoryGrowth_ > 0) {
            lock.unlock();
            const size_t resident = ResidentBytes();
            lock.lock();
            exceeded = resident > baseline + memoryGrowth_;
        }
        if (exceeded && armed_ && watched == generation_) {
            fired_ = true;
            engine_->setInterrupted(true);
            continue;
        }
        wake_.wait_until(lock, std::min(deadline_, now + kPollInterval));
    }
}

}  // namespace tavrin::forms
