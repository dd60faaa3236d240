// The block file: memo and byte-set values kept as chains of 512-byte blocks
// with a free list, and trailing free blocks given back to the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "internal/lock_table.h"

namespace tavrin::rs {

// Reads the chain starting at first (0 = empty) into out; kBlockFileAccess when a block cannot
// be read whole, the chain is broken, or there is no block file.
Code ReadChain(LockedFile* blocks, int32_t first, std::string* out);
// Writes n bytes over the chain starting at oldFirst, reusing its blocks in
// order, then free blocks, then new ones; *newFirst receives the first block.
Code WriteChain(LockedFile* blocks, const uint8_t* data, size_t n, int32_t oldFirst,
                int32_t* newFirst);
// Gives a chain's blocks back to the free list (the same as writing nothing).
Code FreeChain(LockedFile* blocks, int32_t first);
// The blocks of a chain in order, ending at the first block that is free,
// outside the file or met before; kBlockFileAccess when a block cannot be read.
Code ChainBlocks(LockedFile* blocks, int32_t first, std::vector<int32_t>* out);
// Resets the block file to its header block (emptying a database).
Code ResetBlockFile(LockedFile* blocks);
// Writes the header's block count, free count and first free block in one
// write, the caller holding the header block's lock.
Code WriteBlockCounts(LockedFile* blocks, int32_t count, int32_t freeCount, int32_t firstFree);

}  // namespace tavrin::rs
