// The rollback journal of a pack: before the first record moves, the bytes of
// the region the move overwrites and the old count are kept in a file beside
// the record file ("<record file>-journal") and synced. The next open, pack or
// empty of the file (in any process, under the whole-database lock, so never
// while a packer is at work) puts them back when the pack did not commit.
#pragma once

#include <cstdint>
#include <string>

#include "recordstore/internal/record_file.h"

namespace tavrin::rs {

struct PackJournal {
    int32_t oldCount = 0, oldSerial = 0;
    uint64_t regionOffset = 0, regionLength = 0;
};

std::string JournalPath(const Database& db);
// Writes, syncs and makes durable the journal of the region about to move.
Code WriteJournal(Database& db, const PackJournal& journal);
// Rolls back an interrupted pack and removes its journal; nothing to do when
// there is none. A packer whose own move failed passes packerFailed: it still
// holds the lock, so the old count is put back as well.
Code RecoverInterruptedPack(Database& db, bool packerFailed = false);

}  // namespace tavrin::rs
