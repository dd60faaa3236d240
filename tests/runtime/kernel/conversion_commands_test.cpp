// Conversions: the text forms of every kind, folding of full-width digits,
// number reading, date-time parsing with its clamping rule, raw bytes.
#include "runtime/kernel/conversion_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "kernel_test_util.h"
#include "runtime/base/calendar.h"
#include "runtime/message_box.h"

using namespace tavrin;
using kernel_test::G;
using kernel_test::TakeByteSet;
using kernel_test::TakeText;
using kernel_test::Text;
using kernel_test::U;

namespace {

std::string AsText(const Value& v, bool* wasNull = nullptr) {
    return TakeText(CallKernel(ToText, v), wasNull);
}
double DateOfText(const std::string& gbk) {
    return CallKernel(ToDateTime, Text(gbk)).asDouble();
}
double Ole(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return kernel::ComposeDateTime({y, mo, d, h, mi, s});
}

}  // namespace

TEST(ToText, NumbersUseTheirPrintfForms) {
    EXPECT_EQ(AsText(MakeDouble(12.5)), "12.5");
    EXPECT_EQ(AsText(MakeDouble(1.0 / 3.0)), "0.3333333333333");
    EXPECT_EQ(AsText(MakeFloat(1.0f / 3.0f)), "0.333333");
    EXPECT_EQ(AsText(MakeDouble(1e20)), "1e+20");
    EXPECT_EQ(AsText(MakeDouble(-0.5)), "-0.5");
    EXPECT_EQ(AsText(MakeFloat(1234567.0f)), "1.23457e+06");
    EXPECT_EQ(AsText(MakeByte(200)), "200");
    EXPECT_EQ(AsText(MakeShort(-3)), "-3");
    EXPECT_EQ(AsText(MakeInt(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(AsText(MakeLong(-1234567890123LL)), "-1234567890123");
}

TEST(ToText, BoolsAreTrueAndFalseInChinese) {
    EXPECT_EQ(U(AsText(MakeBool(true))), "真");
    EXPECT_EQ(U(AsText(Value{7, 0, TypeCode::kBool})), "真");
    EXPECT_EQ(U(AsText(MakeBool(false))), "假");
}

TEST(ToText, DateTimesShowOnlyTheTimePartsThatAreSet) {
    EXPECT_EQ(U(AsText(MakeDateTime(41030.0))), "2012年5月1日");
    EXPECT_EQ(U(AsText(MakeDateTime(Ole(2012, 5, 1, 8, 30)))), "2012年5月1日8时30分");
    EXPECT_EQ(U(AsText(MakeDateTime(Ole(2012, 5, 1, 8)))), "2012年5月1日8时");
    EXPECT_EQ(U(AsText(MakeDateTime(Ole(2012, 5, 3, 14, 7, 9)))), "2012年5月3日14时7分9秒");
    EXPECT_EQ(U(AsText(MakeDateTime(Ole(2012, 5, 1, 0, 0, 9)))), "2012年5月1日0时0分9秒");
}

TEST(ToText, DateTimesRoundToWholeSecondsAndClamp) {
    EXPECT_EQ(U(AsText(MakeDateTime(41030.0 + 86399.6 / 86400.0))), "2012年5月2日");
    EXPECT_EQ(U(AsText(MakeDateTime(41030.0 + 30.4 / 86400.0))), "2012年5月1日0时0分30秒");
    EXPECT_EQ(U(AsText(MakeDateTime(-1.25))), "1899年12月29日6时");
    EXPECT_EQ(U(AsText(MakeDateTime(3000000.0))), "9999年12月31日");
    EXPECT_EQ(U(AsText(MakeDateTime(-700000.0))), "100年1月1日");
    EXPECT_EQ(U(AsText(MakeDateTime(std::nan("")))), "100年1月1日");
}

// The date-time writer against printf of the same forms, over every day from
// 1800 to 2200 with a time of day that walks through hours, minutes and seconds
// (and none), and over the clamped ends.
TEST(ToText, DateTimeTextsMatchTheirPrintfFormsOverFourCenturies) {
    const std::string date = G("%d年%d月%d日"), hms = G("%d时%d分%d秒"), hm = G("%d时%d分"),
                      h = G("%d时");
    auto printed = [&](double days) {
        const kernel::CalendarParts p = kernel::SplitDateTime(days);
        char buf[128];
        int n = std::snprintf(buf, sizeof buf, date.c_str(), p.year, p.month, p.day);
        if (p.second != 0)
            std::snprintf(buf + n, sizeof buf - n, hms.c_str(), p.hour, p.minute, p.second);
        else if (p.minute != 0)
            std::snprintf(buf + n, sizeof buf - n, hm.c_str(), p.hour, p.minute);
        else if (p.hour != 0)
            std::snprintf(buf + n, sizeof buf - n, h.c_str(), p.hour);
        return std::string(buf);
    };
    const double first = Ole(1800, 1, 1), last = Ole(2200, 12, 31);
    int64_t checked = 0;
    for (double day = first; day <= last; ++day) {
        const int32_t k = int32_t(day - first);
        const int32_t seconds[] = {0, 3600 * (k % 24), 60 * (k % 1440), k % 86400};
        for (int32_t s : seconds) {
            // Before 1899-12-30 the time of day counts away from zero.
            const double at = day >= 0 ? day + s / 86400.0 : day - s / 86400.0;
            ASSERT_EQ(AsText(MakeDateTime(at)), printed(at)) << at;
            ++checked;
        }
    }
    for (double at : {-1e9, 1e9, std::nan(""), -700000.0, 3000000.0})
        EXPECT_EQ(AsText(MakeDateTime(at)), printed(at)) << at;
    EXPECT_GT(checked, 580000);
}

TEST(ToText, TextsAreCopiedAndRawKindsReadUpToTheirFirstZero) {
    std::string s = "abc";
    Value r = CallKernel(ToText, Text(s));
    EXPECT_NE(r.asText(), s.c_str());
    EXPECT_EQ(TakeText(r), "abc");
    bool wasNull = false;
    EXPECT_EQ(AsText(Text(""), &wasNull), "");
    EXPECT_TRUE(wasNull);

    ByteSetBlock* bytes = NewByteSet("hi\0there", 8);
    EXPECT_EQ(AsText(MakeByteSetRef(bytes)), "hi");
    Free(bytes);

    uint32_t size = 3;
    ArrayBlock* array = NewArray(1, &size, 1);
    std::memcpy(array->elements(), "xyz", 3);
    Value arrayValue{0, 0, TypeCode::kByte | TypeCode::kArrayBit};
    arrayValue.setPointer(array);
    EXPECT_EQ(AsText(arrayValue), "xyz");
    Free(array);

    EXPECT_EQ(AsText(MakeControlRef(0x52010001, 0x16010001, 0x00020004), &wasNull), "");
    EXPECT_TRUE(wasNull);
}

TEST(Folding, FullWidthFormsBecomeAscii) {
    EXPECT_EQ(FoldFullWidth(G("１２３ＡＢｃ")), "123ABc");
    EXPECT_EQ(FoldFullWidth(G("　～＊")), " ~*");
    EXPECT_EQ(FoldFullWidth(G("中１文")), G("中") + "1" + G("文"));
    EXPECT_EQ(FoldFullWidth("\xA3"), "\xA3");  // a lead byte with nothing after it stays
}

TEST(ToInt, ReadsFoldedTextsAsDecimalIntegers) {
    EXPECT_EQ(CallKernel(ToInt, Text(G("１２３"))).asInt(), 123);
    EXPECT_EQ(CallKernel(ToInt, Text(G("　－４２元"))).asInt(), -42);
    EXPECT_EQ(CallKernel(ToInt, Text(" 17.9")).asInt(), 17);
    EXPECT_EQ(CallKernel(ToInt, Text("abc")).asInt(), 0);
    EXPECT_EQ(CallKernel(ToInt, Text("99999999999")).asInt(), INT32_MAX);
    EXPECT_EQ(CallKernel(ToInt, Text("-99999999999")).asInt(), INT32_MIN);
}

TEST(ToInt, TruncatesNumbersAndKeepsLowWords) {
    EXPECT_EQ(CallKernel(ToInt, MakeDouble(-3.9)).asInt(), -3);
    EXPECT_EQ(CallKernel(ToInt, MakeFloat(3.9f)).asInt(), 3);
    EXPECT_EQ(CallKernel(ToInt, MakeLong(0x100000005LL)).asInt(), 5);
    EXPECT_EQ(CallKernel(ToInt, MakeBool(true)).asInt(), 1);
    EXPECT_EQ(CallKernel(ToInt, MakeDouble(1e30)).asInt(), INT32_MAX);
    EXPECT_EQ(CallKernel(ToInt, MakeDouble(std::nan(""))).asInt(), 0);
}

TEST(ToNumber, ReadsTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text(G("３．５"))).asDouble(), 3.5);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text("1e3x")).asDouble(), 1000.0);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text(" .25")).asDouble(), 0.25);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text(G("-12.5元"))).asDouble(), -12.5);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text("0x10")).asDouble(), 0.0);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text("inf")).asDouble(), 0.0);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, Text("")).asDouble(), 0.0);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, MakeBool(true)).asDouble(), 1.0);
    EXPECT_DOUBLE_EQ(CallKernel(ToNumber, MakeShort(-7)).asDouble(), -7.0);
    EXPECT_FLOAT_EQ(CallKernel(ToFloat, Text("0.1")).asFloat(), 0.1f);
}

TEST(ToDateTime, ParsesDatesWithTheirSeparators) {
    EXPECT_DOUBLE_EQ(DateOfText("2012-2-29"), Ole(2012, 2, 29));
    EXPECT_DOUBLE_EQ(DateOfText(G("2012年5月1日")), 41030.0);
    EXPECT_DOUBLE_EQ(DateOfText(G("2012年5月1日8时30分")), Ole(2012, 5, 1, 8, 30));
    EXPECT_DOUBLE_EQ(DateOfText(G("2012年5月3日14时7分9秒")), Ole(2012, 5, 3, 14, 7, 9));
    EXPECT_DOUBLE_EQ(DateOfText("2012/05/01 08:30:15"), Ole(2012, 5, 1, 8, 30, 15));
    EXPECT_DOUBLE_EQ(DateOfText("2012.5.1"), 41030.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-5-1 "), 41030.0);
    EXPECT_DOUBLE_EQ(DateOfText(G("２０１２－５－１")), 41030.0);
    EXPECT_DOUBLE_EQ(DateOfText("0100-1-1"), kMinDateTime);
    EXPECT_DOUBLE_EQ(DateOfText("9999-12-31"), kMaxDateTime);
}

TEST(ToDateTime, FailsWhenAClampChangesAPartOrSomethingFollows) {
    EXPECT_DOUBLE_EQ(DateOfText(G("2012年2月30日")), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2011-2-29"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("1900-2-29"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-13-1"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-5-1 24:00"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-5-1 8:60"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("99-1-1"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("10000-1-1"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-5-1x"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText("2012-5-1 8:30:15:00"), -657434.0);
    EXPECT_DOUBLE_EQ(DateOfText(""), -657434.0);
    Value failed = CallKernel(ToDateTime, Text("nonsense"));
    EXPECT_EQ(failed.type, TypeCode::kDateTime);
    EXPECT_EQ(failed.hi, 0xC1241034u);
    EXPECT_EQ(failed.lo, 0u);
}

TEST(ToDateTime, DateTimesPassAndOtherKindsFail) {
    EXPECT_DOUBLE_EQ(CallKernel(ToDateTime, MakeDateTime(41030.5)).asDouble(), 41030.5);
    EXPECT_DOUBLE_EQ(CallKernel(ToDateTime, MakeInt(41030)).asDouble(), -657434.0);
}

TEST(ToDateTime, TextFormRoundTripsThroughToText) {
    for (double d : {41030.0, Ole(2012, 5, 1, 8, 30), Ole(1999, 12, 31, 23, 59, 59),
                     Ole(1800, 3, 1, 6, 0, 1), Ole(2000, 2, 29, 0, 1)}) {
        std::string text = TakeText(CallKernel(ToText, MakeDateTime(d)));
        EXPECT_DOUBLE_EQ(DateOfText(text), d) << U(text);
    }
}

TEST(ToByteSet, GivesPayloadBytesLittleEndian) {
    EXPECT_EQ(TakeByteSet(CallKernel(ToByteSet, MakeInt(0x01020304))),
              std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(TakeByteSet(CallKernel(ToByteSet, Value{7, 0, TypeCode::kBool})),
              std::string("\x01\0\0\0", 4));
    EXPECT_EQ(TakeByteSet(CallKernel(ToByteSet, MakeShort(-2))), std::string("\xFE\xFF", 2));
    std::string d = TakeByteSet(CallKernel(ToByteSet, MakeDouble(1.5)));
    double back;
    ASSERT_EQ(d.size(), 8u);
    std::memcpy(&back, d.data(), 8);
    EXPECT_EQ(back, 1.5);
    EXPECT_EQ(TakeByteSet(CallKernel(ToByteSet, Text(G("中a")))), G("中a"));  // no NUL
    EXPECT_EQ(CallKernel(ToByteSet, Text("")).pointer(), nullptr);
}

TEST(ToByteSet, OneDimensionalNumericArraysOnly) {
    uint32_t size = 2;
    ArrayBlock* ints = NewArray(1, &size, 4);
    int32_t values[2] = {1, -1};
    std::memcpy(ints->elements(), values, 8);
    Value v{0, 0, TypeCode::kInt | TypeCode::kArrayBit};
    v.setPointer(ints);
    EXPECT_EQ(TakeByteSet(CallKernel(ToByteSet, v)), std::string("\1\0\0\0\xFF\xFF\xFF\xFF", 8));
    Free(ints);

    uint32_t sizes[2] = {2, 2};
    ArrayBlock* grid = NewArray(2, sizes, 4);
    v.setPointer(grid);
    EXPECT_EQ(CallKernel(ToByteSet, v).pointer(), nullptr);
    Free(grid);
}

TEST(ReadByteSetData, ReadsEachKindAtAPosition) {
    std::string raw = std::string("xx") + std::string("\x04\x03\x02\x01", 4);
    ByteSetBlock* b = NewByteSet(raw.data(), raw.size());
    Value set = MakeByteSetRef(b);
    Value r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kInt)), MakeInt(3));
    EXPECT_EQ(r.type, TypeCode::kInt);
    EXPECT_EQ(r.asInt(), 0x01020304);
    r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kShort)), MakeInt(5));
    EXPECT_EQ(r.type, TypeCode::kShort);
    EXPECT_EQ(r.lo, 0x0102u);
    // Too few bytes left: the kind's zero.
    r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kInt)), MakeInt(4));
    EXPECT_EQ(r.type, TypeCode::kInt);
    EXPECT_EQ(r.asInt(), 0);
    r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kText)), Value{});
    EXPECT_EQ(r.type, TypeCode::kText);
    EXPECT_EQ(TakeText(r), std::string("xx\x04\x03\x02\x01"));
    r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kByteSet)), MakeInt(6));
    EXPECT_EQ(TakeByteSet(r), "\x01");
    r = CallKernel(ReadByteSetData, set, MakeInt(int32_t(TypeCode::kBool)), MakeInt(3));
    EXPECT_EQ(r.type, TypeCode::kBool);
    EXPECT_EQ(r.lo, 1u);
    Free(b);
}

TEST(ReadByteSetData, DateTimesFromRawBytesAreClamped) {
    for (auto [stored, expected] :
         {std::pair{3000000.0, 2958465.0}, {-700000.0, -657434.0}, {41030.5, 41030.5}}) {
        ByteSetBlock* b = NewByteSet(&stored, 8);
        Value r = CallKernel(ReadByteSetData, MakeByteSetRef(b),
                             MakeInt(int32_t(TypeCode::kDateTime)), Value{});
        EXPECT_EQ(r.type, TypeCode::kDateTime);
        EXPECT_EQ(r.asDouble(), expected);
        Free(b);
    }
}

TEST(ReadByteSetDataDeathTest, AnUnreadableKindIsFatal) {
    EXPECT_EXIT(
        {
            SetMessageBoxResponder([](const MessageBoxRequest& request) {
                if (request.text.find(G("“欲取出数据的类型”参数值无效")) != std::string::npos)
                    std::fputs("bad-kind-reported\n", stderr);
                return int32_t(kButtonOk);
            });
            CallKernel(ReadByteSetData, MakeByteSetRef(nullptr), MakeInt(12345), Value{});
        },
        ::testing::ExitedWithCode(255), "bad-kind-reported");
}
