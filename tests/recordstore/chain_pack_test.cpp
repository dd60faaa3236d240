// Block chains (sizes, reuse, free list, the file shrinking back, damaged
// chains), packing by mark and by range with chains freed, and emptying.
#include <gtest/gtest.h>

#include "internal/block_file.h"
#include "test_support.h"

using namespace tavrin::rs;

namespace {

class Chains : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CreateDatabaseFiles(dir.gbk("m.edb"), {{"N", 3, 0}, {"M", 12, 0}}), Code::kOk);
        OpenRequest request;
        request.gbkPath = dir.gbk("m.edb");
        ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
    }
    Code write(const std::string& value, int32_t old, int32_t* first) {
        return WriteChain(db->blocks.get(), reinterpret_cast<const uint8_t*>(value.data()),
                          value.size(), old, first);
    }
    std::string read(int32_t first) {
        std::string out;
        EXPECT_EQ(ReadChain(db->blocks.get(), first, &out), Code::kOk);
        return out;
    }
    std::vector<uint8_t> blockFile() { return rstest::ReadAll(dir.native("m.EDT")); }
    int32_t header(size_t off) { return rstest::I32At(blockFile(), off); }

    rstest::TempDir dir;
    std::unique_ptr<Database> db;
};

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = char('a' + i % 26);
    return s;
}

TEST_F(Chains, SizesReuseAndShrinkBack) {
    int32_t first = 0;
    ASSERT_EQ(write(Pattern(1000), 0, &first), Code::kOk);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(header(16), 3);  // header block + 500 + 500
    EXPECT_EQ(read(first), Pattern(1000));

    int32_t again = 0;
    ASSERT_EQ(write(Pattern(1001), first, &again), Code::kOk);
    EXPECT_EQ(again, 1);  // the old chain is reused in order
    EXPECT_EQ(header(16), 4);
    EXPECT_EQ(rstest::FileSize(dir.native("m.EDT")), 4u * 512);
    EXPECT_EQ(read(again), Pattern(1001));
    auto b = blockFile();
    EXPECT_EQ(rstest::I32At(b, 3 * 512 + 0), 2);  // previous
    EXPECT_EQ(rstest::I32At(b, 3 * 512 + 4), 0);  // next
    EXPECT_EQ(rstest::I32At(b, 3 * 512 + 8), 1);  // used

    int32_t small = 0;
    ASSERT_EQ(write("0123456789", again, &small), Code::kOk);
    EXPECT_EQ(small, 1);
    EXPECT_EQ(read(small), "0123456789");
    // The two freed blocks were the last ones: the file shrinks back.
    EXPECT_EQ(header(16), 2);
    EXPECT_EQ(header(20), 0);
    EXPECT_EQ(header(24), 0);
    EXPECT_EQ(rstest::FileSize(dir.native("m.EDT")), 2u * 512);

    int32_t none = 0;
    ASSERT_EQ(write("", small, &none), Code::kOk);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(rstest::FileSize(dir.native("m.EDT")), 512u);
}

TEST_F(Chains, FreedBlocksInTheMiddleAreReusedFromTheFreeList) {
    int32_t a = 0, b = 0;
    ASSERT_EQ(write(Pattern(1200), 0, &a), Code::kOk);  // blocks 1-3
    ASSERT_EQ(write(Pattern(100), 0, &b), Code::kOk);   // block 4
    int32_t freed = 0;
    ASSERT_EQ(write("", a, &freed), Code::kOk);
    EXPECT_EQ(header(16), 5);  // block 4 still in use: nothing given back
    EXPECT_EQ(header(20), 3);
    EXPECT_EQ(header(24), 1);
    auto bytes = blockFile();
    EXPECT_EQ(rstest::I32At(bytes, 512 + 8), 0);  // used = 0, payload zeroed
    EXPECT_EQ(bytes[512 + 12], 0);
    int32_t c = 0;
    ASSERT_EQ(write(Pattern(700), 0, &c), Code::kOk);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(header(20), 1);
    EXPECT_EQ(header(24), 3);
    EXPECT_EQ(header(16), 5);
    EXPECT_EQ(read(c), Pattern(700));
    EXPECT_EQ(read(b), Pattern(100));
}

TEST_F(Chains, DamagedChainsEndWithAnErrorInsteadOfLooping) {
    int32_t a = 0;
    ASSERT_EQ(write(Pattern(1500), 0, &a), Code::kOk);
    auto bytes = blockFile();
    rstest::PutI32At(bytes, 3 * 512 + 4, 1);  // the last block points back to the first
    rstest::WriteAll(dir.native("m.EDT"), bytes);
    std::string out;
    EXPECT_EQ(ReadChain(db->blocks.get(), a, &out), Code::kBlockFileAccess);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(ReadChain(db->blocks.get(), 99, &out), Code::kBlockFileAccess);
    rstest::PutI32At(bytes, 3 * 512 + 4, 0);
    rstest::PutI32At(bytes, 2 * 512 + 8, 9999);  // used beyond the payload
    rstest::WriteAll(dir.native("m.EDT"), bytes);
    EXPECT_EQ(ReadChain(db->blocks.get(), a, &out), Code::kBlockFileAccess);
    EXPECT_EQ(ReadChain(nullptr, a, &out), Code::kBlockFileAccess);
}

// Damage left by faulty writers before: a free list that comes back to a live
// block is refused instead of handing the block out twice, and a pack does not
// free a block that a kept record's chain still uses.
TEST_F(Chains, DamageIsRefusedNotSpread) {
    int32_t a = 0, b = 0;
    ASSERT_EQ(write(Pattern(900), 0, &a), Code::kOk);  // blocks 1, 2
    ASSERT_EQ(write(Pattern(600), 0, &b), Code::kOk);  // blocks 3, 4
    auto bytes = blockFile();
    rstest::PutI32At(bytes, 20, 1);  // one free block: number 3, in b's chain
    rstest::PutI32At(bytes, 24, 3);
    rstest::WriteAll(dir.native("m.EDT"), bytes);
    int32_t c = 0;
    EXPECT_EQ(write(Pattern(10), 0, &c), Code::kBlockFileAccess);
    EXPECT_EQ(read(b), Pattern(600));
    rstest::PutI32At(bytes, 20, 0);
    rstest::PutI32At(bytes, 24, 0);
    rstest::WriteAll(dir.native("m.EDT"), bytes);

    // Records 1 and 2 share a's chain; 2 is marked and packed away.
    for (int32_t i = 0; i < 2; ++i) {
        ASSERT_EQ(AppendRecord(*db), Code::kOk);
        uint8_t head[4];
        PutI32(head, a);
        ASSERT_EQ(WriteFieldBytes(*db, i, db->fields[1], head), Code::kOk);
    }
    ASSERT_EQ(MarkRecord(*db, 1, true), Code::kOk);
    ASSERT_EQ(PackRecords(*db), Code::kOk);
    EXPECT_EQ(header(20), 0);  // nothing freed
    ASSERT_EQ(write(Pattern(2000), 0, &c), Code::kOk);
    EXPECT_EQ(read(a), Pattern(900));
    EXPECT_EQ(read(c), Pattern(2000));
}

class Packing : public ::testing::Test {
  protected:
    void SetUp() override {
        // 1012-byte records: 161 to a chunk, so 1000 records take seven chunks.
        ASSERT_EQ(
            CreateDatabaseFiles(dir.gbk("p.edb"), {{"N", 3, 0}, {"M", 12, 0}, {"Pad", 10, 1000}}),
            Code::kOk);
        OpenRequest request;
        request.gbkPath = dir.gbk("p.edb");
        ASSERT_EQ(OpenDatabaseFiles(request, &db), Code::kOk);
        for (int32_t i = 0; i < 1000; ++i) {
            ASSERT_EQ(AppendRecord(*db), Code::kOk);
            uint8_t n[4];
            PutI32(n, i);
            ASSERT_EQ(WriteFieldBytes(*db, i, db->fields[0], n), Code::kOk);
        }
    }
    int32_t count() {
        int32_t n = 0;
        EXPECT_EQ(ReadRecordCount(*db, &n), Code::kOk);
        return n;
    }
    int32_t numberAt(int32_t record) {
        uint8_t n[4] = {};
        EXPECT_EQ(ReadFieldBytes(*db, record, db->fields[0], n), Code::kOk);
        return GetI32(n);
    }
    rstest::TempDir dir;
    std::unique_ptr<Database> db;
};

TEST_F(Packing, RemovesMarkedRecordsAcrossChunksAndFreesTheirChains) {
    // A memo on records 0 and 998; record 0 is marked, so its chain goes.
    for (int32_t r : {0, 998}) {
        int32_t first = 0;
        std::string memo(600, 'x');
        ASSERT_EQ(WriteChain(db->blocks.get(), reinterpret_cast<const uint8_t*>(memo.data()),
                             memo.size(), 0, &first),
                  Code::kOk);
        uint8_t head[4];
        PutI32(head, first);
        ASSERT_EQ(WriteFieldBytes(*db, r, db->fields[1], head), Code::kOk);
    }
    for (int32_t r = 0; r < 1000; r += 3) ASSERT_EQ(MarkRecord(*db, r, true), Code::kOk);
    ASSERT_EQ(MarkRecord(*db, 3, true), Code::kOk);   // twice marks once
    ASSERT_EQ(MarkRecord(*db, 6, false), Code::kOk);  // unmarked again
    db->current = 17;
    ASSERT_EQ(count(), 1000);
    ASSERT_EQ(PackRecords(*db), Code::kOk);
    EXPECT_EQ(db->current, 0);
    std::vector<int32_t> expected;
    for (int32_t i = 0; i < 1000; ++i) {
        if (i % 3 != 0 || i == 6) expected.push_back(i);
    }
    ASSERT_EQ(count(), int32_t(expected.size()));
    for (size_t k = 0; k < expected.size(); ++k) ASSERT_EQ(numberAt(int32_t(k)), expected[k]);
    EXPECT_EQ(rstest::FileSize(dir.native("p.edb")), db->recordOffset(int64_t(expected.size())));
    auto header = rstest::ReadAll(dir.native("p.edb"));
    EXPECT_EQ(rstest::I32At(header, 20), 1001);  // next serial kept
    // The chain of record 0 was freed; record 998's chain is still readable.
    auto blocks = rstest::ReadAll(dir.native("p.EDT"));
    EXPECT_EQ(rstest::I32At(blocks, 20), 2);
    uint8_t head[4];
    ASSERT_EQ(ReadFieldBytes(*db, int32_t(expected.size()) - 1, db->fields[1], head), Code::kOk);
    std::string memo;
    EXPECT_EQ(ReadChain(db->blocks.get(), GetI32(head), &memo), Code::kOk);
    EXPECT_EQ(memo, std::string(600, 'x'));
}

TEST_F(Packing, WithoutMarksWritesNothing) {
    auto before = rstest::ReadAll(dir.native("p.edb"));
    db->current = 5;
    ASSERT_EQ(PackRecords(*db), Code::kOk);
    EXPECT_EQ(db->current, 0);
    EXPECT_EQ(rstest::ReadAll(dir.native("p.edb")), before);
}

TEST_F(Packing, RangeVariantAndEmptying) {
    ASSERT_EQ(PackRecords(*db, 10, 0), Code::kOk);
    EXPECT_EQ(count(), 1000);
    ASSERT_EQ(PackRecords(*db, 10, 5), Code::kOk);
    ASSERT_EQ(count(), 995);
    EXPECT_EQ(numberAt(9), 9);
    EXPECT_EQ(numberAt(10), 15);
    ASSERT_EQ(PackRecords(*db, 990, 100), Code::kOk);
    EXPECT_EQ(count(), 990);
    db->current = 4;
    ASSERT_EQ(EmptyRecords(*db), Code::kOk);
    EXPECT_EQ(db->current, 0);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(rstest::FileSize(dir.native("p.edb")), db->dataOffset);
    EXPECT_EQ(rstest::FileSize(dir.native("p.EDT")), 512u);
    ASSERT_EQ(AppendRecord(*db), Code::kOk);
    EXPECT_EQ(rstest::I32At(rstest::ReadAll(dir.native("p.edb")), int(db->dataOffset)), 1001);
}

}  // namespace
