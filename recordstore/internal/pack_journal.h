// The rollback journal of a pack, a file beside the record file
// ("<record file>-journal"). It is written whole and synced before the first
// record moves; the next open, pack or empty of the file (in any process,
// under the whole-database lock, so never while a packer is at work) puts the
// old records back when the pack did not commit.
//
// A pack shifts the records after the first dropped one towards the front, so
// every page of the record file from there to the new end comes to hold
// bytes of later pages. The journal does not keep those pages whole. A page
// reaches the disk whole, as its old or as its new bytes (each page is
// written once by the move, in one write); so for each page the journal keeps
// one byte in which the two differ, which tells them apart, and how the old
// page is made again out of the new one: the bytes that move within the page
// are taken from it, and only the rest is saved: the bytes that moved to an
// earlier page (as many as the shift, for a delete a record's worth) and
// those of dropped records. After the pages come the bytes the new end cuts
// off. For a delete that is a few per cent of the moved bytes, not all of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "internal/file_posix.h"
#include "internal/record_file.h"

namespace tavrin::rs {

// A stretch of the records a pack goes through, from its first dropped
// record on: all kept or all dropped. A kept record moves to the front by the
// records dropped before it.
struct PackRun {
    int32_t first = 0, length = 0;
    int32_t droppedBefore = 0;
    bool dropped = false;
};

// The journal's checksum: four FNV-1a lanes over consecutive 64-bit words, so
// the multiplications do not wait on each other. The sum depends on how the
// bytes are split into add() calls; writer and reader split them alike.
// The journal's FNV-1a starts from this value, a digit short of FNV's own
// offset basis, since its first version: journals on disk are summed with it.
constexpr uint64_t kJournalSeed = 1469598103934665603ull;

struct JournalSum {
    uint64_t lane[4] = {kJournalSeed, kJournalSeed ^ 1, kJournalSeed ^ 2, kJournalSeed ^ 3};
    void add(const uint8_t* p, size_t n);
    uint64_t value() const;
};

// Builds the journal while the pack works out its new content, and makes it
// durable before any record moves.
class PackJournalWriter {
  public:
    PackJournalWriter(Database& db, int32_t oldCount, int32_t oldSerial, uint64_t regionOffset);
    ~PackJournalWriter();
    PackJournalWriter(const PackJournalWriter&) = delete;
    PackJournalWriter& operator=(const PackJournalWriter&) = delete;
    Code open();
    // The new bytes of [at, at + n), whole pages from `at` (the region's
    // start, or a page's) except where the new end falls; `before` holds the
    // bytes the file has there now. Every run of the records those bytes
    // belonged to has been added to `runs`.
    Code addPages(uint64_t at, const uint8_t* after, const uint8_t* before, size_t n,
                  const std::vector<PackRun>& runs);
    // Saves what the new end cuts off, then writes the header and syncs the
    // journal and its directory. On failure the journal is removed.
    Code finish(uint64_t newEnd);

  private:
    Code put(const void* bytes, size_t n);
    Code flush(bool last);

    Database& db_;
    PosixFile file_;
    std::string path_;
    int32_t oldCount_, oldSerial_;
    uint64_t regionOffset_;
    uint64_t next_;  // where the next page's bytes start
    std::vector<uint8_t> stage_;
    uint64_t streamed_ = 0;
    size_t runCursor_ = 0;
    JournalSum sum_;
    bool done_ = false;
};

std::string JournalPath(const Database& db);
// Rolls back an interrupted pack and removes its journal; nothing to do when
// there is none. A packer whose own move failed passes packerFailed: it still
// holds the lock, so the old count is put back as well.
Code RecoverInterruptedPack(Database& db, bool packerFailed = false);

}  // namespace tavrin::rs
