// Every record operation under crashes and file faults. A child process is
// killed (SIGKILL) just before each changing file call of an operation in
// turn (every write, truncate, sync and remove), and in-process runs see each
// file call of every kind fail once (EIO, ENOSPC, a short count, ENOLCK for
// locks). After each, the file must open (repaired), hold no duplicated
// record and every record that was whole before, unchanged, share no block
// and leave none both free and used, hold no lock, and take a further append
// and pack. An operation that reports success must have had its whole effect.
//
// The kill sweep runs over baselines of 14, 51 and 15000 records (memos on the
// first 100); CRASH_TEST_ROUNDS=N in the environment makes it N baselines of
// growing size before the large one (a longer run by hand).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <map>

#include "internal/block_audit.h"
#include "internal/block_file.h"
#include "internal/file_fault.h"
#include "test_support.h"

namespace {

using namespace tavrin;
using namespace tavrin::rs;

struct Row {
    int32_t tag = 0, id = 0;
    std::string name, note;
    bool operator==(const Row&) const = default;
};
using Rows = std::map<int32_t, Row>;  // by serial

struct Files {
    std::string dir;
    std::string gbk() const { return Utf8ToGbk(dir + "/crash.edb"); }
    std::string edb() const { return dir + "/crash.edb"; }
    std::string edt() const { return dir + "/crash.EDT"; }
};

std::string Note(int seed, size_t length) {
    std::string s(length, 'a');
    for (size_t i = 0; i < length; ++i) s[i] = char('a' + (seed * 7 + int(i) / 97) % 26);
    return s;
}

bool Write(int field, const Value& v) {
    return CallKernel(WriteField, MakeInt(field), v).asBool();
}

// The baseline: records with memos of 0 to 4 blocks, a free list in the middle
// of the block file, some records marked.
void MakeBaseline(const Files& f, int records) {
    ASSERT_EQ(
        CreateDatabaseFiles(
            f.gbk(), {{"Id", kFieldInt, 0}, {"Name", kFieldText, 12}, {"Note", kFieldMemo, 0}}),
        Code::kOk);
    ASSERT_TRUE(CallKernel(OpenDatabase, MakeTextRef(f.gbk().c_str())).asBool());
    std::vector<std::string> notes(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        ASSERT_TRUE(CallKernel(AppendBlankRecord).asBool());
        notes[size_t(i)] = Note(i, i < 100 ? size_t(i % 5) * 430 : 0);
        std::string name = "rec" + std::to_string(i);
        ASSERT_TRUE(Write(1, MakeInt(100 + i)));
        ASSERT_TRUE(Write(2, MakeTextRef(name.c_str())));
        ASSERT_TRUE(Write(3, MakeTextRef(notes[size_t(i)].c_str())));
    }
    // Clearing two memos leaves free blocks between live ones.
    for (int r : {3, 4}) {
        ASSERT_TRUE(CallKernel(GoToRecord, MakeInt(r + 1)).asBool());
        ASSERT_TRUE(CallKernel(WriteField, MakeInt(3)).asBool());
    }
    for (int r = 1; r < records; r += 4) {
        ASSERT_TRUE(CallKernel(GoToRecord, MakeInt(r + 1)).asBool());
        ASSERT_TRUE(CallKernel(DeleteRecord).asBool());
    }
    CallKernel(CloseAllDatabases);
}

struct State {
    Code openCode = Code::kOk;
    Code scanCode = Code::kOk;
    Rows rows;
    bool duplicated = false;
    BlockAudit audit;
};

// Opens (which repairs and rolls back) and reads every record and chain.
State Inspect(const Files& f, bool readOnly = false) {
    State s;
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = f.gbk();
    request.readOnly = readOnly;
    if ((s.openCode = OpenDatabaseFiles(request, &db)) != Code::kOk) return s;
    int32_t count = 0;
    if ((s.scanCode = ReadRecordCount(*db, &count)) != Code::kOk) return s;
    s.scanCode = ScanRecords(*db, 0, count, [&](const uint8_t* r, int32_t) -> ScanStep {
        Row row;
        row.tag = GetI32(r);
        row.id = GetI32(r + 4);
        row.name.assign(reinterpret_cast<const char*>(r + 8), strnlen((const char*)r + 8, 12));
        if (Code code = ReadChain(db->blocks.get(), GetI32(r + 20), &row.note); code != Code::kOk)
            return code;
        const int32_t serial = row.tag < 0 ? -row.tag : row.tag;
        if (s.rows.count(serial)) s.duplicated = true;
        s.rows[serial] = row;
        return ScanStep::GoOn();
    });
    if (s.scanCode == Code::kOk) s.scanCode = AuditBlocks(*db, &s.audit);
    return s;
}

using Operation = bool (*)();

bool OpenWork(const Files& f) {
    return CallKernel(OpenDatabase, MakeTextRef(f.gbk().c_str())).asBool();
}

const Files* gFiles = nullptr;
const std::string kLong = Note(50, 1700);

bool OpAppend() {
    return CallKernel(AppendBlankRecord).asBool() && Write(1, MakeInt(7)) &&
           Write(2, MakeTextRef("new")) && Write(3, MakeTextRef(kLong.c_str()));
}
bool OpGrow() {  // record 2 (marked): one block to four
    return CallKernel(GoToRecord, MakeInt(2)).asBool() && Write(3, MakeTextRef(kLong.c_str()));
}
bool OpShrink() {  // record 10: four blocks to one
    return CallKernel(GoToRecord, MakeInt(10)).asBool() && Write(3, MakeTextRef("short"));
}
bool OpClear() {  // record 9: three blocks to none
    return CallKernel(GoToRecord, MakeInt(9)).asBool() &&
           CallKernel(WriteField, MakeInt(3)).asBool();
}
bool OpMark() {
    return CallKernel(GoToRecord, MakeInt(3)).asBool() && CallKernel(DeleteRecord).asBool();
}
bool OpPack() {
    return CallKernel(PackDatabase).asBool();
}
bool OpEmpty() {
    return CallKernel(EmptyDatabase).asBool();
}

struct Case {
    const char* name;
    Operation run;
    int32_t target;  // serial whose record the operation changes; 0 for none
};
const Case kCases[] = {{"append", OpAppend, -1}, {"grow", OpGrow, 2}, {"shrink", OpShrink, 10},
                       {"clear", OpClear, 9},    {"mark", OpMark, 3}, {"pack", OpPack, 0},
                       {"empty", OpEmpty, 0}};

// Runs one operation on the work files from open to close.
bool RunOperation(const Files& f, const Case& c) {
    if (!OpenWork(f)) return false;
    bool ok = c.run();
    CallKernel(CloseAllDatabases);
    return ok;
}

void Restore(const Files& f, const std::vector<uint8_t>& edb, const std::vector<uint8_t>& edt) {
    rstest::WriteAll(f.edb(), edb);
    rstest::WriteAll(f.edt(), edt);
    std::filesystem::remove(f.edb() + "-journal");
}

// The invariants after an interrupted or failed operation; reported and exact
// compare with the state after the operation ran whole.
void Verify(const Files& f, const Case& c, const State& before, const State& after,
            bool reportedSuccess, const std::string& where) {
    SCOPED_TRACE(where);
    if (c.run == OpPack) {
        // A reader is the first to come: it rolls the pack back all the same.
        State r = Inspect(f, true);
        ASSERT_EQ(r.openCode, Code::kOk);
        EXPECT_TRUE(r.rows == before.rows || r.rows == after.rows);
    }
    State s = Inspect(f);
    ASSERT_EQ(s.openCode, Code::kOk);
    ASSERT_EQ(s.scanCode, Code::kOk);
    EXPECT_FALSE(s.duplicated);
    EXPECT_FALSE(s.audit.damaged()) << s.audit.sharedBlocks << " shared, " << s.audit.freeListLoops
                                    << " loops, " << s.audit.chainsIntoFree << " into free, "
                                    << s.audit.liveOnFreeList << " live on free list";
    if (reportedSuccess) {
        EXPECT_EQ(s.rows, after.rows);
    } else if (c.run == OpPack || c.run == OpEmpty) {
        // All or nothing.
        EXPECT_TRUE(s.rows == before.rows || s.rows == after.rows);
    } else {
        for (auto& [serial, row] : before.rows) {
            if (serial == c.target) continue;
            auto it = s.rows.find(serial);
            ASSERT_NE(it, s.rows.end()) << "lost record " << serial;
            EXPECT_EQ(it->second, row) << "changed record " << serial;
        }
        EXPECT_LE(s.rows.size(), before.rows.size() + 1);
    }
    // No lock is left held and the file goes on working.
    ASSERT_TRUE(OpenWork(f));
    EXPECT_TRUE(CallKernel(AppendBlankRecord).asBool());
    EXPECT_TRUE(Write(3, MakeTextRef(kLong.c_str())));
    EXPECT_TRUE(CallKernel(DeleteRecord).asBool());
    EXPECT_TRUE(CallKernel(PackDatabase).asBool());
    CallKernel(CloseAllDatabases);
    State again = Inspect(f);
    EXPECT_FALSE(again.audit.damaged());
    EXPECT_FALSE(again.duplicated);
}

class Crash : public ::testing::Test {
  protected:
    void SetUp() override {
        files_.dir = dir_.path();
        gFiles = &files_;
    }
    void TearDown() override {
        DisarmFileFault();
        CallKernel(CloseAllDatabases);
    }
    rstest::TempDir dir_{"rs-crash", "/dev/shm"};
    Files files_;
};

struct Baseline {
    std::vector<uint8_t> edb, edt;
    State before;
};

Baseline Prepare(const Files& f, int records) {
    std::filesystem::remove(f.edb());
    std::filesystem::remove(f.edt());
    MakeBaseline(f, records);
    return {rstest::ReadAll(f.edb()), rstest::ReadAll(f.edt()), Inspect(f)};
}

// The state an operation leaves when it runs whole, and how many changing
// file calls it makes.
State RunWhole(const Files& f, const Baseline& b, const Case& c, int64_t* changes) {
    Restore(f, b.edb, b.edt);
    CountFileCalls();
    EXPECT_TRUE(RunOperation(f, c)) << c.name;
    *changes = FileCallsSeen(FileCall::kChange);
    DisarmFileFault();
    return Inspect(f);
}

TEST_F(Crash, EveryOperationKilledBeforeEachChangingFileCall) {
    const char* rounds = std::getenv("CRASH_TEST_ROUNDS");
    const int n = rounds != nullptr ? std::max(1, std::atoi(rounds)) : 2;
    int64_t kills = 0;
    for (int round = 0; round <= n; ++round) {
        // The last file is large enough for a pack to move three chunks.
        const int records = round < n ? 14 + round * 37 : 15000;
        Baseline b = Prepare(files_, records);
        ASSERT_FALSE(b.before.audit.damaged());
        for (const Case& c : kCases) {
            int64_t changes = 0;
            State after = RunWhole(files_, b, c, &changes);
            ASSERT_GT(changes, 0) << c.name;
            for (int64_t k = 1; k <= changes; ++k) {
                Restore(files_, b.edb, b.edt);
                pid_t child = fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    ArmFileFault({FileCall::kChange, k, FaultAction::kKill, 0});
                    RunOperation(files_, c);
                    _exit(FileFaultFired() ? 3 : 0);
                }
                int status = 0;
                waitpid(child, &status, 0);
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                    << c.name << " call " << k << " status " << status;
                ++kills;
                Verify(files_, c, b.before, after, false,
                       std::string(c.name) + " killed before changing call " + std::to_string(k));
                if (HasFatalFailure()) return;
            }
        }
    }
    std::printf("[ kills    ] %lld kill points survived\n", static_cast<long long>(kills));
}

TEST_F(Crash, EveryFileCallFailingOnceIsReportedAndLeavesTheFileWhole) {
    Baseline b = Prepare(files_, 14);
    struct Fault {
        FileCall call;
        FaultAction action;
        int error;
    };
    const Fault faults[] = {
        {FileCall::kWrite, FaultAction::kError, EIO},
        {FileCall::kWrite, FaultAction::kError, ENOSPC},
        {FileCall::kWrite, FaultAction::kShortCount, 0},
        {FileCall::kTruncate, FaultAction::kError, EIO},
        {FileCall::kRead, FaultAction::kError, EIO},
        {FileCall::kRead, FaultAction::kShortCount, 0},
        {FileCall::kLock, FaultAction::kError, ENOLCK},
        {FileCall::kOpen, FaultAction::kError, EIO},
        {FileCall::kSync, FaultAction::kError, EIO},
        {FileCall::kRemove, FaultAction::kError, EIO},
    };
    // At open: a failing read is the file's error, not "no database"; "no locks
    // available" is a lock that failed, the sharing claim included.
    ArmFileFault({FileCall::kRead, 1, FaultAction::kError, EIO});
    EXPECT_EQ(Inspect(files_).openCode, Code::kHardIo);
    ArmFileFault({FileCall::kRead, 2, FaultAction::kError, EIO});
    EXPECT_EQ(Inspect(files_).openCode, Code::kHardIo);
    ArmFileFault({FileCall::kLock, 1, FaultAction::kError, ENOLCK});
    EXPECT_EQ(Inspect(files_).openCode, Code::kSharingViolation);
    DisarmFileFault();
    int64_t injected = 0, reported = 0;
    for (const Case& c : kCases) {
        int64_t changes = 0;
        State after = RunWhole(files_, b, c, &changes);
        for (const Fault& fault : faults) {
            for (int64_t k = 1;; ++k) {
                Restore(files_, b.edb, b.edt);
                ASSERT_TRUE(OpenWork(files_));
                ArmFileFault({fault.call, k, fault.action, fault.error});
                bool ok = c.run();
                const bool fired = FileFaultFired();
                CallKernel(CloseAllDatabases);
                const bool firedAtClose = !fired && FileFaultFired();
                DisarmFileFault();
                if (!fired && !firedAtClose) break;  // the operation made fewer such calls
                ++injected;
                if (!ok) ++reported;
                Verify(files_, c, b.before, after, ok,
                       std::string(c.name) + " call " + std::to_string(k) + " of kind " +
                           std::to_string(int(fault.call)) + " failing");
                if (HasFatalFailure()) return;
            }
        }
    }
    std::printf(
        "[ faults   ] %lld injected, %lld reported as errors, the rest had no effect "
        "on the outcome\n",
        static_cast<long long>(injected), static_cast<long long>(reported));
    EXPECT_GT(reported, injected / 2);
}

// A pack interrupted by a crash of an older build leaves a journal in the
// earlier layout (a header of 56 bytes, the saved bytes straight after it,
// one FNV-1a lane): opening the file must still roll the pack back.
TEST_F(Crash, AJournalInTheEarlierLayoutIsStillRolledBack) {
    Baseline b = Prepare(files_, 3000);
    int32_t oldCount = 0, oldSerial = 0;
    uint64_t regionOffset = 0, dataOffset = 0;
    int32_t recordSize = 0;
    {
        std::unique_ptr<Database> db;
        OpenRequest request;
        request.gbkPath = files_.gbk();
        ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
        ASSERT_EQ(ReadRecordCount(*db, &oldCount), Code::kOk);
        oldSerial = GetI32(db->header + kHeaderCount + 4);
        regionOffset = db->recordOffset(1);  // record 2 is the first marked one
        dataOffset = db->dataOffset;
        recordSize = db->recordSize;
    }
    std::vector<uint8_t> region(b.edb.begin() + long(regionOffset), b.edb.end());
    std::vector<uint8_t> journal(56, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&journal[at], &v, 4); };
    auto put64 = [&](size_t at, uint64_t v) { std::memcpy(&journal[at], &v, 8); };
    put32(0, 0x524A5654);
    put32(4, 1);
    put32(8, uint32_t(oldCount));
    put32(12, uint32_t(oldSerial));
    put32(20, uint32_t(recordSize));
    put64(24, dataOffset);
    put64(32, regionOffset);
    put64(40, region.size());
    uint64_t h = 1469598103934665603ull;
    auto add = [&](const uint8_t* p, size_t n) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 1099511628211ull;
        }
        for (; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    add(journal.data(), 48);
    add(region.data(), region.size());
    put64(48, h);
    journal.insert(journal.end(), region.begin(), region.end());

    // The records moved, the new count never reached the disk (nor were the
    // dropped records' blocks freed).
    ASSERT_TRUE(RunOperation(files_, kCases[5]));
    rstest::WriteAll(files_.edt(), b.edt);
    std::vector<uint8_t> moved = rstest::ReadAll(files_.edb());
    moved.resize(b.edb.size(), 0);
    std::memcpy(&moved[kHeaderCount], &b.edb[kHeaderCount], 8);
    rstest::WriteAll(files_.edb(), moved);
    rstest::WriteAll(files_.edb() + "-journal", journal);
    State s = Inspect(files_);
    ASSERT_EQ(s.openCode, Code::kOk);
    EXPECT_EQ(s.rows, b.before.rows);
    EXPECT_FALSE(std::filesystem::exists(files_.edb() + "-journal"));
}

// A power cut keeps any subset of the writes made since the last sync. The
// pack commits with two such writes, the new count and the shorter length:
// whichever of them alone reaches the disk, the file opens as the old or as
// the new one.
TEST_F(Crash, APowerCutKeepingEitherWriteOfTheCommitLeavesTheOldOrTheNewFile) {
    Baseline b = Prepare(files_, 3000);
    int64_t changes = 0;
    const Case& pack = kCases[5];
    State after = RunWhole(files_, b, pack, &changes);
    for (bool countLands : {false, true}) {
        SCOPED_TRACE(countLands ? "only the count landed" : "only the shorter length landed");
        Restore(files_, b.edb, b.edt);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Syncs: the journal, its directory, the moved records, the commit.
            ArmFileFault({FileCall::kSync, 4, FaultAction::kKill, 0});
            RunOperation(files_, pack);
            _exit(3);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        ASSERT_TRUE(std::filesystem::exists(files_.edb() + "-journal"));
        std::vector<uint8_t> disk = rstest::ReadAll(files_.edb());
        ASSERT_LT(disk.size(), b.edb.size());  // moved, counted and shortened
        if (countLands) {
            disk.insert(disk.end(), b.edb.begin() + long(disk.size()), b.edb.end());
        } else {
            std::memcpy(&disk[kHeaderCount], &b.edb[kHeaderCount], 8);
        }
        rstest::WriteAll(files_.edb(), disk);
        State s = Inspect(files_);
        ASSERT_EQ(s.openCode, Code::kOk);
        EXPECT_EQ(s.rows, countLands ? after.rows : b.before.rows);
        EXPECT_FALSE(s.audit.damaged());
    }
}

}  // namespace
