// What a writable open mended of a file left by a crash or a power cut, kept
// per process until the program has said it once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::rs {

struct OpenRepairs {
    std::string gbkPath;               // the record file
    int32_t recordsDropped = 0;        // records that never reached the disk whole
    int64_t trailingBytesDropped = 0;  // bytes past the last whole record
    int32_t fieldsCleared = 0;         // memo or byte-set values whose chain was broken
    bool freeListRebuilt = false;      // the block file's free list, from the chains
    bool any() const {
        return recordsDropped > 0 || trailingBytesDropped > 0 || fieldsCleared > 0 ||
               freeListRebuilt;
    }
};

// The repairs the opens made since the last call, one entry per open that
// mended something, and forgets them.
std::vector<OpenRepairs> TakeOpenRepairs();
// Notes the repairs of one open (the engine does this itself).
void NoteOpenRepairs(const OpenRepairs& repairs);

}  // namespace tavrin::rs
