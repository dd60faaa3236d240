// The record commands over Values: navigation on empty and small files, field
// kinds and conversions, text cutting, memo fields, conditions and sums.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cmath>

#include "runtime/errors.h"
#include "test_support.h"

using namespace tavrin;
using rstest::Cmd;
using rstest::G;
using rstest::Text;

namespace {

class Commands : public ::testing::Test {
  protected:
    void SetUp() override {
        ArrayBlock* fields = NewFieldInfArray(4);
        FieldInf* f = FieldInfElements(fields);
        names = {G("收入类型"), G("收入金额"), G("收入时间"), G("收入备注信息")};
        f[0] = {names[0].c_str(), 10, 20};
        f[1] = {names[1].c_str(), 5, 20};
        f[2] = {names[2].c_str(), 8, 20};
        f[3] = {names[3].c_str(), 10, 50};
        path = dir.gbk("财务收入.edb");
        EXPECT_TRUE(Cmd(CreateDatabase, Text(path), MakeFieldInfArray(fields)).asBool());
        Free(fields);
        ASSERT_TRUE(Cmd(OpenDatabase, Text(path)).asBool());
    }
    void TearDown() override {
        Cmd(CloseAllDatabases);
        SetErrorHook(nullptr);
    }
    void appendIncome(const char* kind, double amount, double when, const char* remark = "") {
        ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
        std::string k = G(kind), r = G(remark);
        ASSERT_TRUE(Cmd(WriteField, Text(names[0]), Text(k)).asBool());
        ASSERT_TRUE(Cmd(WriteField, MakeInt(2), MakeDouble(amount)).asBool());
        ASSERT_TRUE(Cmd(WriteField, Text(names[2]), MakeDateTime(when)).asBool());
        ASSERT_TRUE(Cmd(WriteField, MakeDouble(4.0), Text(r)).asBool());
    }
    int32_t count() { return Cmd(GetRecordCount).asInt(); }

    rstest::TempDir dir;
    std::string path;
    std::vector<std::string> names;
};

TEST_F(Commands, NavigationInAnEmptyDatabase) {
    Cmd(GoToFirstRecord);
    EXPECT_EQ(LastDatabaseError(), 0);
    EXPECT_TRUE(Cmd(IsPastLastRecord).asBool());
    EXPECT_FALSE(Cmd(SkipRecords, MakeInt(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -26);
    EXPECT_FALSE(Cmd(SkipRecords, MakeInt(-1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -25);
    EXPECT_TRUE(Cmd(GoToRecord, MakeInt(5)).asBool());
    EXPECT_EQ(DatabaseManager::instance().current()->current, 0);
    Value v = Cmd(ReadField, Text(names[0]));
    EXPECT_EQ(v.type, TypeCode::kText);
    EXPECT_EQ(v.pointer(), nullptr);
    EXPECT_EQ(LastDatabaseError(), -10);  // the record lies beyond the end of the file
    DatabaseManager::instance().current()->current = -1;
    v = Cmd(ReadField, MakeInt(2));
    EXPECT_EQ(v.type, TypeCode::kFloat);
    EXPECT_EQ(LastDatabaseError(), -60);
    EXPECT_FALSE(Cmd(WriteField, MakeInt(2), MakeFloat(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -60);
}

TEST_F(Commands, NavigationWithThreeRecords) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
    EXPECT_EQ(count(), 3);
    rs::Database* db = DatabaseManager::instance().current();
    EXPECT_EQ(db->current, 2);               // the appended record is current
    EXPECT_TRUE(Cmd(SkipRecords).asBool());  // default 1
    EXPECT_EQ(db->current, 3);
    EXPECT_TRUE(Cmd(IsPastLastRecord).asBool());
    EXPECT_FALSE(Cmd(SkipRecords, MakeInt(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -26);
    EXPECT_TRUE(Cmd(SkipRecords, MakeInt(-10)).asBool());
    EXPECT_EQ(db->current, -1);
    EXPECT_FALSE(Cmd(SkipRecords, MakeInt(-1)).asBool());
    EXPECT_TRUE(Cmd(SkipRecords, MakeInt(0)).asBool());
    EXPECT_TRUE(Cmd(GoToRecord, MakeInt(0)).asBool());
    EXPECT_EQ(db->current, 0);
    EXPECT_TRUE(Cmd(GoToRecord, MakeInt(100)).asBool());
    EXPECT_EQ(db->current, 2);
    EXPECT_FALSE(Cmd(IsPastLastRecord).asBool());
    EXPECT_TRUE(Cmd(SkipRecords, MakeInt(100)).asBool());
    EXPECT_EQ(db->current, 3);
}

TEST_F(Commands, FieldKindsTextCuttingAndClamping) {
    appendIncome("工资", 1234.5678, 45000.5, "午餐");
    // Field names compare without case; positions count from 1.
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, Text(names[3]))), G("午餐"));
    Value amount = Cmd(ReadField, MakeInt(2));
    EXPECT_EQ(amount.type, TypeCode::kFloat);
    EXPECT_EQ(amount.asFloat(), 1234.5678f);                         // stored in single precision
    EXPECT_EQ(Cmd(ReadField, MakeDouble(3.9)).asDouble(), 45000.5);  // position 3

    // Exactly the declared size: no NUL, read back whole; longer: cut.
    std::string twenty = G("一二三四五六七八九十");  // 20 bytes
    ASSERT_TRUE(Cmd(WriteField, MakeInt(1), Text(twenty)).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, MakeInt(1))), twenty);
    std::string longer = twenty + "abc";
    ASSERT_TRUE(Cmd(WriteField, MakeInt(1), Text(longer)).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, MakeInt(1))), twenty);
    // A cut never keeps half of a double-byte character.
    ASSERT_TRUE(Cmd(WriteField, MakeInt(1), Text("A" + twenty)).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, MakeInt(1))), "A" + twenty.substr(0, 18));
    ASSERT_TRUE(Cmd(WriteField, MakeInt(1), Text("ab")).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, MakeInt(1))), "ab");
    auto bytes = rstest::ReadAll(dir.native("财务收入.edb"));
    const size_t field = 116 + 4 * 72 + 4;
    EXPECT_EQ(bytes[field + 2], 0);
    EXPECT_EQ(bytes[field + 19], 0);  // the rest of the field is zeroed

    // A text into a date-time field is refused and changes nothing.
    EXPECT_FALSE(Cmd(WriteField, MakeInt(3), Text("2024")).asBool());
    EXPECT_EQ(LastDatabaseError(), -72);
    EXPECT_EQ(Cmd(ReadField, MakeInt(3)).asDouble(), 45000.5);
    // Stored dates beyond the range read back clamped.
    ASSERT_TRUE(Cmd(WriteField, MakeInt(3), MakeDateTime(3000000.0)).asBool());
    EXPECT_EQ(Cmd(ReadField, MakeInt(3)).asDouble(), 2958465.0);
    ASSERT_TRUE(Cmd(WriteField, MakeInt(3), MakeDateTime(-700000.0)).asBool());
    EXPECT_EQ(Cmd(ReadField, MakeInt(3)).asDouble(), -657434.0);
    // An omitted value writes the empty value of the kind.
    ASSERT_TRUE(Cmd(WriteField, MakeInt(2)).asBool());
    EXPECT_EQ(Cmd(ReadField, MakeInt(2)).asFloat(), 0.0f);

    EXPECT_FALSE(Cmd(WriteField, Text("nosuch"), MakeInt(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -61);
    EXPECT_FALSE(Cmd(WriteField, MakeInt(5), MakeInt(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -61);
}

TEST_F(Commands, FieldCommandsHoldTheRecordLockUntilAnotherCommand) {
    appendIncome("工资", 1, 45000);
    appendIncome("奖金", 2, 45001);
    Cmd(GoToFirstRecord);  // gives up the appended record, which would keep others out
    rs::OpenRequest request;
    request.gbkPath = path;
    std::unique_ptr<rs::Database> other;  // another open file, as another process has
    ASSERT_EQ(rs::OpenDatabaseFiles(request, &other), rs::Code::kOk);
    rs::Database* db = DatabaseManager::instance().current();
    const uint64_t first = db->recordOffset(0), second = db->recordOffset(1);

    Cmd(GoToFirstRecord);
    Free(Cmd(ReadField, MakeInt(1)).pointer());
    EXPECT_EQ(other->records.lockByte(first, 0), rs::Code::kLockViolation);
    Cmd(ReadField, MakeInt(2));  // the same record: the same lock
    EXPECT_EQ(db->records.heldCount(), 1);
    Cmd(SkipRecords);  // any other command gives it up
    EXPECT_EQ(db->records.heldCount(), 0);
    ASSERT_EQ(other->records.lockByte(first, 0), rs::Code::kOk);
    // A record another opener holds cannot be read.
    Cmd(GoToFirstRecord);
    EXPECT_EQ(Cmd(ReadField, MakeInt(2)).asFloat(), 0.0f);
    EXPECT_EQ(LastDatabaseError(), -13);
    ASSERT_EQ(other->records.unlockByte(first), rs::Code::kOk);

    // An appended record stays held while its fields are written.
    ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
    EXPECT_EQ(other->records.lockByte(db->recordOffset(2), 0), rs::Code::kLockViolation);
    EXPECT_TRUE(Cmd(WriteField, MakeInt(2), MakeFloat(3)).asBool());
    EXPECT_EQ(db->records.heldCount(), 1);
    EXPECT_EQ(Cmd(GetRecordCount).asInt(), 3);
    EXPECT_EQ(db->records.heldCount(), 0);
    // A write to a record that is gone is refused even while the record is held.
    Cmd(GoToRecord, MakeInt(3));
    Cmd(ReadField, MakeInt(2));
    DatabaseManager::instance().current()->current = 7;
    EXPECT_FALSE(Cmd(WriteField, MakeInt(2), MakeFloat(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -60);

    // With an event loop the lock ends when the loop regains control.
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    Cmd(GoToRecord, MakeInt(2));
    Cmd(ReadField, MakeInt(2));
    EXPECT_EQ(other->records.lockByte(second, 0), rs::Code::kLockViolation);
    QCoreApplication::processEvents();
    EXPECT_EQ(other->records.lockByte(second, 0), rs::Code::kOk);
}

TEST(CommandKinds, EveryFieldTypeRoundTrips) {
    rstest::TempDir dir;
    ArrayBlock* fields = NewFieldInfArray(12);
    FieldInf* f = FieldInfElements(fields);
    const char* names[] = {"B", "S", "I", "L", "F", "D", "Q", "T", "P", "X", "Y", "M"};
    for (int i = 0; i < 12; ++i) f[i] = {names[i], i + 1, 8};
    std::string path = dir.gbk("all");
    ASSERT_TRUE(Cmd(CreateDatabase, Text(path), MakeFieldInfArray(fields)).asBool());
    Free(fields);
    ASSERT_TRUE(Cmd(OpenDatabase, Text(path)).asBool());
    ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("b")).type, TypeCode::kByte);
    ASSERT_TRUE(Cmd(WriteField, Text("B"), MakeInt(300)).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("B")).lo, 44u);
    ASSERT_TRUE(Cmd(WriteField, Text("S"), MakeDouble(-12.9)).asBool());
    EXPECT_EQ(int16_t(Cmd(ReadField, Text("S")).lo), -12);
    ASSERT_TRUE(Cmd(WriteField, Text("L"), MakeLong(int64_t(1) << 40)).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("L")).asLong(), int64_t(1) << 40);
    ASSERT_TRUE(Cmd(WriteField, Text("D"), MakeFloat(0.5f)).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("D")).asDouble(), 0.5);
    ASSERT_TRUE(Cmd(WriteField, Text("Q"), MakeBool(true)).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("Q")).lo, 1u);
    EXPECT_FALSE(Cmd(WriteField, Text("Q"), MakeInt(1)).asBool());
    Value sub{0x1234, 0, TypeCode::kSubroutine};
    ASSERT_TRUE(Cmd(WriteField, Text("P"), sub).asBool());
    EXPECT_EQ(Cmd(ReadField, Text("P")).lo, 0x1234u);
    const uint8_t raw[] = {0, 1, 2, 0, 255};
    ByteSetBlock* set = NewByteSet(raw, sizeof raw);
    ASSERT_TRUE(Cmd(WriteField, Text("Y"), MakeByteSetRef(set)).asBool());
    Free(set);
    Value back = Cmd(ReadField, Text("Y"));
    ASSERT_NE(back.pointer(), nullptr);
    EXPECT_EQ(ByteSetOf(back), std::string_view(reinterpret_cast<const char*>(raw), 5));
    Free(back.pointer());
    std::string memo(1001, 'm');
    ASSERT_TRUE(Cmd(WriteField, Text("M"), Text(memo)).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, Text("M"))), memo);
    EXPECT_EQ(rstest::FileSize(dir.native("all.EDT")), 5u * 512);  // 5 bytes + 1001 bytes
    ASSERT_TRUE(Cmd(WriteField, Text("M"), Text("short")).asBool());
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, Text("M"))), "short");
    EXPECT_EQ(rstest::FileSize(dir.native("all.EDT")), 3u * 512);
    EXPECT_FALSE(Cmd(WriteField, Text("M"), MakeInt(3)).asBool());
    EXPECT_EQ(LastDatabaseError(), -72);
    ASSERT_TRUE(Cmd(WriteField, Text("M")).asBool());  // omitted: the chain is freed
    EXPECT_EQ(Cmd(ReadField, Text("M")).pointer(), nullptr);
    // A field argument of another kind is runtime error 11.
    EXPECT_FATAL(Cmd(ReadField, MakeBool(true)), "fatal 11:");
    Cmd(CloseAllDatabases);
    SetErrorHook(nullptr);
}

// Deferred code for conditions and expressions: reads a field of the scanned record.
struct FieldTest {
    std::string field;
    std::string equals;
};
Value CategoryIs(void* context) {
    auto* t = static_cast<FieldTest*>(context);
    Value v = Cmd(ReadField, Text(t->field));
    bool same = TextOf(v) == t->equals;
    Free(v.pointer());
    return MakeBool(same);
}
Value AmountOf(void* context) {
    return Cmd(ReadField, MakeInt(2));
}
Value NotABool(void*) {
    return MakeInt(1);
}

TEST_F(Commands, FindSumAndDeleteWithConditions) {
    const char* kinds[] = {"工资", "奖金", "工资", "利息", "工资"};
    for (int i = 0; i < 5; ++i) appendIncome(kinds[i], 100.1 * (i + 1), 45000 + i);
    rs::Database* db = DatabaseManager::instance().current();
    FieldTest wage{names[0], G("工资")};
    DeferredArgument isWage{CategoryIs, &wage};
    DeferredArgument amount{AmountOf, nullptr};

    Cmd(GoToFirstRecord);
    EXPECT_TRUE(Cmd(FindRecord, MakeDeferred(&isWage)).asBool());
    EXPECT_EQ(db->current, 0);
    Cmd(SkipRecords);
    EXPECT_TRUE(Cmd(FindRecord, MakeDeferred(&isWage)).asBool());
    EXPECT_EQ(db->current, 2);
    Cmd(SkipRecords);
    Cmd(SkipRecords);  // at 4, the last wage
    FieldTest none{names[0], G("没有")};
    DeferredArgument isNone{CategoryIs, &none};
    EXPECT_FALSE(Cmd(FindRecord, MakeDeferred(&isNone)).asBool());
    EXPECT_EQ(LastDatabaseError(), 0);
    EXPECT_EQ(db->current, 4);  // back where it was

    // The single-precision amounts are summed converted back to double.
    double expected = 0;
    for (int i = 0; i < 5; ++i) expected += double(float(100.1 * (i + 1)));
    EXPECT_EQ(Cmd(SumRecords, MakeDeferred(&amount)).asDouble(), expected);
    double wages = double(float(100.1)) + double(float(300.3)) + double(float(500.5));
    EXPECT_EQ(Cmd(SumRecords, MakeDeferred(&amount), MakeDeferred(&isWage)).asDouble(), wages);
    EXPECT_EQ(db->current, 4);

    db->current = 1;
    EXPECT_TRUE(Cmd(DeleteRecord, MakeDeferred(&isWage)).asBool());
    EXPECT_EQ(db->current, 1);
    EXPECT_TRUE(Cmd(DeleteRecord).asBool());  // record 1 by the current record
    EXPECT_TRUE(Cmd(DeleteRecord).asBool());  // twice marks once
    EXPECT_EQ(count(), 5);
    // Marked records still count in sums until the file is packed.
    EXPECT_EQ(Cmd(SumRecords, MakeDeferred(&amount)).asDouble(), expected);
    EXPECT_TRUE(Cmd(PackDatabase).asBool());
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(db->current, 0);
    EXPECT_EQ(rstest::TextResult(Cmd(ReadField, Text(names[0]))), G("利息"));

    DeferredArgument bad{NotABool, nullptr};
    EXPECT_FATAL(Cmd(FindRecord, MakeDeferred(&bad)),
                 "用作进行条件判断的子语句参数只能接受逻辑型数据");
    EXPECT_FATAL(Cmd(SumRecords, MakeDeferred(&isWage)), "fatal 11:.*last database error -76");

    EXPECT_TRUE(Cmd(EmptyDatabase).asBool());
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(Cmd(SumRecords, MakeDeferred(&amount)).asDouble(), 0.0);
}

// The field readings the scans take straight from the record images give what
// the same code gives called per record: amounts of every size (and ones that
// are not finite), categories that fill their field, a condition on the sum.
TEST_F(Commands, FieldReadingsScanLikeTheirCodeCalledPerRecord) {
    const std::string full = std::string(20, 'x'), longer = std::string(21, 'x');
    const double amounts[] = {0.1, 1e30, -2.5, 1234567.891, 3e-7, 0, 7.25, -1e-3};
    for (int i = 0; i < 400; ++i) {
        ASSERT_TRUE(Cmd(AppendBlankRecord).asBool());
        const std::string kind = i % 7 == 0 ? full : G(i % 3 ? "工资" : "奖金");
        ASSERT_TRUE(Cmd(WriteField, Text(names[0]), Text(kind)).asBool());
        const float a = i == 50   ? INFINITY
                        : i == 51 ? -INFINITY
                        : i == 52 ? NAN
                                  : float(amounts[i % 8] * (i + 1));
        ASSERT_TRUE(Cmd(WriteField, Text(names[1]), MakeFloat(a)).asBool());
    }
    rs::Database* db = DatabaseManager::instance().current();
    FieldReading exact{names[1].c_str(), false}, counted{names[1].c_str(), true};
    DeferredArgument direct{ReadOneField, &counted}, raw{ReadOneField, &exact};
    // The same readings as plain code the scans cannot recognise.
    auto general = [](void* c) { return ReadOneField(c); };
    DeferredArgument viaCode{general, &counted}, rawViaCode{general, &exact};
    const double sum = Cmd(SumRecords, MakeDeferred(&direct)).asDouble();
    EXPECT_TRUE(std::isfinite(sum));
    EXPECT_EQ(sum, Cmd(SumRecords, MakeDeferred(&viaCode)).asDouble());
    EXPECT_TRUE(std::isnan(Cmd(SumRecords, MakeDeferred(&raw)).asDouble()));
    EXPECT_TRUE(std::isnan(Cmd(SumRecords, MakeDeferred(&rawViaCode)).asDouble()));

    const std::string wage = G("工资");
    FieldTextMatch isWage{names[0].c_str(), wage.c_str()}, isFull{names[0].c_str(), full.c_str()},
        isLonger{names[0].c_str(), longer.c_str()};
    DeferredArgument wageDirect{FieldTextEquals, &isWage},
        wageViaCode{[](void*c) { return FieldTextEquals(c); }, &isWage};
    EXPECT_EQ(Cmd(SumRecords, MakeDeferred(&direct), MakeDeferred(&wageDirect)).asDouble(),
              Cmd(SumRecords, MakeDeferred(&viaCode), MakeDeferred(&wageViaCode)).asDouble());
    for (FieldTextMatch* match : {&isWage, &isFull, &isLonger}) {
        DeferredArgument found{FieldTextEquals, match};
        DeferredArgument foundViaCode{[](void* c) { return FieldTextEquals(c); }, match};
        for (int32_t start : {0, 1, 7, 8, 399}) {
            db->current = start;
            const bool hit = Cmd(FindRecord, MakeDeferred(&found)).asBool();
            const int32_t at = db->current;
            db->current = start;
            EXPECT_EQ(Cmd(FindRecord, MakeDeferred(&foundViaCode)).asBool(), hit);
            EXPECT_EQ(db->current, at) << start;
            // Record 399, the last, holds the full-width text.
            EXPECT_EQ(hit, match == &isFull || (match == &isWage && start < 399));
        }
    }
    // A field the file does not have fails as the code does when called.
    FieldReading missing{"nosuch", true};
    DeferredArgument none{ReadOneField, &missing};
    EXPECT_FATAL(Cmd(SumRecords, MakeDeferred(&none)), "指定字段不存在");
}

TEST_F(Commands, WithoutCurrentDatabase) {
    Cmd(CloseDatabase);
    EXPECT_EQ(Cmd(GetRecordCount).asInt(), 0);
    EXPECT_EQ(LastDatabaseError(), -67);
    EXPECT_FALSE(Cmd(IsPastLastRecord).asBool());
    EXPECT_FALSE(Cmd(AppendBlankRecord).asBool());
    EXPECT_FALSE(Cmd(EmptyDatabase).asBool());
    EXPECT_EQ(LastDatabaseError(), -67);
    EXPECT_FALSE(Cmd(WriteField, MakeInt(1), MakeInt(1)).asBool());
    EXPECT_EQ(LastDatabaseError(), -66);
    EXPECT_FATAL(Cmd(ReadField, MakeInt(1)), "未指定当前数据库或者指定数据库未打开");
    ASSERT_TRUE(Cmd(OpenDatabase, Text(path)).asBool());
    EXPECT_FATAL(Cmd(ReadField, Text("nosuch")), "指定字段不存在");
}

}  // namespace
