// The fatal report text, seen through the message-box seam.
#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "runtime/gbk.h"

using namespace tavrin;

TEST(FatalReport, NumberedErrorHasCodeAndMessageLines) {
    std::string text = GbkToUtf8(BuildFatalReportText(4, RuntimeErrorMessage(4)));
    EXPECT_EQ(text,
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
}

TEST(FatalReport, NumberZeroHasNoCodeLine) {
    std::string text = GbkToUtf8(BuildFatalReportText(0, Utf8ToGbk("载入启动窗口失败")));
    EXPECT_EQ(text, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(FatalReport, EmptyMessageHasNoMessageLine) {
    EXPECT_EQ(GbkToUtf8(BuildFatalReportText(0, "")), "运行时出错!\r\n\r\n");
}

TEST(FatalReport, MessagesOfAllNumberedErrors) {
    EXPECT_EQ(GbkToUtf8(RuntimeErrorMessage(11)), "所提供参数的数据类型不符合要求");
    EXPECT_EQ(GbkToUtf8(RuntimeErrorMessage(1)), "数组成员引用下标超出定义范围");
    EXPECT_STREQ(RuntimeErrorMessage(0), "");
    EXPECT_STREQ(RuntimeErrorMessage(12), "");
}
