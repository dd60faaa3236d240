// Bad input never crashes or hangs: random files, truncated headers and
// descriptors, absurd counts and sizes, damaged block files. Every open gives
// a code of the table, and whatever opens can be read, written and packed.
#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

using namespace tavrin;
using rstest::Cmd;
using rstest::Text;

namespace {

bool KnownCode(int32_t code) {
    return code <= 0 && code >= -80;
}

// Exercises an opened database through the commands, bounded in work.
void Exercise(std::mt19937& rng) {
    rs::Database* db = DatabaseManager::instance().current();
    ASSERT_NE(db, nullptr);
    int32_t count = Cmd(GetRecordCount).asInt();
    EXPECT_TRUE(KnownCode(LastDatabaseError()));
    Cmd(GoToFirstRecord);
    for (int32_t r = 0; r < std::min(count, 20); ++r) {
        for (int32_t f = 1; f <= std::min(db->fieldCount(), 8); ++f) {
            Value v = Cmd(ReadField, MakeInt(f));
            EXPECT_TRUE(KnownCode(LastDatabaseError()));
            if (v.type == TypeCode::kText || v.type == TypeCode::kByteSet) Free(v.pointer());
        }
        Cmd(SkipRecords);
    }
    if (Cmd(AppendBlankRecord).asBool()) {
        std::string memo(size_t(rng() % 1500), 'q');
        for (int32_t f = 1; f <= std::min(db->fieldCount(), 8); ++f) {
            const int32_t type = db->fields[size_t(f - 1)].type;
            const bool text = type == rs::kFieldText || type == rs::kFieldMemo;
            Value v = text ? Text(memo) : MakeInt(int32_t(rng()));
            Cmd(WriteField, MakeInt(f), v);
            EXPECT_TRUE(KnownCode(LastDatabaseError()));
        }
    }
    Cmd(DeleteRecord);
    Cmd(PackDatabase);
    EXPECT_TRUE(KnownCode(LastDatabaseError()));
    Cmd(GetRecordCount);
}

class Fuzz : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(rs::CreateDatabaseFiles(dir.gbk("base.edb"),
                                          {{"T", 10, 10}, {"N", 3, 0}, {"M", 12, 0}, {"D", 8, 0}}),
                  rs::Code::kOk);
        ASSERT_TRUE(Cmd(OpenDatabase, Text(dir.gbk("base.edb"))).asBool());
        for (int i = 0; i < 30; ++i) {
            Cmd(AppendBlankRecord);
            Cmd(WriteField, MakeInt(1), Text("abcdefghijkl"));
            std::string memo(size_t(i * 70), 'm');
            Cmd(WriteField, MakeInt(3), Text(memo));
        }
        Cmd(CloseAllDatabases);
        base = rstest::ReadAll(dir.native("base.edb"));
        baseBlocks = rstest::ReadAll(dir.native("base.EDT"));
    }
    void TearDown() override { Cmd(CloseAllDatabases); }

    // Writes one case and opens it read-only and writable.
    void tryCase(const std::vector<uint8_t>& records, const std::vector<uint8_t>& blocks,
                 std::mt19937& rng) {
        rstest::WriteAll(dir.native("case.edb"), records);
        rstest::WriteAll(dir.native("case.EDT"), blocks);
        const Value none{};
        for (bool readOnly : {true, false}) {
            bool opened =
                Cmd(OpenDatabase, Text(dir.gbk("case.edb")), none, MakeBool(readOnly)).asBool();
            EXPECT_TRUE(KnownCode(LastDatabaseError()));
            if (opened) {
                Exercise(rng);
                Cmd(CloseDatabase);
            } else {
                EXPECT_LT(LastDatabaseError(), 0);
            }
        }
    }

    rstest::TempDir dir;
    std::vector<uint8_t> base, baseBlocks;
};

TEST_F(Fuzz, RandomFilesAndDamagedDatabases) {
    std::mt19937 rng(20261208);
    auto randomBytes = [&](size_t n) {
        std::vector<uint8_t> b(n);
        for (auto& x : b) x = uint8_t(rng());
        return b;
    };
    // Random files, some carrying the magic.
    for (int i = 0; i < 60; ++i) {
        auto b = randomBytes(rng() % 1200);
        if (i % 2 == 0 && b.size() >= 4) std::memcpy(b.data(), "WEDB", 4);
        tryCase(b, randomBytes(rng() % 2000), rng);
    }
    // Truncated at every interesting length of the header and the descriptors.
    for (size_t cut : {0ul, 4ul, 16ul, 111ul, 112ul, 115ul, 116ul, 150ul, 187ul, 188ul,
                       116ul + 4 * 72 - 1, 116ul + 4 * 72 + 17}) {
        tryCase({base.begin(), base.begin() + long(std::min(cut, base.size()))}, baseBlocks, rng);
    }
    // Absurd numbers in the header, the descriptors and the block-file header.
    const int32_t absurd[] = {0, -1, 1, 3, 7, 0x7FFFFFFF, int32_t(0x80000000), 1000000, 86};
    const size_t spots[] = {4,
                            16,
                            20,
                            24,
                            112,
                            116 + 20,
                            116 + 24,
                            116 + 28,
                            116 + 72 + 24,
                            116 + 144 + 20,
                            116 + 144 + 24};
    for (size_t at : spots) {
        for (int32_t value : absurd) {
            auto b = base;
            rstest::PutI32At(b, at, value);
            tryCase(b, baseBlocks, rng);
        }
    }
    for (size_t at : {4ul, 16ul, 20ul, 24ul, 512ul + 4, 512ul + 8, 1024ul + 4}) {
        for (int32_t value : absurd) {
            auto blocks = baseBlocks;
            rstest::PutI32At(blocks, at, value);
            tryCase(base, blocks, rng);
        }
    }
    // Random flips anywhere in both files.
    for (int i = 0; i < 120; ++i) {
        auto b = base;
        auto blocks = baseBlocks;
        for (int k = 0; k < 4; ++k) {
            b[rng() % b.size()] = uint8_t(rng());
            blocks[rng() % blocks.size()] = uint8_t(rng());
        }
        tryCase(b, blocks, rng);
    }
}

}  // namespace
