// Creation limits and codes, the exact bytes written, and the consistency tests
// and repairs made when a database is opened.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "recordstore/password_asker.h"
#include "test_support.h"

using namespace tavrin::rs;
using rstest::G;

namespace {

Code Open(const std::string& gbkPath, bool readOnly, std::unique_ptr<Database>* db,
          Sharing sharing = Sharing::kDenyNone, const std::string& password = "") {
    OpenRequest request;
    request.gbkPath = gbkPath;
    request.readOnly = readOnly;
    request.sharing = sharing;
    request.password = password;
    return OpenDatabaseFiles(request, db);
}

TEST(CreateDatabase, ChecksRunInOrderAndCreateNothingOnFailure) {
    rstest::TempDir dir;
    const std::string path = dir.gbk("a.edb");
    EXPECT_EQ(CreateDatabaseFiles("", {{"A", 3, 0}}), Code::kFileNotFound);
    EXPECT_EQ(CreateDatabaseFiles(path, {}), Code::kNoFields);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"", 3, 0}, {"B", 3, 0}}), Code::kNoFields);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"1abc", 3, 0}}), Code::kBadFieldName);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"a_b", 3, 0}}), Code::kBadFieldName);
    EXPECT_EQ(CreateDatabaseFiles(path, {{std::string(17, 'x'), 3, 0}}), Code::kBadFieldName);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"A", 0, 0}}), Code::kBadFieldType);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"A", 13, 0}}), Code::kBadFieldType);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"A", 10, 0}}), Code::kBadFieldSize);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"A", 10, 1025}}), Code::kBadFieldSize);
    EXPECT_EQ(CreateDatabaseFiles(path, {{"Name", 3, 0}, {"NAME", 5, 0}}), Code::kDuplicateField);
    EXPECT_EQ(CreateDatabaseFiles(path, {{G("金额"), 3, 0}, {G("金额"), 5, 0}}),
              Code::kDuplicateField);
    // A bad name is reported before a bad type of the same field.
    EXPECT_EQ(CreateDatabaseFiles(path, {{"9", 99, 0}}), Code::kBadFieldName);
    EXPECT_FALSE(std::filesystem::exists(dir.native("a.edb")));
}

TEST(CreateDatabase, AcceptsTheLimits) {
    rstest::TempDir dir;
    EXPECT_EQ(CreateDatabaseFiles(dir.gbk("a"), {{std::string(16, 'x'), 10, 1024}}), Code::kOk);
    EXPECT_EQ(CreateDatabaseFiles(dir.gbk("b"), {{G("全角ＡＢ１２汉字"), 7, 0}}), Code::kOk);
    // A size on a non-text field is not read.
    EXPECT_EQ(CreateDatabaseFiles(dir.gbk("c"), {{"N", 3, -5}}), Code::kOk);
}

TEST(CreateDatabase, WritesHeaderAndDescriptorsByteForByte) {
    rstest::TempDir dir;
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("财务收入.edb"), rstest::IncomeFields()), Code::kOk);
    auto bytes = rstest::ReadAll(dir.native("财务收入.edb"));
    ASSERT_EQ(bytes.size(), 116u + 72 * 4);
    EXPECT_EQ(std::memcmp(bytes.data(), "WEDB", 4), 0);
    EXPECT_EQ(rstest::I32At(bytes, 4), 0x00010000);
    double created;
    std::memcpy(&created, &bytes[8], 8);
    EXPECT_GT(created, 40000.0);                                      // after the year 2009
    EXPECT_NEAR(created * 86400, std::round(created * 86400), 1e-3);  // whole seconds
    EXPECT_EQ(rstest::I32At(bytes, 16), 0);                           // records
    EXPECT_EQ(rstest::I32At(bytes, 20), 1);                           // next serial
    EXPECT_EQ(rstest::I32At(bytes, 24), 86);                          // 4 + 20 + 4 + 8 + 50
    for (int i = 28; i < 112; ++i) EXPECT_EQ(bytes[size_t(i)], 0) << i;
    EXPECT_EQ(rstest::I32At(bytes, 112), 4);
    const int32_t offsets[] = {4, 24, 28, 36};
    const int32_t sizes[] = {20, 0, 0, 50};
    for (int f = 0; f < 4; ++f) {
        size_t d = 116 + 72 * size_t(f);
        EXPECT_EQ(rstest::I32At(bytes, d + 24), offsets[f]);
        EXPECT_EQ(rstest::I32At(bytes, d + 28), sizes[f]);
        for (size_t k = d + 32; k < d + 72; ++k) EXPECT_EQ(bytes[k], 0);
    }
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[116])), G("收入类型"));
    // Only text fields: no block file.
    EXPECT_FALSE(std::filesystem::exists(dir.native("财务收入.EDT")));
}

TEST(CreateDatabase, DefaultExtensionAndBlockFile) {
    rstest::TempDir dir;
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("memo"), {{"T", 10, 8}, {"M", 12, 0}}), Code::kOk);
    EXPECT_TRUE(std::filesystem::exists(dir.native("memo.EDB")));
    auto blocks = rstest::ReadAll(dir.native("memo.EDT"));
    ASSERT_EQ(blocks.size(), 512u);
    EXPECT_EQ(std::memcmp(blocks.data(), "WEDT", 4), 0);
    EXPECT_EQ(rstest::I32At(blocks, 16), 1);
    EXPECT_EQ(rstest::I32At(blocks, 20), 0);
    EXPECT_EQ(rstest::I32At(blocks, 24), 0);
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("dot."), {{"T", 3, 0}}), Code::kOk);
    EXPECT_TRUE(std::filesystem::exists(dir.native("dot.EDB")));
    // A dot in a directory name is no extension.
    std::filesystem::create_directory(dir.native("d.x"));
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("d.x\\file"), {{"T", 3, 0}}), Code::kOk);
    EXPECT_TRUE(std::filesystem::exists(dir.native("d.x/file.EDB")));
}

TEST(CreateDatabase, ReportsTheFileErrorAndKeepsAFileInUse) {
    rstest::TempDir dir;
    EXPECT_EQ(CreateDatabaseFiles(dir.gbk("missing/a.edb"), {{"T", 3, 0}}), Code::kFileNotFound);
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("used.edb"), {{"T", 3, 0}}), Code::kOk);
    std::unique_ptr<Database> db;
    ASSERT_EQ(Open(dir.gbk("used.edb"), false, &db), Code::kOk);
    ASSERT_EQ(AppendRecord(*db), Code::kOk);
    // Replacing a file another opener uses would destroy its records.
    EXPECT_EQ(CreateDatabaseFiles(dir.gbk("used.edb"), {{"T", 3, 0}}), Code::kSharingViolation);
    int32_t count = 0;
    EXPECT_EQ(ReadRecordCount(*db, &count), Code::kOk);
    EXPECT_EQ(count, 1);
}

class OpenCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CreateDatabaseFiles(path(), {{"T", 10, 6}, {"N", 3, 0}}), Code::kOk);
        std::unique_ptr<Database> db;
        ASSERT_EQ(Open(path(), false, &db), Code::kOk);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(AppendRecord(*db), Code::kOk);
    }
    std::string path() const { return dir.gbk("c.edb"); }
    std::string native() const { return dir.native("c.edb"); }
    Code openWith(std::vector<uint8_t> bytes, bool readOnly) {
        rstest::WriteAll(native(), bytes);
        std::unique_ptr<Database> db;
        return Open(path(), readOnly, &db);
    }
    rstest::TempDir dir;
};

TEST_F(OpenCheck, RejectsWhatIsNoDatabase) {
    const auto good = rstest::ReadAll(native());
    const size_t dataOffset = 116 + 2 * 72;
    ASSERT_EQ(good.size(), dataOffset + 3 * 14);
    EXPECT_EQ(openWith({good.begin(), good.begin() + 111}, false), Code::kNotDatabase);
    auto bad = good;
    bad[0] = 'X';
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 24, 0);  // record size
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 16, -1);  // record count
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 20, 0);  // next serial
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 4, 0x00010001);
    EXPECT_EQ(openWith(bad, false), Code::kVersionTooHigh);
    bad = good;
    rstest::PutI32At(bad, 112, 0);  // field count
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 112, 1000000);  // more descriptors than the file holds
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    EXPECT_EQ(openWith({good.begin(), good.begin() + 116 + 72 + 10}, false), Code::kNotDatabase);
    bad = good;
    std::memset(&bad[116], 'A', 17);  // no NUL in the name
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 116 + 20, 13);  // type
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 116 + 28, 0);  // text size
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 116 + 28, 1025);  // wider than any created text
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 24, 0x7FFFFFFF);  // a record size no field list fills
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    bad = good;
    rstest::PutI32At(bad, 116 + 72 + 24, 12);  // integer field reaching past the record
    EXPECT_EQ(openWith(bad, false), Code::kNotDatabase);
    // None of those opens changed the file they rejected.
    EXPECT_EQ(rstest::ReadAll(native()), bad);
    EXPECT_EQ(openWith(good, false), Code::kOk);
}

TEST_F(OpenCheck, RepairsAShortFileOnAWritableOpenOnly) {
    auto bytes = rstest::ReadAll(native());
    const size_t dataOffset = 116 + 2 * 72;
    bytes.resize(dataOffset + 14 * 2 + 7);  // 2.5 records, header says 3
    EXPECT_EQ(openWith(bytes, true), Code::kFileSizeWrong);
    EXPECT_EQ(rstest::ReadAll(native()), bytes);  // untouched
    std::unique_ptr<Database> db;
    ASSERT_EQ(Open(path(), false, &db), Code::kOk);
    int32_t count = 0;
    EXPECT_EQ(ReadRecordCount(*db, &count), Code::kOk);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(rstest::FileSize(native()), dataOffset + 2 * 14);
    EXPECT_EQ(rstest::I32At(rstest::ReadAll(native()), 16), 2);
}

TEST_F(OpenCheck, CutsTrailingBytesOnAWritableOpen) {
    auto bytes = rstest::ReadAll(native());
    const size_t size = bytes.size();
    bytes.resize(size + 5, 0xEE);
    EXPECT_EQ(openWith(bytes, true), Code::kOk);
    EXPECT_EQ(rstest::FileSize(native()), size + 5);
    EXPECT_EQ(openWith(bytes, false), Code::kOk);
    EXPECT_EQ(rstest::FileSize(native()), size);
}

TEST_F(OpenCheck, FileErrorsMapToTheirCodes) {
    std::unique_ptr<Database> db;
    EXPECT_EQ(Open(dir.gbk("none.edb"), false, &db), Code::kFileNotFound);
    EXPECT_EQ(Open(dir.gbk("c.edb/x.edb"), false, &db), Code::kBadPath);
    std::filesystem::create_directory(dir.native("dir.edb"));
    EXPECT_EQ(Open(dir.gbk("dir.edb"), false, &db), Code::kAccessDenied);
    EXPECT_EQ(db, nullptr);
}

TEST(OpenBlockFile, ChecksAndRepairsTheBlockFile) {
    rstest::TempDir dir;
    const std::string path = dir.gbk("m.edb");
    const std::string blocks = dir.native("m.EDT");
    ASSERT_EQ(CreateDatabaseFiles(path, {{"M", 12, 0}}), Code::kOk);
    const auto good = rstest::ReadAll(blocks);
    std::unique_ptr<Database> db;
    auto openWith = [&](std::vector<uint8_t> b, bool readOnly) {
        rstest::WriteAll(blocks, b);
        return Open(path, readOnly, &db);
    };
    EXPECT_EQ(openWith({good.begin(), good.begin() + 20}, false), Code::kBlockFileUnreadable);
    auto bad = good;
    bad[0] = 'Z';
    EXPECT_EQ(openWith(bad, false), Code::kBlockFileUnreadable);
    bad = good;
    rstest::PutI32At(bad, 16, 0);
    EXPECT_EQ(openWith(bad, false), Code::kBlockFileUnreadable);
    bad = good;
    rstest::PutI32At(bad, 20, 1);  // free count must stay below the block count
    EXPECT_EQ(openWith(bad, false), Code::kBlockFileUnreadable);
    bad = good;
    rstest::PutI32At(bad, 24, 1);
    EXPECT_EQ(openWith(bad, false), Code::kBlockFileUnreadable);
    bad = good;
    rstest::PutI32At(bad, 4, 0x00020000);
    EXPECT_EQ(openWith(bad, false), Code::kBlockFileVersion);
    bad = good;
    rstest::PutI32At(bad, 16, 3);  // says 3 blocks, holds 1
    EXPECT_EQ(openWith(bad, true), Code::kBlockFileBroken);
    EXPECT_EQ(openWith(bad, false), Code::kOk);
    db.reset();
    EXPECT_EQ(rstest::I32At(rstest::ReadAll(blocks), 16), 1);
    std::filesystem::remove(blocks);
    EXPECT_EQ(Open(path, false, &db), Code::kBlockFileUnreadable);
}

TEST(OpenPassword, DigestAndDialog) {
    rstest::TempDir dir;
    const std::string path = dir.gbk("p.edb");
    ASSERT_EQ(CreateDatabaseFiles(path, {{"N", 3, 0}}), Code::kOk);
    std::unique_ptr<Database> db;
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "secret"), Code::kWrongPassword);
    auto bytes = rstest::ReadAll(dir.native("p.edb"));
    std::memcpy(&bytes[0], "WCDB", 4);
    std::string digest = "2BB80D537B1DA3E38BD30361AA855686BDE0EACD7162FEF6A25FE97BF527A25B";
    std::memcpy(&bytes[28], digest.data(), digest.size());  // SHA-256 of "secret", upper case
    rstest::WriteAll(dir.native("p.edb"), bytes);
    EXPECT_EQ(Open(path, false, &db), Code::kWrongPassword);
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "Secret"), Code::kWrongPassword);
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "secret"), Code::kOk);
    db.reset();

    std::vector<std::string> messages;
    int answers = 0;
    SetPasswordAsker([&](const PasswordQuestion& q) -> std::optional<std::string> {
        messages.push_back(tavrin::GbkToUtf8(q.warning));
        ++answers;
        return answers < 3 ? "wrong" : "secret";
    });
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "?"), Code::kOk);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "");
    EXPECT_EQ(messages[1], "密码错误，您还有 2 次重新输入的机会。");
    EXPECT_EQ(messages[2], "密码错误，您还有 1 次重新输入的机会。");
    db.reset();
    answers = -10;  // three wrong answers
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "?"), Code::kWrongPassword);
    SetPasswordAsker(nullptr);
    EXPECT_EQ(Open(path, false, &db, Sharing::kDenyNone, "?"), Code::kWrongPassword);
}

TEST(LockTable, NestsAndSplitsTheWholeFileLock) {
    rstest::TempDir dir;
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("l.edb"), {{"N", 3, 0}}), Code::kOk);
    std::unique_ptr<Database> a, b;
    ASSERT_EQ(Open(dir.gbk("l.edb"), false, &a), Code::kOk);
    ASSERT_EQ(Open(dir.gbk("l.edb"), false, &b), Code::kOk);
    LockedFile& la = a->records;
    LockedFile& lb = b->records;
    EXPECT_EQ(la.unlockByte(16), Code::kUnlockFailed);
    ASSERT_EQ(la.lockByte(16, 0), Code::kOk);
    ASSERT_EQ(la.lockByte(16, 0), Code::kOk);
    EXPECT_EQ(lb.lockByte(16, 0), Code::kLockViolation);
    EXPECT_EQ(la.unlockByte(16), Code::kOk);
    EXPECT_EQ(lb.lockByte(16, 0), Code::kLockViolation);  // still held once
    EXPECT_EQ(la.unlockByte(16), Code::kOk);
    EXPECT_EQ(lb.lockByte(16, 0), Code::kOk);
    EXPECT_EQ(lb.unlockByte(16), Code::kOk);

    // The whole-file lock around a held byte; releasing it keeps the byte.
    ASSERT_EQ(la.lockByte(16, 0), Code::kOk);
    ASSERT_EQ(la.lockWhole(0), Code::kOk);
    ASSERT_EQ(la.lockWhole(0), Code::kOk);
    EXPECT_EQ(lb.lockByte(300, 0), Code::kLockViolation);
    ASSERT_EQ(la.lockByte(300, 0), Code::kOk);  // covered: only counted
    ASSERT_EQ(la.unlockByte(300), Code::kOk);
    EXPECT_EQ(lb.lockByte(300, 0), Code::kLockViolation);  // no hole punched
    EXPECT_EQ(la.unlockWhole(), Code::kOk);
    EXPECT_EQ(lb.lockByte(300, 0), Code::kLockViolation);
    EXPECT_EQ(la.unlockWhole(), Code::kOk);
    EXPECT_EQ(lb.lockByte(300, 0), Code::kOk);
    EXPECT_EQ(lb.lockByte(16, 0), Code::kLockViolation);
    EXPECT_EQ(lb.lockWhole(0), Code::kLockViolation);
    EXPECT_EQ(lb.lockByte(301, 0), Code::kOk);  // a failed whole lock left nothing behind
    EXPECT_EQ(la.unlockWhole(), Code::kUnlockFailed);

    // The retry rule: a wait time lets the other side finish.
    EXPECT_EQ(la.unlockByte(16), Code::kOk);
    ASSERT_EQ(la.lockByte(16, 0), Code::kOk);
    uint64_t start = TickCount();
    EXPECT_EQ(lb.lockByte(16, 100), Code::kLockViolation);
    EXPECT_GE(TickCount() - start, 100u);
}

// True when some open file holds a lock on the byte (seen through a plain descriptor).
bool ByteLockedByOthers(const std::string& nativePath, uint64_t off) {
    int fd = open(nativePath.c_str(), O_RDWR);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = off_t(off);
    fl.l_len = 1;
    fcntl(fd, F_OFD_GETLK, &fl);
    close(fd);
    return fl.l_type != F_UNLCK;
}

TEST(LockTable, ExclusiveSharingSkipsRecordFileLocksButNotBlockFileLocks) {
    rstest::TempDir dir;
    ASSERT_EQ(CreateDatabaseFiles(dir.gbk("x.edb"), {{"M", 12, 0}}), Code::kOk);
    for (Sharing sharing : {Sharing::kExclusive, Sharing::kDenyRead, Sharing::kDenyWrite}) {
        std::unique_ptr<Database> db;
        ASSERT_EQ(Open(dir.gbk("x.edb"), false, &db, sharing), Code::kOk);
        ASSERT_EQ(db->records.lockByte(16, 0), Code::kOk);
        ASSERT_EQ(db->blocks->lockByte(0, 0), Code::kOk);
        const bool skips = sharing != Sharing::kDenyWrite;
        EXPECT_EQ(ByteLockedByOthers(dir.native("x.edb"), 16), !skips);
        EXPECT_TRUE(ByteLockedByOthers(dir.native("x.EDT"), 0));
        EXPECT_EQ(db->records.unlockByte(16), Code::kOk);
        EXPECT_EQ(db->records.unlockByte(16), Code::kUnlockFailed);  // still counted
    }
}

}  // namespace
