// Files that are whole or absent: copies written under a temporary name and
// synced, and a set of renames made durable as one through a journal that the
// next look at the directory finishes. The platform part of the backups.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin::backup {

// Test hook, compiled in: called with the step's name before every step that
// changes the disk (a block written, a sync, a rename, a removal), so that a
// test can end the process at each one. Unset, a step costs one load.
void SetStepHook(void (*hook)(const char* step));
void StepPoint(const char* step);

// The name a file has while it is being written: "<name>.tavrin-part". Such a
// file is never a copy yet; FinishInterruptedRenames removes the ones left over.
std::string TemporaryName(std::string_view gbkName);

// Copies the source's bytes into a new target file and syncs it; the target is
// replaced if it exists. 0 or the errno of what failed (the target may then be
// left half-written; it is a temporary name).
int CopyBytesSynced(const std::string& gbkSource, const std::string& gbkTarget);
// True when both files can be read and hold the same bytes.
bool SameBytes(const std::string& gbkA, const std::string& gbkB);

struct Rename {
    std::string from, to;  // names in the directory (GBK)
    int error = 0;         // after the commit: the rename's errno, 0 when done
};
// Renames files of the directory as one: a journal naming them all is made
// durable first, so a process ended at any moment leaves either none of them
// done or, once FinishInterruptedRenames has run, all of them. A rename that
// fails for a reason of its own (the target is a folder) is reported in its
// entry and the others still happen. The directory is synced at the end.
// Returns 0, or the errno that kept the journal from being written, in which
// case nothing was renamed.
int CommitRenames(const std::string& gbkDir, std::vector<Rename>& renames);
// Finishes the renames of a journal that was made durable, and removes the
// journal and every temporary file left by work that never reached it.
// Call it holding the directory's lock.
void FinishInterruptedRenames(const std::string& gbkDir);

// Removes a file of the directory and syncs the directory; 0 or errno.
int RemoveDurably(const std::string& gbkDir, std::string_view gbkName);
// True when the name exists and is not a regular file (a folder, say).
bool IsInTheWay(const std::string& gbkPath);
bool FileExists(const std::string& gbkPath);

// The program and the data-file tool never work on the backups of one
// directory at the same time: each holds this lock (on the directory itself)
// from its first look at the directory to its last rename.
class DirectoryLock {
  public:
    DirectoryLock(const std::string& gbkDir, int32_t waitMs);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;
    bool held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace tavrin::backup
