// A full walk of a block file: every chain the records point to and the free
// list, each block owned at most once. Finds the damage a crash or a faulty
// writer can leave, and gives unreachable blocks back to the free list.
#pragma once

#include <cstdint>
#include <vector>

#include "internal/record_file.h"

namespace tavrin::rs {

struct BlockAudit {
    int32_t blockCount = 0;
    int32_t chains = 0;
    int32_t chainBlocks = 0;
    int32_t freeBlocks = 0;     // reached through the free list
    int32_t sharedBlocks = 0;   // reached by two chains
    int32_t freeListLoops = 0;  // the free list comes back to a block it passed, or leaves the file
    int32_t chainsIntoFree = 0;  // chains that reach a block on the free list
    int32_t liveOnFreeList = 0;  // blocks with content on the free list
    int32_t brokenChains = 0;    // links outside the file, or blocks no reader takes
    int32_t freeCountHigh = 0;   // the header counts this many more free blocks than the list holds
    int32_t freeCountLow = 0;    // the list holds this many more than the header counts
    std::vector<int32_t> orphans;  // blocks no chain and no free list reaches
    // What a writer would trip over. Orphans and a free count below the list's
    // length only waste room: reclaim gives them back.
    bool damaged() const {
        return sharedBlocks + freeListLoops + chainsIntoFree + liveOnFreeList + brokenChains +
                   freeCountHigh >
               0;
    }
    bool reclaimable() const { return !orphans.empty() || freeCountLow > 0; }
};

// Walks the block file of db, the caller holding the whole-database lock.
Code AuditBlocks(Database& db, BlockAudit* audit);
// Rebuilds the free list from every block no chain reaches and gives trailing
// free blocks back; refuses with kBlockFileAccess when two chains share a block. The
// database must be open for writing with exclusive sharing.
Code ReclaimBlocks(Database& db, int32_t* reclaimed);

}  // namespace tavrin::rs
