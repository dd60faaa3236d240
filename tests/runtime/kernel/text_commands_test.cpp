// Text commands: byte lengths and positions, and searches that never match on
// the trail byte of a double-byte character.
#include "runtime/kernel/text_commands.h"

#include <gtest/gtest.h>

#include "kernel_test_util.h"

using namespace tavrin;
using kernel_test::G;
using kernel_test::TakeText;
using kernel_test::Text;

namespace {

const Value kAbsent{};

std::string Call(CommandFunction f, std::initializer_list<Value> args, bool* wasNull = nullptr) {
    return TakeText(CallKernelCommand(f, int32_t(args.size()), args.begin()), wasNull);
}
int32_t CallInt(CommandFunction f, std::initializer_list<Value> args) {
    return CallKernelCommand(f, int32_t(args.size()), args.begin()).asInt();
}

// Bytes: 中 = D6 D0, 文 = CE C4, and D0 CE is 形, so a naive search finds 形 in 中文.
const std::string kZhongWen = G("中文");
const std::string kXing = G("形");
// 乤 = 81 61 and 丄 = 81 41: their trail bytes are 'a' and 'A'.
const std::string kTrailA = G("乤");
const std::string kTrailUpperA = G("丄");

}  // namespace

TEST(TextLength, CountsBytesNotCharacters) {
    std::string s = G("中文ab");
    EXPECT_EQ(CallInt(TextLength, {Text(s)}), 6);
    EXPECT_EQ(CallInt(TextLength, {MakeTextRef(nullptr)}), 0);
    EXPECT_EQ(CallInt(TextLength, {MakeInt(5)}), 0);  // not a text: empty
}

TEST(LeftText, TakesBytesAndGivesNullForNothing) {
    bool wasNull = false;
    EXPECT_EQ(Call(LeftText, {Text("abcdef"), MakeInt(3)}), "abc");
    EXPECT_EQ(Call(LeftText, {Text("abc"), MakeInt(99)}), "abc");
    EXPECT_EQ(Call(LeftText, {Text("abc"), MakeInt(0)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(Call(LeftText, {Text("abc"), MakeInt(-2)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(Call(LeftText, {Text(kZhongWen), MakeInt(2)}), G("中"));
}

TEST(MidText, StartsAtOneBasedBytePosition) {
    bool wasNull = false;
    EXPECT_EQ(Call(MidText, {Text("abc"), MakeInt(0), MakeInt(2)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(Call(MidText, {Text("abc"), MakeInt(2), MakeInt(5)}), "bc");
    EXPECT_EQ(Call(MidText, {Text("abc"), MakeInt(3), MakeInt(1)}), "c");
    EXPECT_EQ(Call(MidText, {Text("abc"), MakeInt(4), MakeInt(1)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(Call(MidText, {Text("abc"), MakeInt(1), MakeInt(0)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(Call(MidText, {Text(kZhongWen), MakeInt(3), MakeInt(2)}), G("文"));
}

TEST(FindText, EmptySoughtTextFindsOnlyInNonEmptyText) {
    EXPECT_EQ(CallInt(FindText, {Text("abc"), Text(""), kAbsent, kAbsent}), 1);
    EXPECT_EQ(CallInt(FindText, {Text(""), Text(""), kAbsent, kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {MakeTextRef(nullptr), Text("a"), kAbsent, kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text("abc"), Text(""), MakeInt(4), kAbsent}), -1);
}

TEST(FindText, StartPositionAndDefaults) {
    EXPECT_EQ(CallInt(FindText, {Text("abcabc"), Text("bc"), kAbsent, kAbsent}), 2);
    EXPECT_EQ(CallInt(FindText, {Text("abcabc"), Text("bc"), MakeInt(3), kAbsent}), 5);
    EXPECT_EQ(CallInt(FindText, {Text("abcabc"), Text("bc"), MakeInt(-4), kAbsent}), 2);
    EXPECT_EQ(CallInt(FindText, {Text("abcabc"), Text("bc"), MakeInt(6), kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text("abcabc"), Text("bc"), MakeInt(60), kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text("abc"), Text("abcd"), kAbsent, kAbsent}), -1);
}

TEST(FindText, NeverMatchesAcrossACharacterBoundary) {
    EXPECT_EQ(CallInt(FindText, {Text(kZhongWen), Text(kXing), kAbsent, kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text(kZhongWen + kXing), Text(kXing), kAbsent, kAbsent}), 5);
    EXPECT_EQ(CallInt(FindText, {Text(kTrailA), Text("a"), kAbsent, kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text(kTrailA), Text("A"), kAbsent, MakeBool(true)}), -1);
    EXPECT_EQ(CallInt(FindText, {Text(kTrailA + "a"), Text("A"), kAbsent, MakeBool(true)}), 3);
    // A start on a trail byte does not make that byte a place to match.
    std::string s = kTrailA + kTrailA;  // 81 61 81 61
    EXPECT_EQ(CallInt(FindText, {Text(s), Text("a"), MakeInt(2), kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text(s), Text(kTrailA), MakeInt(2), kAbsent}), 3);
}

TEST(FindText, IgnoreCaseOnlyForAsciiLetters) {
    EXPECT_EQ(CallInt(FindText, {Text("xABC"), Text("abc"), kAbsent, kAbsent}), -1);
    EXPECT_EQ(CallInt(FindText, {Text("xABC"), Text("abc"), kAbsent, MakeBool(true)}), 2);
    EXPECT_EQ(CallInt(FindText, {Text(kTrailUpperA), Text(kTrailA), kAbsent, MakeBool(true)}), -1);
    EXPECT_EQ(CallInt(FindText, {Text("[x"), Text("{"), kAbsent, MakeBool(true)}), -1);
}

TEST(TrimSpaces, RemovesAsciiAndFullWidthBlanksAtBothEnds) {
    std::string blank = G("　");
    EXPECT_EQ(Call(TrimSpaces, {Text(blank + " a b" + blank + "  ")}), "a b");
    EXPECT_EQ(Call(TrimSpaces, {Text(G("中　文"))}), G("中　文"));
    bool wasNull = false;
    EXPECT_EQ(Call(TrimSpaces, {Text(blank + "  " + blank)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
    // 帧 ends in A1 and 、 begins with A1: together they hold A1 A1 but no blank.
    std::string s = G("帧、");
    ASSERT_EQ(s.substr(1, 2), "\xA1\xA1");
    EXPECT_EQ(CallInt(FindText, {Text(s), Text(blank), kAbsent, kAbsent}), -1);
    EXPECT_EQ(Call(TrimSpaces, {Text(" " + s + " ")}), s);
    // A lone lead byte A1 at the end pairs with nothing: 帧's trail byte is no blank.
    EXPECT_EQ(Call(TrimSpaces, {Text(G("帧") + "\xA1")}), G("帧") + "\xA1");
}

TEST(ReplaceText, ReplacesAllFromStartByDefault) {
    EXPECT_EQ(
        Call(ReplaceText, {Text("a-b-c"), Text("-"), Text("+"), kAbsent, kAbsent, MakeBool(true)}),
        "a+b+c");
    EXPECT_EQ(
        Call(ReplaceText, {Text("a-b-c"), Text("-"), kAbsent, kAbsent, kAbsent, MakeBool(true)}),
        "abc");
    EXPECT_EQ(
        Call(ReplaceText, {Text("aaaa"), Text("aa"), Text("b"), kAbsent, kAbsent, MakeBool(true)}),
        "bb");
}

TEST(ReplaceText, StartAndCountLimitTheReplacements) {
    EXPECT_EQ(Call(ReplaceText,
                   {Text("x.x.x.x"), Text("x"), Text("y"), MakeInt(3), kAbsent, MakeBool(true)}),
              "x.y.y.y");
    EXPECT_EQ(Call(ReplaceText,
                   {Text("x.x.x.x"), Text("x"), Text("y"), MakeInt(3), MakeInt(2), MakeBool(true)}),
              "x.y.y.x");
    EXPECT_EQ(Call(ReplaceText,
                   {Text("x.x"), Text("x"), Text("y"), MakeInt(0), MakeInt(1), MakeBool(true)}),
              "y.x");
    EXPECT_EQ(
        Call(ReplaceText, {Text("x.x"), Text("x"), Text("y"), MakeInt(9), kAbsent, MakeBool(true)}),
        "x.x");
}

TEST(ReplaceText, CaseRulesAndDoubleByteCharacters) {
    EXPECT_EQ(
        Call(ReplaceText, {Text("aAa"), Text("a"), Text("x"), kAbsent, kAbsent, MakeBool(true)}),
        "xAx");
    EXPECT_EQ(
        Call(ReplaceText, {Text("aAa"), Text("a"), Text("x"), kAbsent, kAbsent, MakeBool(false)}),
        "xxx");
    // The trail bytes of 乤 and 丄 are 'a' and 'A' and must survive.
    std::string s = kTrailA + "a" + kTrailUpperA + "A";
    EXPECT_EQ(Call(ReplaceText, {Text(s), Text("a"), Text("b"), kAbsent, kAbsent, MakeBool(false)}),
              kTrailA + "b" + kTrailUpperA + "b");
    EXPECT_EQ(Call(ReplaceText,
                   {Text(kZhongWen), Text(kXing), Text("!"), kAbsent, kAbsent, MakeBool(true)}),
              kZhongWen);
    EXPECT_EQ(Call(ReplaceText, {Text(G("收入收入")), Text(G("入")), Text(G("支出")), MakeInt(4),
                                 MakeInt(1), MakeBool(true)}),
              G("收入收支出"));
}

TEST(ReplaceText, EmptyTextOrSoughtGivesACopy) {
    bool wasNull = false;
    EXPECT_EQ(Call(ReplaceText, {Text(""), Text("a"), Text("b"), kAbsent, kAbsent, MakeBool(true)},
                   &wasNull),
              "");
    EXPECT_TRUE(wasNull);
    EXPECT_EQ(
        Call(ReplaceText, {Text("abc"), Text(""), Text("b"), kAbsent, kAbsent, MakeBool(true)}),
        "abc");
}

TEST(SpaceText, GivesBlanksOrNull) {
    EXPECT_EQ(Call(SpaceText, {MakeInt(3)}), "   ");
    bool wasNull = false;
    EXPECT_EQ(Call(SpaceText, {MakeInt(0)}, &wasNull), "");
    EXPECT_TRUE(wasNull);
}

TEST(CompareText, OrdersBytesAndFoldsOnlyAsciiLetters) {
    EXPECT_LT(CallInt(CompareText, {Text("abc"), Text("abd"), MakeBool(true)}), 0);
    EXPECT_GT(CallInt(CompareText, {Text("abc"), Text("ab"), MakeBool(true)}), 0);
    EXPECT_LT(CallInt(CompareText, {Text(""), Text("a"), MakeBool(true)}), 0);
    EXPECT_NE(CallInt(CompareText, {Text("ABC"), Text("abc"), MakeBool(true)}), 0);
    EXPECT_EQ(CallInt(CompareText, {Text("ABC"), Text("abc"), MakeBool(false)}), 0);
    EXPECT_NE(CallInt(CompareText, {Text(kTrailA), Text(kTrailUpperA), MakeBool(false)}), 0);
    // Double-byte characters sort after ASCII (bytes compare unsigned).
    EXPECT_GT(CallInt(CompareText, {Text(G("中")), Text("z"), MakeBool(true)}), 0);
    EXPECT_EQ(CallInt(CompareText, {Text(G("中文")), Text(G("中文")), MakeBool(false)}), 0);
}

TEST(TextCommands, NeverChangeOrKeepTheirArguments) {
    std::string original = "a-b";
    Value arg = Text(original);
    Value r = CallKernel(ReplaceText, arg, Text("x"), kAbsent, kAbsent, kAbsent, MakeBool(true));
    EXPECT_NE(r.asText(), original.c_str());  // a fresh copy, even with nothing replaced
    EXPECT_EQ(TakeText(r), "a-b");
    EXPECT_EQ(original, "a-b");
}
