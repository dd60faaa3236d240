// GBK conversion at the boundary.
#include "runtime/gbk.h"

#include <gtest/gtest.h>

#include <QString>

#include "runtime/base/gbk_convert.h"

using namespace tavrin;

TEST(Gbk, RoundTripsChineseText) {
    std::string gbk = Utf8ToGbk("财务收入.edb");
    EXPECT_EQ(gbk, "\xB2\xC6\xCE\xF1\xCA\xD5\xC8\xEB.edb");
    EXPECT_EQ(GbkToUtf8(gbk), "财务收入.edb");
    EXPECT_EQ(GbkToQString(gbk), QString::fromUtf8("财务收入.edb"));
    EXPECT_EQ(QStringToGbk(QString::fromUtf8("元")), Utf8ToGbk("元"));
}

TEST(Gbk, BrokenBytesBecomeQuestionMarksInTheProgramAndAreRefusedByGenerators) {
    EXPECT_EQ(GbkToUtf8("a\xFF"), "a?");
    EXPECT_EQ(GbkToUtf8(std::string("\xB2", 1)), "?");  // a lead byte at the end
    EXPECT_EQ(Utf8ToGbk("\xE2\x82"), "??");              // a cut UTF-8 sequence
    // The build-time generators use the same converter but refuse such texts.
    EXPECT_EQ(ConvertUtf8ToGbk("\xE2\x82", Unconvertible::kRefuse), std::nullopt);
    EXPECT_EQ(ConvertUtf8ToGbk("a\xF0\x9F\x98\x80", Unconvertible::kRefuse), std::nullopt);
    EXPECT_EQ(ConvertUtf8ToGbk("财务", Unconvertible::kRefuse), Utf8ToGbk("财务"));
    EXPECT_EQ(ConvertGbkToUtf8("a\xFF", Unconvertible::kRefuse), std::nullopt);
}

TEST(Gbk, NativePathTurnsBackslashesIntoSlashes) {
    EXPECT_EQ(NativePath(Utf8ToGbk("备份\\财务收入.edb")), "备份/财务收入.edb");
}
