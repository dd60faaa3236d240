// Emptying both item files after a question (a backup pair first), the
// time-stamped backup copies, and the daily automatic pair.
#pragma once

#include <functional>
#include <string>

namespace tavrin::finance {

void ClearAllData();
void BackupDataFiles();

// Finishes what a backup or restore ended in the middle of left behind; runs
// at start before the item files are read.
void RecoverBackups();
// Once the main window shows: the day's automatic pair when there is none yet,
// and the automatic pairs beyond the newest ten removed.
void ScheduleDailyBackup();
// Automatic pairs kept.
constexpr size_t kAutomaticBackupsKept = 10;

// The clock the backup names come from (days since 1899-12-30); tests set one.
void SetBackupClock(std::function<double()> now);
double BackupClock();
// The program directory (GBK).
std::string ProgramDirectoryGbk();

}  // namespace tavrin::finance
