// Every record operation under power cuts. A child process runs the operation
// and, just before one changing file call after another (every write,
// truncate, sync and remove), the power fails: the disk keeps what was synced
// and, of the rest, everything, nothing, or a seeded random choice of pages,
// sizes and directory entries. Then, as the next start would: `tavrin-db
// check` on the file as the cut left it must call it damaged exactly when an
// independent reader of the format does; a writable open must mend it; every
// record complete before is intact, nothing is shared or duplicated, the
// operation's own record is whole or absent; and an append, a mark and a pack
// go through. POWER_CUT_SEEDS=N adds N random choices per cut (a longer run by
// hand; the default is one).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>

#include "format_reader.h"
#include "internal/block_audit.h"
#include "internal/file_fault.h"
#include "recordstore/open_repairs.h"
#include "tool_run.h"

namespace {

using namespace tavrin;
using namespace tavrin::rs;
using rstest::FormatReading;

struct Files {
    std::string dir, name;
    std::string edb() const { return dir + "/" + name + ".edb"; }
    std::string edt() const { return dir + "/" + name + ".EDT"; }
    std::string gbk() const { return Utf8ToGbk(edb()); }
};

std::string Note(int seed, size_t length) {
    std::string s(length, 'a');
    for (size_t i = 0; i < length; ++i) s[i] = char('a' + (seed * 7 + int(i) / 97) % 26);
    return s;
}
const std::string kLong = Note(50, 6000);  // twelve blocks, over two pages
const std::string kBytes = Note(51, 700);

bool Write(int field, const Value& v) {
    return CallKernel(WriteField, MakeInt(field), v).asBool();
}
Value Bytes(const std::string& s, std::vector<uint8_t>* keep) {
    keep->assign(8 + s.size(), 0);
    auto* block = reinterpret_cast<ByteSetBlock*>(keep->data());
    block->marker = 1;
    block->length = uint32_t(s.size());
    std::memcpy(block->data(), s.data(), s.size());
    return MakeByteSetRef(block);
}
bool Open(const Files& f) {
    return CallKernel(OpenDatabase, MakeTextRef(f.gbk().c_str())).asBool();
}

// Memo file: Id, Name, Note (memo), Data (byte set); memos of 0-4 blocks, two
// cleared (a free list in the middle), every fourth record marked.
void MakeMemoFile(const Files& f) {
    ASSERT_EQ(CreateDatabaseFiles(f.gbk(), {{"Id", kFieldInt, 0},
                                            {"Name", kFieldText, 12},
                                            {"Note", kFieldMemo, 0},
                                            {"Data", kFieldByteSet, 0}}),
              Code::kOk);
    ASSERT_TRUE(Open(f));
    for (int i = 0; i < 40; ++i) {
        std::vector<uint8_t> keep;
        const std::string name = "rec" + std::to_string(i), note = Note(i, size_t(i % 5) * 430);
        ASSERT_TRUE(CallKernel(AppendBlankRecord).asBool());
        ASSERT_TRUE(Write(1, MakeInt(100 + i)) && Write(2, MakeTextRef(name.c_str())) &&
                    Write(3, MakeTextRef(note.c_str())) &&
                    Write(4, Bytes(Note(i + 9, size_t(i % 3) * 300), &keep)));
    }
    for (int r : {4, 5}) {
        ASSERT_TRUE(CallKernel(GoToRecord, MakeInt(r)).asBool() && Write(3, Value{}));
    }
    for (int r = 2; r <= 40; r += 4) {
        ASSERT_TRUE(CallKernel(GoToRecord, MakeInt(r)).asBool() &&
                    CallKernel(DeleteRecord).asBool());
    }
    CallKernel(CloseAllDatabases);
}

// Item file as the program keeps them: 3000 records, every fourth marked.
void MakeItemFile(const Files& f) {
    ASSERT_EQ(CreateDatabaseFiles(f.gbk(), rstest::IncomeFields()), Code::kOk);
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = f.gbk();
    ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
    std::vector<std::vector<uint8_t>> bodies(3000,
                                             std::vector<uint8_t>(size_t(db->recordSize - 4)));
    std::vector<const uint8_t*> pointers;
    for (size_t i = 0; i < bodies.size(); ++i) {
        std::snprintf(reinterpret_cast<char*>(bodies[i].data()), 20, "c%zu", i % 7);
        const float amount = float(i) + 0.5f;
        std::memcpy(&bodies[i][20], &amount, 4);
        pointers.push_back(bodies[i].data());
    }
    ASSERT_EQ(AppendRecordImages(*db, pointers), Code::kOk);
    for (int32_t r = 1; r < 3000; r += 4) ASSERT_EQ(MarkRecord(*db, r, true), Code::kOk);
}

const Files* gFiles = nullptr;

bool OpAppend() {
    std::vector<uint8_t> keep;
    return CallKernel(AppendBlankRecord).asBool() && Write(1, MakeInt(7)) &&
           Write(2, MakeTextRef("new")) && Write(3, MakeTextRef(kLong.c_str())) &&
           Write(4, Bytes(kBytes, &keep));
}
bool OpGrow() {  // serial 3: two blocks to four
    return CallKernel(GoToRecord, MakeInt(3)).asBool() && Write(3, MakeTextRef(kLong.c_str()));
}
bool OpShrink() {  // serial 10: four blocks to one
    return CallKernel(GoToRecord, MakeInt(10)).asBool() && Write(3, MakeTextRef("short"));
}
bool OpClear() {  // serial 9: three blocks to none
    return CallKernel(GoToRecord, MakeInt(9)).asBool() && Write(3, Value{});
}
bool OpPack() {
    return CallKernel(PackDatabase).asBool();
}
bool OpEmpty() {
    return CallKernel(EmptyDatabase).asBool();
}
bool OpImport() {  // 2000 rows after the 3000 records, all or nothing
    Database* db = DatabaseManager::instance().current();
    std::vector<uint8_t> body(size_t(db->recordSize - 4), 0);
    std::memcpy(body.data(), "imported", 8);
    const std::vector<const uint8_t*> rows(2000, body.data());
    WholeLock whole(db->records, LockWaitTime());
    return whole.code() == Code::kOk && AppendRecordImages(*db, rows) == Code::kOk;
}
bool OpReclaim() {  // the baseline's orphans go back to the free list
    CallKernel(CloseAllDatabases);
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = gFiles->gbk();
    request.sharing = Sharing::kExclusive;
    int32_t reclaimed = 0;
    return OpenDatabaseFiles(request, &db) == Code::kOk &&
           ReclaimBlocks(*db, &reclaimed) == Code::kOk && reclaimed > 0;
}

bool OpAddItem() {  // as the program adds: the whole item in one step
    static const std::string names[] = {rstest::G("收入类型"), rstest::G("收入金额"),
                                        rstest::G("收入时间"), rstest::G("收入备注信息")};
    const FieldAssignment fields[] = {{names[0].c_str(), MakeTextRef("new")},
                                      {names[1].c_str(), MakeFloat(12.5f)},
                                      {names[2].c_str(), MakeDateTime(45000.5)},
                                      {names[3].c_str(), MakeTextRef("remark")}};
    return AppendFilledRecord(fields, 4);
}
bool OpChangeItem() {  // as the program changes serial 7: the four fields in place
    return CallKernel(GoToRecord, MakeInt(7)).asBool() && Write(1, MakeTextRef("changed")) &&
           Write(2, MakeFloat(99.25f)) && Write(3, MakeDateTime(45001.25)) &&
           Write(4, MakeTextRef("other remark"));
}

enum class Kind { kRecord, kAllOrNothing };
struct Case {
    const char* name;
    bool items;  // on the item file, else the memo file
    bool (*run)();
    Kind kind;
    int32_t target;  // the serial whose record the operation writes; -1 a new one
};
const Case kCases[] = {
    {"append", false, OpAppend, Kind::kRecord, -1},
    {"grow", false, OpGrow, Kind::kRecord, 3},
    {"shrink", false, OpShrink, Kind::kRecord, 10},
    {"clear", false, OpClear, Kind::kRecord, 9},
    {"pack of memo records", false, OpPack, Kind::kAllOrNothing, 0},
    {"emptying", false, OpEmpty, Kind::kAllOrNothing, 0},
    {"reclaim", false, OpReclaim, Kind::kAllOrNothing, 0},
    {"pack of items", true, OpPack, Kind::kAllOrNothing, 0},
    {"import", true, OpImport, Kind::kAllOrNothing, 0},
    {"the program's add", true, OpAddItem, Kind::kRecord, -1},
    {"the program's change", true, OpChangeItem, Kind::kRecord, 7},
};

// A memo rewritten in place reads as the old value, the new one, or, cut
// between its blocks, the length of one of them with each byte the old or the
// new one at its place: never empty, never another record's bytes.
bool OldNewOrBetween(const std::string& got, const std::string& before, const std::string& now) {
    if (got == before || got == now) return true;
    if (got.empty() || (got.size() != before.size() && got.size() != now.size())) return false;
    for (size_t i = 0; i < got.size(); ++i) {
        if ((i >= before.size() || got[i] != before[i]) && (i >= now.size() || got[i] != now[i]))
            return false;
    }
    return true;
}

bool SameContent(const FormatReading& a, const FormatReading& b) {
    return a.records == b.records && a.chains == b.chains;
}

std::string Damage(const FormatReading& r) {
    return "short " + std::to_string(r.shortFile) + ", zero tags " + std::to_string(r.zeroTags) +
           ", block header " + std::to_string(r.blockHeaderBad) + ", block file short " +
           std::to_string(r.blockFileShort) + ", shared " + std::to_string(r.shared) +
           ", into free " + std::to_string(r.intoFree) + ", broken " + std::to_string(r.broken) +
           ", free list broken " + std::to_string(r.freeBroken) + ", live free " +
           std::to_string(r.liveFree) + ", free count high " + std::to_string(r.freeCountHigh);
}

// The memo record an operation wrote: a rewritten memo is old, new or cut
// between its blocks; a new record holds each value as written or empty, and
// (written in field order into one page) a value that reached the disk brings
// every value written before it.
void MemoRecordWritten(const FormatReading& r, const FormatReading& before,
                       const FormatReading& after, int32_t target, bool added) {
    if (target > 0) {
        const auto& chains = r.chains.at(target);
        EXPECT_TRUE(OldNewOrBetween(chains.at(2), before.chains.at(target).at(2),
                                    after.chains.at(target).at(2)))
            << chains.at(2).size();
        EXPECT_EQ(chains.at(3), before.chains.at(target).at(3));
    }
    if (!added) return;
    const auto& [serial, bytes] = *r.records.rbegin();
    const int32_t id = rstest::I32At(bytes, 4);
    const std::string name(reinterpret_cast<const char*>(&bytes[8]));
    EXPECT_TRUE(id == 0 || id == 7) << id;
    EXPECT_TRUE(name.empty() || name == "new") << name;
    const std::string& note = r.chains.at(serial).at(2);
    const std::string& data = r.chains.at(serial).at(3);
    EXPECT_TRUE(note.empty() || note == kLong) << note.size();
    EXPECT_TRUE(data.empty() || data == kBytes) << data.size();
    const bool present[] = {id != 0, !name.empty(), !note.empty(), !data.empty()};
    EXPECT_TRUE(std::is_sorted(std::begin(present), std::end(present), std::greater<bool>()))
        << present[0] << present[1] << present[2] << present[3];
}

// The item record an operation wrote (a change of `target`, or a new one):
// each field as before or as written; a new record whole or absent.
void ItemWritten(const FormatReading& r, const FormatReading& before, const FormatReading& after,
                 int32_t target) {
    const int32_t serial = target > 0 ? target : r.records.rbegin()->first;
    if (target == 0 && r.records.size() == before.records.size()) return;
    const std::vector<uint8_t>& got = r.records.at(serial);
    const std::vector<uint8_t> old =
        target > 0 ? before.records.at(serial) : std::vector<uint8_t>(got.size(), 0);
    const std::vector<uint8_t>& now = after.records.at(serial);
    for (size_t i = 0; i < r.offsets.size(); ++i) {
        const size_t from = size_t(r.offsets[i]);
        const size_t to = i + 1 < r.offsets.size() ? size_t(r.offsets[i + 1]) : got.size();
        const bool asBefore =
            std::equal(got.begin() + long(from), got.begin() + long(to), old.begin() + long(from));
        const bool asWritten =
            std::equal(got.begin() + long(from), got.begin() + long(to), now.begin() + long(from));
        EXPECT_TRUE(asBefore || asWritten) << "field " << i;
        if (target == 0) {
            EXPECT_TRUE(asWritten) << "field " << i << " of a new item missing";
        }
    }
}

class PowerCut : public ::testing::Test {
  protected:
    void SetUp() override {
        memo_ = {dir_.path(), "memo"};
        items_ = {dir_.path(), "items"};
        MakeMemoFile(memo_);
        // Record 13 lets go of its chain without freeing it: orphans for reclaim.
        auto records = rstest::ReadAll(memo_.edb());
        rstest::PutI32At(records, 404 + 12 * 28 + 20, 0);
        rstest::WriteAll(memo_.edb(), records);
        MakeItemFile(items_);
        for (const Files* f : {&memo_, &items_}) {
            saved_.push_back({rstest::ReadAll(f->edb()), rstest::ReadAll(f->edt())});
        }
    }
    void TearDown() override {
        DisarmFileFault();
        CallKernel(CloseAllDatabases);
    }
    void Restore(const Files& f) {
        const auto& [edb, edt] = saved_[&f == &memo_ ? 0 : 1];
        rstest::WriteAll(f.edb(), edb);
        if (!edt.empty()) rstest::WriteAll(f.edt(), edt);
        std::filesystem::remove(f.edb() + "-journal");
    }
    // Arms the plan (a count or a cut), runs the operation from open to close.
    static bool Run(const Files& f, const Case& c, const FaultPlan& plan) {
        gFiles = &f;
        ArmFileFault(plan);
        bool ok = Open(f) && c.run();
        CallKernel(CloseAllDatabases);
        return ok;
    }

    // What check finds, read-only, in this process: the open's own refusals,
    // records never written inside the count, and the block audit.
    static bool EngineFindsDamage(const Files& f) {
        std::unique_ptr<Database> db;
        OpenRequest request;
        request.gbkPath = f.gbk();
        request.readOnly = true;
        if (OpenDatabaseFiles(request, &db) != Code::kOk) return true;
        int32_t count = 0, unwritten = 0;
        EXPECT_EQ(ReadRecordCount(*db, &count), Code::kOk);
        EXPECT_EQ(ScanRecords(*db, 0, count,
                              [&](const uint8_t* record, int32_t) -> ScanStep {
                                  unwritten += GetI32(record) == 0 ? 1 : 0;
                                  return ScanStep::GoOn();
                              }),
                  Code::kOk);
        BlockAudit audit;
        EXPECT_EQ(AuditBlocks(*db, &audit), Code::kOk);
        return unwritten > 0 || audit.damaged();
    }

    // Check reads the file as the cut left it (rolling back a pack, as any
    // opener does) and calls it damaged exactly when the reader does; the
    // tool itself, as a process, every few cuts.
    void Verify(const Files& f, const Case& c, const FormatReading& before,
                const FormatReading& after, bool asTool) {
        std::string said;
        bool damaged = false;
        if (asTool) {
            const rstest::ToolResult verdict =
                rstest::RunTool({"check", QString::fromStdString(f.edb())});
            ASSERT_TRUE(verdict.status == 0 || verdict.status == 1) << verdict.err;
            EXPECT_EQ(verdict.status == 0, verdict.out.rfind("ok: ", 0) == 0) << verdict.out;
            damaged = verdict.status == 1;
            said = verdict.out + verdict.err;
        }
        const bool found = EngineFindsDamage(f);
        if (!asTool) damaged = found;
        EXPECT_EQ(found, damaged) << said;
        const FormatReading raw = rstest::ReadFormat(f.edb(), f.edt());
        EXPECT_EQ(damaged, raw.damaged()) << Damage(raw) << "\n" << said;
        std::unique_ptr<Database> db;
        OpenRequest request;
        request.gbkPath = f.gbk();
        ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
        db.reset();
        (void)TakeOpenRepairs();
        const FormatReading r = rstest::ReadFormat(f.edb(), f.edt());
        ASSERT_FALSE(r.damaged()) << Damage(r);
        EXPECT_FALSE(r.duplicated);
        if (c.kind == Kind::kAllOrNothing) {
            EXPECT_TRUE(SameContent(r, before) || SameContent(r, after));
        } else {
            for (const auto& [serial, bytes] : before.records) {
                ASSERT_EQ(r.records.count(serial), 1u) << "lost record " << serial;
                if (serial == c.target) continue;
                EXPECT_EQ(r.records.at(serial), bytes) << "changed record " << serial;
                EXPECT_EQ(r.chains.count(serial), before.chains.count(serial));
                if (r.chains.count(serial)) {
                    EXPECT_EQ(r.chains.at(serial), before.chains.at(serial)) << serial;
                }
            }
            const size_t added = r.records.size() - before.records.size();
            ASSERT_LE(added, 1u);
            if (c.items) {
                ItemWritten(r, before, after, c.target > 0 ? c.target : 0);
            } else {
                MemoRecordWritten(r, before, after, c.target, added == 1);
            }
        }
        // The file goes on working.
        ASSERT_TRUE(Open(f));
        EXPECT_TRUE(CallKernel(AppendBlankRecord).asBool());
        if (!c.items) {
            EXPECT_TRUE(Write(3, MakeTextRef(kLong.c_str())));
        }
        EXPECT_TRUE(CallKernel(DeleteRecord).asBool());
        EXPECT_TRUE(CallKernel(PackDatabase).asBool());
        CallKernel(CloseAllDatabases);
        EXPECT_FALSE(rstest::ReadFormat(f.edb(), f.edt()).damaged());
    }

    // Syncs cost nothing in memory; the cut is the recorder's, not the disk's.
    rstest::TempDir dir_{"rs-power", "/dev/shm"};
    Files memo_, items_;
    std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> saved_;
};

TEST_F(PowerCut, EveryOperationCutBeforeEachChangingFileCall) {
    const char* more = std::getenv("POWER_CUT_SEEDS");
    const int seeds = more != nullptr ? std::max(1, std::atoi(more)) : 1;
    int64_t cuts = 0;
    for (const Case& c : kCases) {
        const Files& f = c.items ? items_ : memo_;
        Restore(f);
        const FormatReading before = rstest::ReadFormat(f.edb(), f.edt());
        ASSERT_FALSE(before.damaged()) << Damage(before);
        ASSERT_TRUE(Run(f, c, {FileCall::kChange, 0, FaultAction::kError, 0})) << c.name;
        const int64_t changes = FileCallsSeen(FileCall::kChange);
        DisarmFileFault();
        const FormatReading after = rstest::ReadFormat(f.edb(), f.edt());
        ASSERT_GT(changes, 0) << c.name;
        int64_t caseCuts = 0;
        for (int64_t k = 1; k <= changes; ++k) {
            for (int mode = 0; mode < 2 + seeds; ++mode) {
                const PowerLoss loss = mode == 0   ? PowerLoss::kAll
                                       : mode == 1 ? PowerLoss::kNone
                                                   : PowerLoss::kRandom;
                const uint64_t seed = uint64_t(k) * 1000 + uint64_t(mode);
                Restore(f);
                pid_t child = fork();
                ASSERT_GE(child, 0);
                if (child == 0) {
                    Run(f, c, {FileCall::kChange, k, FaultAction::kPowerCut, 0, loss, seed});
                    _exit(3);
                }
                int status = 0;
                waitpid(child, &status, 0);
                ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                    << c.name << " call " << k << " status " << status;
                SCOPED_TRACE(std::string(c.name) + " cut before changing call " +
                             std::to_string(k) + ", loss mode " + std::to_string(mode) + " seed " +
                             std::to_string(seed));
                Verify(f, c, before, after, cuts % 8 == 0);
                if (HasFatalFailure()) return;
                ++cuts;
                ++caseCuts;
            }
        }
        std::printf("[ cuts     ] %-22s %3lld changing calls, %4lld cuts\n", c.name,
                    static_cast<long long>(changes), static_cast<long long>(caseCuts));
    }
    std::printf("[ cuts     ] %lld power cuts survived\n", static_cast<long long>(cuts));
}

}  // namespace
