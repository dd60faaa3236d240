// A watchdog thread for one script engine: while an evaluation is armed it
// interrupts the engine once the time limit has passed or the process has
// grown by more than the memory limit since the evaluation began.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class QJSEngine;

namespace tavrin::forms {

class ScriptWatchdog {
  public:
    ScriptWatchdog(QJSEngine* engine, std::chrono::milliseconds limit, size_t memoryGrowth);
    ~ScriptWatchdog();
    ScriptWatchdog(const ScriptWatchdog&) = delete;
    ScriptWatchdog& operator=(const ScriptWatchdog&) = delete;

    // Brackets one evaluation. disarm() is true when the watchdog interrupted
    // it; the engine's interrupt flag is cleared again before it returns.
    void arm();
    bool disarm();

  private:
    void run();

    QJSEngine* engine_;
    const std::chrono::milliseconds limit_;
    const size_t memoryGrowth_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool armed_ = false;
    bool idle_ = true;    // the thread waits for an evaluation (not timed)
    bool fired_ = false;  // the current evaluation was interrupted
    uint64_t generation_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;  // last: started once every member above exists
};

}  // namespace tavrin::forms
