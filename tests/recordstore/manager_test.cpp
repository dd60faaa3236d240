// The open-database list: the same file under other spellings, look-up by
// alias, title and path, and which database is current after closing.
#include <gtest/gtest.h>
#include <unistd.h>

#include "recordstore/current_database.h"
#include "recordstore/detached_database.h"
#include "runtime/errors.h"
#include "test_support.h"

using namespace tavrin;
using rstest::Cmd;
using rstest::G;
using rstest::Text;

namespace {

class Manager : public ::testing::Test {
  protected:
    void SetUp() override {
        char buffer[4096];
        saved = getcwd(buffer, sizeof buffer);
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        for (const char* name : {"财务收入.edb", "财务支出.edb", "收入类型.edb"}) {
            ASSERT_EQ(rs::CreateDatabaseFiles(G(name), {{"N", 3, 0}}), rs::Code::kOk);
        }
    }
    void TearDown() override {
        Cmd(CloseAllDatabases);
        chdir(saved.c_str());
        SetErrorHook(nullptr);
    }
    DatabaseManager& manager() { return DatabaseManager::instance(); }
    std::string currentTitle() {
        rs::Database* db = manager().current();
        return db ? GbkToUtf8(db->title) : "";
    }

    rstest::TempDir dir;
    std::string saved;
};

TEST_F(Manager, TheSameFileUnderAnySpellingIsRefused) {
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务收入.edb"))).asBool());
    const std::vector<std::string> spellings = {
        G("财务收入"),               // default extension
        G("财务收入.EDB"),           // case
        dir.gbk("财务收入.edb"),     // absolute
        G("./sub/../财务收入.edb"),  // relative with detours
        G(".\\财务收入.edb"),        // backslash
    };
    for (const std::string& name : spellings) {
        EXPECT_FALSE(Cmd(OpenDatabase, Text(name)).asBool()) << GbkToUtf8(name);
        EXPECT_EQ(LastDatabaseError(), -38);
    }
    // Another link to the same file is the same file too.
    ASSERT_EQ(link(dir.native("财务收入.edb").c_str(), dir.native("link.edb").c_str()), 0);
    EXPECT_FALSE(Cmd(OpenDatabase, Text("link.edb")).asBool());
    EXPECT_EQ(LastDatabaseError(), -38);
    EXPECT_EQ(manager().size(), 1);
    EXPECT_EQ(manager().currentIndex(), 0);
}

TEST_F(Manager, OpenArgumentsAndFailuresLeaveTheListAlone) {
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务收入.edb"))).asBool());
    EXPECT_FALSE(Cmd(OpenDatabase, Text("")).asBool());
    EXPECT_EQ(LastDatabaseError(), -3);
    EXPECT_FALSE(Cmd(OpenDatabase, Text(G("财务支出.edb")), Text("1bad")).asBool());
    EXPECT_EQ(LastDatabaseError(), -24);
    EXPECT_FALSE(Cmd(OpenDatabase, Text("missing.edb")).asBool());
    EXPECT_EQ(LastDatabaseError(), -3);
    const Value none{};
    EXPECT_FALSE(
        Cmd(OpenDatabase, Text(G("财务支出.edb")), none, none, none, none, none, Text("index"))
            .asBool());
    EXPECT_EQ(LastDatabaseError(), -30);  // index files are not kept by this engine
    EXPECT_EQ(manager().size(), 1);
    EXPECT_EQ(currentTitle(), "财务收入");
    // Read-only: appending fails with the file's access error.
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务支出.edb")), none, MakeBool(true)).asBool());
    EXPECT_FALSE(Cmd(AppendBlankRecord).asBool());
    EXPECT_EQ(LastDatabaseError(), -6);
    EXPECT_EQ(Cmd(GetRecordCount).asInt(), 0);
}

TEST_F(Manager, SelectByAliasTitleAndPath) {
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务支出.edb"))).asBool());
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务收入.edb")), Text(G("收入"))).asBool());
    EXPECT_TRUE(Cmd(SelectDatabase, Text(G("财务支出"))).asBool());
    EXPECT_EQ(currentTitle(), "财务支出");
    EXPECT_TRUE(Cmd(SelectDatabase, Text(G("收入"))).asBool());
    EXPECT_EQ(currentTitle(), "财务收入");
    Cmd(SelectDatabase, Text(G("财务支出")));
    // With its extension the name is neither a title nor a full path.
    EXPECT_FALSE(Cmd(SelectDatabase, Text(G("财务收入.edb"))).asBool());
    EXPECT_EQ(LastDatabaseError(), -66);
    EXPECT_EQ(currentTitle(), "财务支出");
    EXPECT_FALSE(Cmd(SelectDatabase, Text("")).asBool());
    std::string full = dir.gbk("财务收入.EDB");  // no case, backslashes or slashes
    for (char& c : full) c = c == '/' ? '\\' : c;
    EXPECT_TRUE(Cmd(SelectDatabase, Text(full)).asBool());
    EXPECT_EQ(currentTitle(), "财务收入");
    // An alias may not break the name rule but may be long.
    EXPECT_TRUE(Cmd(OpenDatabase, Text(G("收入类型.edb")), Text(G("很长很长的别名很长很长的别名")))
                    .asBool());
}

TEST_F(Manager, ClosingKeepsTheRightDatabaseCurrent) {
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务收入.edb"))).asBool());
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("财务支出.edb"))).asBool());
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("收入类型.edb"))).asBool());
    Cmd(SelectDatabase, Text(G("财务支出")));
    Cmd(CloseDatabase, Text(G("财务收入")));  // stood before the current one
    EXPECT_EQ(currentTitle(), "财务支出");
    EXPECT_EQ(manager().currentIndex(), 0);
    Cmd(CloseDatabase, Text("nothing"));
    EXPECT_EQ(manager().size(), 2);
    Cmd(CloseDatabase);
    EXPECT_EQ(manager().current(), nullptr);
    EXPECT_EQ(manager().size(), 1);
    EXPECT_FATAL(Cmd(ReadField, MakeInt(1)), "未指定当前数据库或者指定数据库未打开");
    Cmd(CloseDatabase);  // no current database: nothing
    EXPECT_EQ(LastDatabaseError(), 0);
    // A closed file can be opened again.
    EXPECT_TRUE(Cmd(OpenDatabase, Text(G("财务收入.edb"))).asBool());
}

// The entry points beside the commands, as the program and the grid use them:
// the current database's fields, scans and whole lock, and a second opener of
// the same file outside the manager.
TEST_F(Manager, TheCurrentDatabaseIsScannedAndLockedWholeAgainstAnotherOpener) {
    ASSERT_EQ(rs::CreateDatabaseFiles(G("类型.edb"), {{G("类型"), 10, 8}}), rs::Code::kOk);
    EXPECT_EQ(rs::CurrentRecordIndex(), -1);
    EXPECT_EQ(rs::ScanCurrentDatabase([](int32_t, int32_t) {}), rs::Code::kNoCurrentDatabase);
    // Another opener, as the category grid beside the program's lists.
    rs::DetachedDatabase other;
    ASSERT_EQ(other.open(G("类型.edb")), rs::Code::kOk);
    ASSERT_EQ(other.fields().size(), 1u);
    ASSERT_TRUE(Cmd(OpenDatabase, Text(G("类型.edb"))).asBool());
    for (const char* text : {"工资", "奖金", "利息"}) {
        ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
        ASSERT_TRUE(Cmd(WriteField, Text(G("类型")), Text(G(text))).asBool());
    }
    const std::vector<rs::FieldInfo> fields = rs::CurrentDatabaseFields();
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].name, G("类型"));
    EXPECT_EQ(fields[0].type, rs::kFieldText);
    EXPECT_EQ(fields[0].width, 8);

    // While the whole lock is held (a backup's copy), the other opener cannot append.
    rs::Code appendWhileLocked = rs::Code::kOk;
    EXPECT_EQ(rs::WithCurrentDatabaseLocked(0, [&] { appendWhileLocked = other.appendRecord(); }),
              rs::Code::kOk);
    EXPECT_TRUE(rs::IsBusy(appendWhileLocked)) << rs::ToInt(appendWhileLocked);
    ASSERT_EQ(other.appendRecord(), rs::Code::kOk);
    const std::string pension = G("养老金");
    std::vector<uint8_t> bytes(8, 0);
    std::memcpy(bytes.data(), pension.data(), pension.size());
    ASSERT_EQ(other.writeField(3, 0, bytes.data()), rs::Code::kOk);
    EXPECT_EQ(other.writeField(3, 1, bytes.data()), rs::Code::kNoSuchField);

    // The scan sees the other opener's record; ReadField reads each record in turn.
    std::vector<int32_t> serials;
    std::vector<std::string> texts;
    ASSERT_EQ(rs::ScanCurrentDatabase([&](int32_t index, int32_t serial) {
                  EXPECT_EQ(rs::CurrentRecordIndex(), index);
                  serials.push_back(serial);
                  texts.push_back(GbkToUtf8(rstest::TextResult(Cmd(ReadField, MakeInt(1)))));
              }),
              rs::Code::kOk);
    EXPECT_EQ(serials, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(texts, (std::vector<std::string>{"工资", "奖金", "利息", "养老金"}));
    EXPECT_EQ(rs::SerialOfRecord(2), 3);
    int32_t index = -1;
    EXPECT_EQ(rs::FindRecordBySerial(3, &index, 0), rs::Code::kOk);  // a wrong hint is only a hint
    EXPECT_EQ(index, 2);

    // The other opener removes a record (once the commands gave up the record
    // they last wrote); the commands see the shorter file.
    Cmd(GoToFirstRecord);
    ASSERT_EQ(other.removeRecords(0, 1), rs::Code::kOk);
    EXPECT_EQ(other.recordCount(), 3);
    EXPECT_EQ(Cmd(GetRecordCount).asInt(), 3);
    std::string first;
    ASSERT_EQ(other.readField(0, 0, &first), rs::Code::kOk);
    EXPECT_EQ(GbkToUtf8(first.c_str()), "奖金");
}

TEST(DatabaseErrorTable, MessagesByCode) {
    EXPECT_STREQ(DatabaseError(rs::Code::kOk), "");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code::kAlreadyOpen)), "指定数据库已经被打开");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code::kNoFields)), "字段数目必须大于 0 ");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code::kBadPasswordText)), "无效的密码文本");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code(-77))), "未知错误");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code(-81))), "未知错误");
    EXPECT_EQ(GbkToUtf8(DatabaseError(rs::Code(5))), "未知错误");
}

}  // namespace
