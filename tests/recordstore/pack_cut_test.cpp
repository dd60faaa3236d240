// The program's delete (a marked record, then a pack) cut short in the middle
// of moving the records: by a power cut before each changing file call, with
// any choice of the unsynced pages lost, also while the next open rolls the
// pack back; and by SIGKILL at moments spread over a large pack. Every time
// the next writable open must show the records exactly as before the pack or
// exactly as after it, and `tavrin-db check` must find the file sound.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "format_reader.h"
#include "internal/file_fault.h"
#include "internal/pack_journal.h"
#include "tool_run.h"

namespace {

using namespace tavrin;
using namespace tavrin::rs;

struct Files {
    std::string dir;
    std::string edb() const { return dir + "/items.edb"; }
    std::string gbk() const { return Utf8ToGbk(edb()); }
    std::string journal() const { return edb() + "-journal"; }
};

// An item file of `count` records, each with its own bytes throughout, and
// the given records (0-based) marked.
void MakeItems(const Files& f, int32_t count, const std::vector<int32_t>& marked) {
    std::filesystem::remove(f.edb());
    ASSERT_EQ(CreateDatabaseFiles(f.gbk(), rstest::IncomeFields()), Code::kOk);
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = f.gbk();
    ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
    std::vector<uint8_t> bodies(size_t(count) * size_t(db->recordSize - 4));
    std::vector<const uint8_t*> pointers;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* body = &bodies[size_t(i) * size_t(db->recordSize - 4)];
        std::snprintf(reinterpret_cast<char*>(body), 20, "c%d", i % 7);
        const float amount = float(i) + 0.5f;
        const double when = 45000.0 + i;
        std::memcpy(body + 20, &amount, 4);
        std::memcpy(body + 40, &when, 8);
        std::snprintf(reinterpret_cast<char*>(body + 60), 50, "remark %d", i * 31);
        pointers.push_back(body);
    }
    ASSERT_EQ(AppendRecordImages(*db, pointers), Code::kOk);
    for (int32_t r : marked) ASSERT_EQ(MarkRecord(*db, r, true), Code::kOk);
}

// The whole file in one read (the stream-iterator reader is slow for
// megabytes).
std::vector<uint8_t> ReadWhole(const std::string& path) {
    std::vector<uint8_t> bytes(size_t(std::filesystem::file_size(path)));
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr || std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size())
        bytes.clear();
    if (in != nullptr) std::fclose(in);
    return bytes;
}

bool Pack(const Files& f) {
    const bool ok = CallKernel(OpenDatabase, MakeTextRef(f.gbk().c_str())).asBool() &&
                    CallKernel(PackDatabase).asBool();
    CallKernel(CloseAllDatabases);
    return ok;
}

bool OpensWritable(const Files& f) {
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = f.gbk();
    return OpenDatabaseFiles(request, &db) == Code::kOk;
}

bool SameRecords(const rstest::FormatReading& a, const rstest::FormatReading& b) {
    return a.count == b.count && a.records == b.records;
}

int WaitStatus(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

bool KilledBySigkill(int status) {
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

class PackCut : public ::testing::Test {
  protected:
    void SetUp() override { files_.dir = dir_.path(); }
    void TearDown() override {
        DisarmFileFault();
        CallKernel(CloseAllDatabases);
    }
    // Syncs cost nothing in memory; the cut is the recorder's, not the disk's.
    rstest::TempDir dir_{"rs-packcut", "/dev/shm"};
    void Restore(const std::vector<uint8_t>& edb) {
        rstest::WriteAll(files_.edb(), edb);
        std::filesystem::remove(files_.journal());
    }
    // Runs `action` in a child that a power cut before the n-th changing file
    // call kills.
    void CutChild(int64_t n, PowerLoss loss, uint64_t seed, bool (*action)(const Files&)) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ArmFileFault({FileCall::kChange, n, FaultAction::kPowerCut, 0, loss, seed});
            action(files_);
            _exit(3);
        }
        ASSERT_TRUE(KilledBySigkill(WaitStatus(child)));
    }
    // The next writable open shows the old or the new records, nothing else;
    // check then calls the file sound.
    void ExpectBeforeOrAfter(const rstest::FormatReading& before,
                             const rstest::FormatReading& after, bool asTool) {
        ASSERT_TRUE(OpensWritable(files_));
        EXPECT_FALSE(std::filesystem::exists(files_.journal()));
        const rstest::FormatReading r = rstest::ReadFormat(files_.edb(), "");
        EXPECT_FALSE(r.damaged());
        EXPECT_FALSE(r.duplicated);
        EXPECT_TRUE(SameRecords(r, before) || SameRecords(r, after))
            << "count " << r.count << " (before " << before.count << ", after " << after.count
            << ")";
        if (asTool) {
            const rstest::ToolResult verdict =
                rstest::RunTool({"check", QString::fromStdString(files_.edb())});
            EXPECT_EQ(verdict.status, 0) << verdict.out << verdict.err;
            EXPECT_EQ(verdict.out.rfind("ok: ", 0), 0u) << verdict.out;
        }
    }
    Files files_;
};

int64_t ChangingCalls(const Files& f, bool (*action)(const Files&)) {
    CountFileCalls();
    action(f);
    const int64_t n = FileCallsSeen(FileCall::kChange);
    DisarmFileFault();
    return n;
}

bool Reopen(const Files& f) {
    return OpensWritable(f);
}

// A power cut before every changing call of the pack, keeping all, none or a
// random choice of the unsynced pages; where the cut leaves a journal, a
// second cut at points of the rollback the next open runs. The file has 5000
// records, so the move goes over more than one chunk and about a hundred pages:
// one record dropped a third of the way in, as the program deletes; a run of
// records longer than a page together with single ones further on; and most
// of the file, so that the records move further than the pack keeps in memory.
TEST_F(PackCut, APackCutAnywhereAndItsRollbackCutAnywhereLeaveTheOldOrTheNewRecords) {
    constexpr int32_t kCount = 5000;
    auto span = [](int32_t first, int32_t end) {
        std::vector<int32_t> marks;
        for (int32_t r = first; r < end; ++r) marks.push_back(r);
        return marks;
    };
    std::vector<int32_t> scattered = span(1200, 1300);
    scattered.push_back(2500);
    scattered.push_back(4001);
    const std::vector<std::vector<int32_t>> shapes = {{kCount / 3}, scattered, span(800, 4700)};
    int64_t cuts = 0, rollbacksCut = 0;
    for (const std::vector<int32_t>& marks : shapes) {
        MakeItems(files_, kCount, marks);
        if (HasFatalFailure()) return;
        const std::vector<uint8_t> edb = rstest::ReadAll(files_.edb());
        const rstest::FormatReading before = rstest::ReadFormat(files_.edb(), "");
        const int64_t changes = ChangingCalls(files_, Pack);
        const rstest::FormatReading after = rstest::ReadFormat(files_.edb(), "");
        ASSERT_EQ(after.count, kCount - int32_t(marks.size()));
        ASSERT_GT(changes, 8);
        for (int64_t k = 1; k <= changes; ++k) {
            // Every loss for the program's delete; the other shapes lose a
            // random choice or everything unsynced.
            for (int mode = 0; mode < (marks.size() == 1 ? 3 : 2); ++mode) {
                const PowerLoss loss = mode == 0   ? PowerLoss::kRandom
                                       : mode == 1 ? PowerLoss::kAll
                                                   : PowerLoss::kNone;
                const uint64_t seed = uint64_t(k) * 100 + uint64_t(mode);
                SCOPED_TRACE(std::to_string(marks.size()) + " marked, cut before call " +
                             std::to_string(k) + ", loss mode " + std::to_string(mode));
                Restore(edb);
                CutChild(k, loss, seed, Pack);
                if (HasFatalFailure()) return;
                ++cuts;
                if (mode == 0 && std::filesystem::exists(files_.journal())) {
                    // The rollback itself cut at points spread over it, then
                    // run whole by the next open.
                    const std::vector<uint8_t> cutEdb = rstest::ReadAll(files_.edb());
                    const std::vector<uint8_t> cutJournal = rstest::ReadAll(files_.journal());
                    const int64_t steps = ChangingCalls(files_, Reopen);
                    for (int64_t j : {steps / 2, steps - 1}) {
                        if (j < 1) continue;
                        rstest::WriteAll(files_.edb(), cutEdb);
                        rstest::WriteAll(files_.journal(), cutJournal);
                        CutChild(j, PowerLoss::kRandom, seed * 7 + uint64_t(j), Reopen);
                        if (HasFatalFailure()) return;
                        ExpectBeforeOrAfter(before, after, false);
                        ++rollbacksCut;
                    }
                    rstest::WriteAll(files_.edb(), cutEdb);
                    rstest::WriteAll(files_.journal(), cutJournal);
                }
                ExpectBeforeOrAfter(before, after, k % 6 == 0 && mode == 0);
                if (HasFatalFailure()) return;
            }
        }
    }
    std::printf("[ cuts     ] %lld cuts of a pack, %lld of its rollback\n",
                static_cast<long long>(cuts), static_cast<long long>(rollbacksCut));
    EXPECT_GT(rollbacksCut, 0);
}

// A child packs 100,000 records (one dropped a third of the way in) and is
// killed at moments spread over the time a pack takes; what the page cache
// holds is what the next open finds. Afterwards the record file is byte for
// byte the one before the pack or the one after it.
TEST_F(PackCut, ALargePackKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
    constexpr int32_t kCount = 100000;
    MakeItems(files_, kCount, {kCount / 3});
    if (HasFatalFailure()) return;
    const std::vector<uint8_t> before = ReadWhole(files_.edb());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Pack(files_));
    const auto whole = std::chrono::steady_clock::now() - start;
    const std::vector<uint8_t> after = ReadWhole(files_.edb());
    ASSERT_LT(after.size(), before.size());
    constexpr int kKills = 20;
    int interrupted = 0, kills = 0;
    // A busy machine can shift the child's pack against the times; a few more
    // rounds then make sure some kills do land inside it.
    for (int i = 0; i < kKills || (interrupted < 3 && i < 3 * kKills); ++i, ++kills) {
        Restore(before);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            const bool opened =
                CallKernel(OpenDatabase, MakeTextRef(files_.gbk().c_str())).asBool();
            (void)!write(ready[1], "x", 1);
            if (opened) CallKernel(PackDatabase);
            pause();  // killed here at the latest
            _exit(3);
        }
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        // From the start of the pack to a little past its end (a child
        // process packs somewhat slower than the test did).
        const double at = (i % kKills) * 1.3 / kKills;
        std::this_thread::sleep_for(whole * at);
        kill(child, SIGKILL);
        ASSERT_TRUE(KilledBySigkill(WaitStatus(child)));
        const bool journal = std::filesystem::exists(files_.journal());
        ASSERT_TRUE(OpensWritable(files_)) << "kill " << i;
        const std::vector<uint8_t> now = ReadWhole(files_.edb());
        const bool asBefore = now == before, asAfter = now == after;
        EXPECT_TRUE(asBefore || asAfter)
            << "kill " << i << " after " << at << " of a pack, journal " << journal;
        interrupted += journal && asBefore ? 1 : 0;
        if (i % 10 == 5) {
            const rstest::ToolResult verdict =
                rstest::RunTool({"check", QString::fromStdString(files_.edb())});
            EXPECT_EQ(verdict.status, 0) << verdict.out << verdict.err;
        }
        if (HasFailure()) return;
    }
    std::printf("[ kills    ] %d kills, %d inside the pack rolled back\n", kills, interrupted);
    EXPECT_GT(interrupted, 0);
}

// The layout the previous build wrote (the whole region from the first
// dropped record saved at byte 4096, four-lane checksum): a pack it left
// half done, records moved and the new count not on disk, is rolled back to
// the very bytes before it.
TEST_F(PackCut, AJournalOfThePreviousLayoutIsStillRolledBack) {
    MakeItems(files_, 3000, {1000});
    if (HasFatalFailure()) return;
    const std::vector<uint8_t> before = ReadWhole(files_.edb());
    uint64_t region = 0, dataOffset = 0;
    {
        std::unique_ptr<Database> db;
        OpenRequest request;
        request.gbkPath = files_.gbk();
        ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
        region = db->recordOffset(1000);
        dataOffset = db->dataOffset;
    }
    const uint64_t length = before.size() - region;
    std::vector<uint8_t> journal(4096 + (length + 4095) / 4096 * 4096, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&journal[at], &v, 4); };
    auto put64 = [&](size_t at, uint64_t v) { std::memcpy(&journal[at], &v, 8); };
    put32(0, 0x524A5654);
    put32(4, 2);
    put32(8, uint32_t(rstest::I32At(before, 16)));
    put32(12, uint32_t(rstest::I32At(before, 20)));
    put32(20, uint32_t(rstest::I32At(before, 24)));
    put64(24, dataOffset);
    put64(32, region);
    put64(40, length);
    std::memcpy(&journal[4096], &before[region], length);
    JournalSum sum;
    sum.add(journal.data(), 32);
    sum.add(journal.data() + 32, 16);
    sum.add(journal.data() + 4096, length);  // under a megabyte: one step
    put64(48, sum.value());

    ASSERT_TRUE(Pack(files_));
    std::vector<uint8_t> moved = ReadWhole(files_.edb());
    moved.resize(before.size(), 0);
    std::memcpy(&moved[16], &before[16], 8);
    rstest::WriteAll(files_.edb(), moved);
    rstest::WriteAll(files_.journal(), journal);
    ASSERT_TRUE(OpensWritable(files_));
    EXPECT_TRUE(ReadWhole(files_.edb()) == before);
    EXPECT_FALSE(std::filesystem::exists(files_.journal()));
}

}  // namespace
