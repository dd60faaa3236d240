// Writing and replaying the pack journal (pack_journal.h). Layout of version
// 3, written now (little-endian): "TVJR", 3, old count, old next serial,
// zero, record size, data offset (8), region start (8), new end (8), old end
// (8), stream length (8), checksum (8); the stream starts at byte 4096 and is
// padded to a multiple of 4096. The stream holds, for each page from the one
// of the region's start to the one before the new end, in order:
//   u32 place of a byte in which old and new differ, from the page's start
//       (kSame: the page's bytes in the region are the same in both),
//   u8 that byte's old value, u8 its new value, u16 piece count,
//   pieces (i32 where in the new page the piece starts, or -1 for saved
//   bytes; u32 length), which make the old bytes of the page in the region
//   in order, then the saved bytes of the pieces, in order;
// then the old bytes from the new end to the old end. The checksum runs over
// the stream (in steps of kJournalStep) and then the first 64 header bytes.
//
// Versions 1 and 2 (a journal left by an older build) saved the whole region
// from the first dropped record to the old end: version 1 with a header of 56
// bytes and the region straight after it, one FNV-1a lane; version 2 with the
// region at byte 4096, padded to a multiple of 4096, and JournalSum. They are
// still rolled back.
//
// Whether the pack committed is read from the record file's header: appends
// after a packer died raise the count and the next serial together, so the
// count equals the old count plus the serials taken since exactly when the
// new count never reached the disk.
#include "internal/pack_journal.h"

#include <algorithm>
#include <vector>

#include "runtime/base/fnv.h"
#include "runtime/gbk.h"

namespace tavrin::rs {

namespace {

constexpr uint32_t kJournalMagic = 0x524A5654;  // "TVJR"
constexpr int kOldHeaderFields = 56;            // versions 1 and 2
constexpr int kHeaderFields = 72;               // version 3
constexpr uint64_t kPage = 4096;
constexpr uint64_t kStreamStart = kPage;  // versions 2 and 3
constexpr uint32_t kSame = 0xFFFFFFFFu;
constexpr int32_t kSaved = -1;
// The stream is written, read and summed in steps of this many bytes (whole
// pages, and a multiple of the checksum's 32-byte stride).
constexpr size_t kJournalStep = size_t(1) << 20;

uint64_t RoundUp(uint64_t n, uint64_t to) {
    return (n + to - 1) / to * to;
}

void PutU64(uint8_t* p, uint64_t v) {
    StoreLe(p, v);
}
uint64_t GetU64(const uint8_t* p) {
    return LoadLe<uint64_t>(p);
}

struct Piece {
    int32_t from;  // kSaved, or where the bytes are in the new page
    uint32_t length;
};

// What the header says.
struct Journal {
    int32_t version = 0, oldCount = 0, oldSerial = 0;
    uint64_t regionOffset = 0;
    uint64_t newEnd = 0, oldEnd = 0;  // version 3; the old versions' region ends at oldEnd
    uint64_t streamStart = 0, streamLength = 0;
};

// Reads the stream front to back through one buffer.
class StreamIn {
  public:
    StreamIn(const PosixFile& file, uint64_t start, uint64_t length)
        : file_(file), at_(start), left_(length) {}
    Code get(uint8_t* out, size_t n) {
        while (n > 0) {
            if (pos_ == buffer_.size()) {
                if (left_ == 0) return Code::kReadRecordFailed;
                buffer_.resize(size_t(std::min<uint64_t>(left_, kJournalStep)));
                size_t got = 0;
                if (Code code = file_.readAt(at_, buffer_.data(), buffer_.size(), &got);
                    code != Code::kOk) {
                    return code;
                }
                if (got < buffer_.size()) return Code::kReadRecordFailed;
                at_ += got;
                left_ -= got;
                pos_ = 0;
            }
            const size_t step = std::min(n, buffer_.size() - pos_);
            std::memcpy(out, buffer_.data() + pos_, step);
            pos_ += step;
            out += step;
            n -= step;
        }
        return Code::kOk;
    }
    uint64_t left() const { return left_ + (buffer_.size() - pos_); }

  private:
    const PosixFile& file_;
    uint64_t at_, left_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
};

// Reads and checks the journal; false when it is missing, torn or not this
// file's (a journal not synced whole means no record had moved yet).
bool ReadJournal(const Database& db, const PosixFile& file, Journal* j) {
    uint64_t length = 0;
    uint8_t h[kHeaderFields] = {};
    size_t got = 0;
    if (file.size(&length) != Code::kOk || file.readAt(0, h, sizeof h, &got) != Code::kOk ||
        got < size_t(kOldHeaderFields)) {
        return false;
    }
    j->version = GetI32(h + 4);
    if (uint32_t(GetI32(h)) != kJournalMagic || j->version < 1 || j->version > 3 ||
        GetI32(h + 20) != db.recordSize || GetU64(h + 24) != db.dataOffset) {
        return false;
    }
    j->oldCount = GetI32(h + 8);
    j->oldSerial = GetI32(h + 12);
    j->regionOffset = GetU64(h + 32);
    if (j->version == 3) {
        if (got < sizeof h) return false;
        j->newEnd = GetU64(h + 40);
        j->oldEnd = GetU64(h + 48);
        j->streamLength = GetU64(h + 56);
        j->streamStart = kStreamStart;
        if (j->regionOffset < db.dataOffset || j->newEnd < j->regionOffset ||
            j->oldEnd < j->newEnd) {
            return false;
        }
    } else {
        j->streamLength = GetU64(h + 40);
        j->oldEnd = j->regionOffset + j->streamLength;
        j->newEnd = j->oldEnd;
        j->streamStart = j->version == 1 ? uint64_t(kOldHeaderFields) : kStreamStart;
    }
    if (j->streamLength > (uint64_t(1) << 62) || j->oldEnd > (uint64_t(1) << 62)) return false;
    const uint64_t expected = j->version == 1 ? j->streamStart + j->streamLength
                                              : j->streamStart + RoundUp(j->streamLength, kPage);
    if (length != expected) return false;
    Fnv1a one{kJournalSeed};  // version 1: FNV-1a over 64-bit words
    JournalSum four;
    if (j->version == 1) one.addWords(h, 48);
    if (j->version == 2) {
        four.add(h, 32);
        four.add(h + 32, 16);
    }
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(j->streamLength, kJournalStep)));
    for (uint64_t done = 0; done < j->streamLength;) {
        const size_t step = size_t(std::min<uint64_t>(j->streamLength - done, buffer.size()));
        if (file.readAt(j->streamStart + done, buffer.data(), step, &got) != Code::kOk ||
            got < step) {
            return false;
        }
        if (j->version == 1) {
            one.addWords(buffer.data(), step);
        } else {
            four.add(buffer.data(), step);
        }
        done += step;
    }
    if (j->version == 1) return one.h == GetU64(h + 48);
    if (j->version == 2) return four.value() == GetU64(h + 48);
    four.add(h, 64);
    return four.value() == GetU64(h + 64);
}

// Versions 1 and 2: the saved region goes back whole.
Code RollBackRegion(const Journal& j, const PosixFile& journal, const PosixFile& to) {
    StreamIn in(journal, j.streamStart, j.streamLength);
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(j.streamLength, kJournalStep)));
    for (uint64_t done = 0; done < j.streamLength;) {
        const size_t step = size_t(std::min<uint64_t>(j.streamLength - done, buffer.size()));
        if (Code code = in.get(buffer.data(), step); code != Code::kOk) return code;
        if (Code code = to.writeAt(j.regionOffset + done, buffer.data(), step); code != Code::kOk)
            return code;
        done += step;
    }
    return Code::kOk;
}

// Version 3: every page that holds its new bytes is made old again, page by
// page, each from itself and its saved bytes, so a replay cut short is done
// again from the start with the same outcome; then the cut-off end goes back.
Code RollBackPages(const Journal& j, const PosixFile& journal, const PosixFile& to) {
    StreamIn in(journal, j.streamStart, j.streamLength);
    std::vector<Piece> pieces;
    std::vector<uint8_t> saved, now, old;
    for (uint64_t p = j.regionOffset / kPage * kPage; p < j.newEnd; p += kPage) {
        const uint64_t lo = std::max(p, j.regionOffset), hi = std::min(p + kPage, j.newEnd);
        uint8_t head[8];
        if (Code code = in.get(head, 8); code != Code::kOk) return code;
        const auto differ = LoadLe<uint32_t>(head);
        const auto count = LoadLe<uint16_t>(head + 6);
        if (differ == kSame) continue;
        pieces.resize(count);
        uint64_t total = 0, savedBytes = 0;
        for (Piece& piece : pieces) {
            uint8_t raw[8];
            if (Code code = in.get(raw, 8); code != Code::kOk) return code;
            piece.from = LoadLe<int32_t>(raw);
            piece.length = LoadLe<uint32_t>(raw + 4);
            total += piece.length;
            if (piece.from == kSaved) {
                savedBytes += piece.length;
            } else if (piece.from < int32_t(lo - p) || piece.from + piece.length > hi - p) {
                return Code::kFileSizeWrong;
            }
        }
        if (total != hi - lo || differ < lo - p || differ >= hi - p) return Code::kFileSizeWrong;
        saved.resize(size_t(savedBytes));
        if (Code code = in.get(saved.data(), saved.size()); code != Code::kOk) return code;
        now.resize(size_t(hi - lo));
        size_t got = 0;
        if (Code code = to.readAt(lo, now.data(), now.size(), &got); code != Code::kOk) return code;
        if (got < now.size()) return Code::kFileSizeWrong;
        // The marker byte tells the page's old bytes from its new ones. A page
        // holding neither there (a write another process made to the file
        // since the packer died) is judged by its saved bytes: an old page
        // still holds them where they were.
        const uint8_t mark = now[differ - (lo - p)];
        bool moved = mark == head[5];
        if (mark != head[4] && mark != head[5]) {
            bool asSaved = true;
            size_t place = 0, next = 0;
            for (const Piece& piece : pieces) {
                if (piece.from == kSaved) {
                    asSaved = asSaved && std::memcmp(now.data() + place, saved.data() + next,
                                                     piece.length) == 0;
                    next += piece.length;
                }
                place += piece.length;
            }
            moved = !asSaved;
        }
        if (!moved) continue;
        old.clear();
        size_t next = 0;
        for (const Piece& piece : pieces) {
            const uint8_t* from = piece.from == kSaved
                                      ? saved.data() + next
                                      : now.data() + (uint64_t(piece.from) - (lo - p));
            old.insert(old.end(), from, from + piece.length);
            if (piece.from == kSaved) next += piece.length;
        }
        if (Code code = to.writeAt(lo, old.data(), old.size()); code != Code::kOk) return code;
    }
    if (in.left() != j.oldEnd - j.newEnd) return Code::kFileSizeWrong;
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(in.left(), kJournalStep)));
    for (uint64_t at = j.newEnd; at < j.oldEnd;) {
        const size_t step = size_t(std::min<uint64_t>(j.oldEnd - at, buffer.size()));
        if (Code code = in.get(buffer.data(), step); code != Code::kOk) return code;
        if (Code code = to.writeAt(at, buffer.data(), step); code != Code::kOk) return code;
        at += step;
    }
    return Code::kOk;
}

}  // namespace

void JournalSum::add(const uint8_t* p, size_t n) {
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        for (int k = 0; k < 4; ++k) {
            lane[k] = Fnv1a::Step(lane[k], LoadLe<uint64_t>(p + i + 8 * k));
        }
    }
    for (; i < n; ++i) lane[0] = Fnv1a::Step(lane[0], p[i]);
}

uint64_t JournalSum::value() const {
    Fnv1a f{kJournalSeed};
    f.addWords(lane, sizeof lane);
    return f.h;
}

std::string JournalPath(const Database& db) {
    return NativePath(db.fullPath) + "-journal";
}

PackJournalWriter::PackJournalWriter(Database& db, int32_t oldCount, int32_t oldSerial,
                                     uint64_t regionOffset)
    : db_(db),
      path_(JournalPath(db)),
      oldCount_(oldCount),
      oldSerial_(oldSerial),
      regionOffset_(regionOffset),
      next_(regionOffset) {}

PackJournalWriter::~PackJournalWriter() {
    if (done_ || !file_.isOpen()) return;
    // Not finished: no record has moved, and the journal must not roll back
    // a later pack's file.
    file_.close();
    (void)RemoveFile(path_);
}

Code PackJournalWriter::open() {
    stage_.reserve(kJournalStep);
    return file_.open(path_, true, Sharing::kExclusive, true);
}

Code PackJournalWriter::put(const void* bytes, size_t n) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    while (n > 0) {
        const size_t step = std::min(n, kJournalStep - stage_.size());
        stage_.insert(stage_.end(), p, p + step);
        p += step;
        n -= step;
        if (stage_.size() == kJournalStep) {
            if (Code code = flush(false); code != Code::kOk) return code;
        }
    }
    return Code::kOk;
}

Code PackJournalWriter::flush(bool last) {
    if (stage_.empty()) return Code::kOk;
    sum_.add(stage_.data(), stage_.size());
    const size_t length = stage_.size();
    if (last) stage_.resize(size_t(RoundUp(length, kPage)), 0);
    if (Code code = file_.writeAt(kStreamStart + streamed_, stage_.data(), stage_.size());
        code != Code::kOk) {
        return code;
    }
    // Each step starts on its way to the disk while the next is made, so the
    // sync at the end waits for little more than the last one.
    file_.startWriteback(kStreamStart + streamed_, stage_.size());
    streamed_ += length;
    stage_.clear();
    return Code::kOk;
}

Code PackJournalWriter::addPages(uint64_t at, const uint8_t* after, const uint8_t* before, size_t n,
                                 const std::vector<PackRun>& runs) {
    // The pages must come in order and whole, as the replay walks them.
    if (at != next_ || (at != regionOffset_ && at % kPage != 0)) return Code::kUnknown;
    const uint64_t rs = uint64_t(db_.recordSize);
    std::vector<uint8_t> entry;
    std::vector<Piece> pieces;
    for (uint64_t lo = at; lo < at + n;) {
        const uint64_t p = lo / kPage * kPage, hi = std::min(p + kPage, at + n);
        uint64_t y = lo;
        const uint8_t* a = after + (lo - at);
        const uint8_t* b = before + (lo - at);
        const auto [bd, ad] = std::mismatch(b, b + (hi - lo), a);
        entry.clear();
        if (bd == b + (hi - lo)) {
            AppendLe(entry, kSame);
            AppendLe(entry, uint32_t(0));
            if (Code code = put(entry.data(), entry.size()); code != Code::kOk) return code;
            lo = hi;
            continue;
        }
        AppendLe(entry, uint32_t(lo - p + uint64_t(bd - b)));
        entry.push_back(*bd);
        entry.push_back(*ad);
        // The old bytes, run by run: a kept record's bytes that stay in the
        // page are taken from the new page, the rest are saved.
        pieces.clear();
        auto add = [&](int32_t from, uint64_t length) {
            if (length == 0) return;
            Piece& last = pieces.empty() ? pieces.emplace_back(Piece{from, 0}) : pieces.back();
            const bool joins = last.from == kSaved
                                   ? from == kSaved
                                   : from != kSaved && from == last.from + int32_t(last.length);
            if (joins) {
                last.length += uint32_t(length);
            } else {
                pieces.push_back({from, uint32_t(length)});
            }
        };
        const int64_t firstRecord = int64_t((lo - db_.dataOffset) / rs);
        while (runCursor_ < runs.size() &&
               int64_t(runs[runCursor_].first) + runs[runCursor_].length <= firstRecord) {
            ++runCursor_;
        }
        for (size_t k = runCursor_; y < hi;) {
            if (k >= runs.size()) return Code::kUnknown;
            const PackRun& run = runs[k++];
            const uint64_t end = std::min(hi, db_.recordOffset(int64_t(run.first) + run.length));
            if (end <= y) continue;
            if (run.dropped) {
                add(kSaved, end - y);
            } else {
                // A kept byte stays in the page when its new place is not
                // before the page's part of the region.
                const uint64_t shift = uint64_t(run.droppedBefore) * rs;
                const uint64_t stays = std::min(end, std::max(y, lo + shift));
                add(kSaved, stays - y);
                add(int32_t(stays - shift - p), end - stays);
            }
            y = end;
        }
        if (pieces.size() > 0xFFFF) return Code::kUnknown;
        const uint16_t count = uint16_t(pieces.size());
        AppendLe(entry, count);
        for (const Piece& piece : pieces) {
            AppendLe(entry, uint32_t(piece.from));
            AppendLe(entry, piece.length);
        }
        if (Code code = put(entry.data(), entry.size()); code != Code::kOk) return code;
        // The saved bytes, in the pieces' order.
        uint64_t pos = lo;
        for (const Piece& piece : pieces) {
            if (piece.from == kSaved) {
                if (Code code = put(before + (pos - at), piece.length); code != Code::kOk)
                    return code;
            }
            pos += piece.length;
        }
        lo = hi;
    }
    next_ = at + n;
    return Code::kOk;
}

Code PackJournalWriter::finish(uint64_t newEnd) {
    if (next_ != newEnd) return Code::kUnknown;
    const uint64_t oldEnd = db_.recordOffset(oldCount_);
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(oldEnd - newEnd, kJournalStep)));
    for (uint64_t at = newEnd; at < oldEnd;) {
        const size_t step = size_t(std::min<uint64_t>(oldEnd - at, buffer.size()));
        size_t got = 0;
        if (Code code = db_.records.file.readAt(at, buffer.data(), step, &got); code != Code::kOk)
            return code;
        if (got < step) return Code::kReadRecordFailed;
        if (Code code = put(buffer.data(), step); code != Code::kOk) return code;
        at += step;
    }
    const uint64_t streamLength = streamed_ + stage_.size();
    if (Code code = flush(true); code != Code::kOk) return code;
    std::vector<uint8_t> header(kStreamStart, 0);
    uint8_t* h = header.data();
    PutI32(h, int32_t(kJournalMagic));
    PutI32(h + 4, 3);
    PutI32(h + 8, oldCount_);
    PutI32(h + 12, oldSerial_);
    PutI32(h + 20, db_.recordSize);
    PutU64(h + 24, db_.dataOffset);
    PutU64(h + 32, regionOffset_);
    PutU64(h + 40, newEnd);
    PutU64(h + 48, oldEnd);
    PutU64(h + 56, streamLength);
    sum_.add(h, 64);
    PutU64(h + 64, sum_.value());
    Code code = file_.writeAt(0, h, header.size());
    if (code == Code::kOk) code = file_.syncData();
    file_.close();
    if (code == Code::kOk) code = SyncDirectoryOf(path_);
    if (code != Code::kOk) {
        (void)RemoveFile(path_);
        return code;
    }
    done_ = true;
    return Code::kOk;
}

Code RecoverInterruptedPack(Database& db, bool packerFailed) {
    const std::string path = JournalPath(db);
    PosixFile journal;
    if (Code code = journal.open(path, false, Sharing::kDenyNone, false); code != Code::kOk) {
        return code == Code::kFileNotFound ? Code::kOk : code;
    }
    Journal j;
    if (!ReadJournal(db, journal, &j)) {
        journal.close();
        if (Code code = RemoveFile(path); code != Code::kOk) return code;
        return SyncDirectoryOf(path);
    }
    uint8_t pair[8];
    size_t got = 0;
    if (Code code = db.records.file.readAt(kHeaderCount, pair, 8, &got); code != Code::kOk)
        return code;
    if (got < 8) return Code::kRecordCountFailed;
    const int64_t taken = int64_t(GetI32(pair + 4)) - j.oldSerial;
    const bool committed = int64_t(GetI32(pair)) != j.oldCount + taken;
    if (packerFailed || !committed) {
        // A read-only opener mends the file through a writable handle of its own.
        PosixFile writable;
        const PosixFile* target = &db.records.file;
        if (db.readOnly) {
            if (Code code = writable.open(NativePath(db.fullPath), true, Sharing::kDenyNone, false);
                code != Code::kOk) {
                return code;
            }
            target = &writable;
        }
        if (Code code = j.version == 3 ? RollBackPages(j, journal, *target)
                                       : RollBackRegion(j, journal, *target);
            code != Code::kOk) {
            return code;
        }
        if (packerFailed) {
            PutI32(pair, j.oldCount);
            if (Code code = target->writeAt(kHeaderCount, pair, 4); code != Code::kOk) return code;
        }
        if (Code code = target->syncData(); code != Code::kOk) return code;
        std::memcpy(db.header + kHeaderCount, pair, 4);
    }
    journal.close();
    if (Code code = RemoveFile(path); code != Code::kOk) return code;
    return SyncDirectoryOf(path);
}

}  // namespace tavrin::rs
