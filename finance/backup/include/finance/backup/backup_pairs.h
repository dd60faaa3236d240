// Backup pairs of the two item files: making one (by hand, before a clearing,
// or once a day), reading what each holds, removing old daily ones, and
// putting one back in place of the item files. No windows: the program and the
// data-file tool both work through these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "finance/backup/backup_names.h"

namespace tavrin::backup {

enum class Failure {
    kNone,
    kBusy,         // another program is using the file, or the directory's backups
    kCannotWrite,  // a copy could not be written whole (disk full, no permission, a folder)
    kDamaged,      // a backup file that does not read as a whole item file
    kMissing,      // no backup of that name
};

struct Outcome {
    Failure failure = Failure::kNone;
    std::string file;  // the file concerned, a name in the directory (GBK)
    int error = 0;     // its errno, or the engine's code
    bool ok() const { return failure == Failure::kNone; }
};

// An item file (or a copy) read whole.
struct SideSummary {
    bool present = false;
    bool whole = false;  // it opened read-only and every record read
    int32_t records = 0;
    double total = 0;  // the exact sum of its finite amounts
};
SideSummary ReadItemFile(const std::string& gbkPath, int side);

struct PairSummary {
    PairName name;
    std::array<SideSummary, kSides> sides;
    // A side it has that does not read whole: such a pair is never put back.
    bool damaged() const;
};
// Every pair in the directory, newest first, each read whole; what an ended
// backup or restore left behind is finished first.
std::vector<PairSummary> ListBackups(const std::string& gbkDir, int32_t waitMs);

struct BackupResult {
    std::string key;  // the pair made (empty when nothing was made)
    std::array<Outcome, kSides> sides;
    bool ok() const { return sides[0].ok() && sides[1].ok(); }
};
// Copies both item files of the directory into the pair of the moment `now`.
// Each copy is taken under its file's lock (waiting up to waitMs for another
// program's write), written under a temporary name, synced, read back whole
// and only then renamed, both renames as one. A missing item file has no copy
// and is no failure; one that cannot be read as a record file at all is kept
// as it is. An automatic pair is not made while both item files are empty.
BackupResult MakeBackup(const std::string& gbkDir, double now, Kind kind, int32_t waitMs);

// True when an automatic pair of the day of `now` is there.
bool HasAutomaticBackupOn(const std::string& gbkDir, double now);
// Removes the automatic pairs beyond the newest `keep`; the person's own never.
void RemoveOldAutomaticBackups(const std::string& gbkDir, size_t keep);

struct RestoreResult {
    Outcome outcome;
    std::string safetyKey;  // the pair the item files were saved to first
};
// Puts the pair `gbkKey` back as the item files. The pair is read whole first
// (a damaged one changes nothing); the item files are held so that no one
// else has them open; they are saved as a pair of their own; then copies of
// the backup replace them, both renames as one.
RestoreResult RestoreBackup(const std::string& gbkDir, const std::string& gbkKey, double now,
                            int32_t waitMs);

// Finishes what a backup or restore ended in the middle of left behind: all of
// its renames when it had committed to them, none otherwise. Run before the
// item files are read at start.
void RecoverBackupDirectory(const std::string& gbkDir, int32_t waitMs);

}  // namespace tavrin::backup
