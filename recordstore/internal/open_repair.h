// The repairs a writable open makes before anything is allocated: records a
// power cut kept only the count of, chains that run where no chain may, and a
// free list that disagrees with the chains.
#pragma once

#include "internal/record_file.h"
#include "recordstore/open_repairs.h"

namespace tavrin::rs {

// Drops the records at the end of the count whose tag is 0: their bytes never
// reached the disk. The caller holds the whole-database lock.
Code DropUnwrittenRecords(Database& db, OpenRepairs* repairs);
// Cuts every chain that leaves the file, loops, reaches a block on the free
// list or one an earlier record's chain holds (the field then reads empty),
// and rebuilds the free list when it disagrees with the chains. The caller
// holds the whole-database lock.
Code RepairBlockFile(Database& db, OpenRepairs* repairs);

}  // namespace tavrin::rs
