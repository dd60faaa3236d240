// A reader of record and block files written from their byte layout alone,
// sharing no code with the engine: what the records hold, and whether the
// file is damaged in a way a writer would trip over.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace rstest {

struct FormatReading {
    bool header = false;  // a record file whose header and descriptors parse
    int32_t count = 0, recordSize = 0;
    std::vector<int32_t> types;  // per field
    std::vector<int32_t> offsets;
    // By serial (the tag's magnitude): the record's raw bytes, and per chain
    // field its chain's bytes.
    std::map<int32_t, std::vector<uint8_t>> records;
    std::map<int32_t, std::map<int32_t, std::string>> chains;
    bool duplicated = false;
    // Damage.
    bool shortFile = false, zeroTags = false, blockHeaderBad = false, blockFileShort = false;
    int32_t shared = 0, intoFree = 0, broken = 0, freeBroken = 0, liveFree = 0, freeCountHigh = 0;
    bool damaged() const {
        return !header || shortFile || zeroTags || blockHeaderBad || blockFileShort ||
               shared + intoFree + broken + freeBroken + liveFree + freeCountHigh > 0;
    }
};

inline int32_t LE32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 <= b.size() ? I32At(b, at) : 0;
}

inline FormatReading ReadFormat(const std::string& edb, const std::string& edt) {
    FormatReading r;
    const std::vector<uint8_t> f = ReadAll(edb);
    if (f.size() < 116 || std::memcmp(f.data(), "WEDB", 4) != 0) return r;
    r.count = LE32(f, 16);
    r.recordSize = LE32(f, 24);
    const int32_t n = LE32(f, 112);
    if (n <= 0 || r.recordSize <= 0 || f.size() < 116 + size_t(n) * 72) return r;
    bool chainsUsed = false;
    for (int32_t i = 0; i < n; ++i) {
        r.types.push_back(LE32(f, 116 + size_t(i) * 72 + 20));
        r.offsets.push_back(LE32(f, 116 + size_t(i) * 72 + 24));
        chainsUsed = chainsUsed || r.types.back() == 11 || r.types.back() == 12;
    }
    r.header = true;
    const size_t data = 116 + size_t(n) * 72;
    const int64_t present = int64_t(f.size() - data) / r.recordSize;
    r.shortFile = present < r.count;
    const int64_t records = std::min<int64_t>(present, r.count);
    // The block file: header, then the free list, then every chain.
    std::vector<uint8_t> b = chainsUsed ? ReadAll(edt) : std::vector<uint8_t>();
    const int32_t blockCount = LE32(b, 16), freeCount = LE32(b, 20), firstFree = LE32(b, 24);
    const int64_t fileBlocks = int64_t(b.size() / 512);
    if (chainsUsed) {
        r.blockHeaderBad = b.size() < 32 || std::memcmp(b.data(), "WEDT", 4) != 0 ||
                           blockCount <= 0 || freeCount < 0 || freeCount >= blockCount ||
                           firstFree < 0 || firstFree >= blockCount;
        r.blockFileShort = fileBlocks < blockCount;
    }
    const int64_t blocks = std::min<int64_t>(blockCount, fileBlocks);
    auto used = [&](int32_t k) { return LE32(b, size_t(k) * 512 + 8); };
    auto next = [&](int32_t k) { return LE32(b, size_t(k) * 512 + 4); };
    std::vector<int> owner(size_t(std::max<int64_t>(blocks, 1)), 0);  // 0 none, -1 free, chain no.
    int32_t listed = 0;
    for (int32_t k = chainsUsed ? firstFree : 0; k != 0; k = next(k)) {
        if (k < 1 || k >= blocks || owner[size_t(k)] != 0) {
            ++r.freeBroken;
            break;
        }
        owner[size_t(k)] = -1;
        ++listed;
        if (used(k) != 0) ++r.liveFree;
    }
    r.freeCountHigh = freeCount > listed ? freeCount - listed : 0;
    int chainNo = 0;
    for (int64_t i = 0; i < records; ++i) {
        std::vector<uint8_t> rec(f.begin() + long(data + size_t(i) * size_t(r.recordSize)),
                                 f.begin() + long(data + size_t(i + 1) * size_t(r.recordSize)));
        const int32_t tag = I32At(rec, 0);
        if (tag == 0) r.zeroTags = true;
        const int32_t serial = tag < 0 ? -tag : tag;
        if (r.records.count(serial)) r.duplicated = true;
        r.records[serial] = rec;
        for (size_t fi = 0; fi < r.types.size(); ++fi) {
            if (r.types[fi] != 11 && r.types[fi] != 12) continue;
            ++chainNo;
            std::string value;
            for (int32_t k = I32At(rec, size_t(r.offsets[fi])); k != 0; k = next(k)) {
                if (k < 1 || k >= blocks || owner[size_t(k)] == chainNo) {
                    ++r.broken;
                    break;
                }
                if (owner[size_t(k)] == -1) {
                    ++r.intoFree;
                    break;
                }
                if (owner[size_t(k)] != 0) {
                    ++r.shared;
                    break;
                }
                owner[size_t(k)] = chainNo;
                const int32_t u = used(k);
                if (u < 0 || u > 500) {
                    ++r.broken;
                    break;
                }
                value.append(reinterpret_cast<const char*>(&b[size_t(k) * 512 + 12]), size_t(u));
            }
            r.chains[serial][int32_t(fi)] = value;
        }
    }
    return r;
}

}  // namespace rstest
