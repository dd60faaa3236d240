// Emptying both item files after a question, and time-stamped backup copies.
#pragma once

#include <functional>

namespace tavrin::finance {

void ClearAllData();
void BackupDataFiles();

// The clock the backup names come from (days since 1899-12-30); tests set one.
void SetBackupClock(std::function<double()> now);

}  // namespace tavrin::finance
