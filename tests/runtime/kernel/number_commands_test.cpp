// Number commands, including the fatal reports of a zero divisor.
#include "kernel/number_commands.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "kernel_test_util.h"
#include "runtime/message_box.h"

using namespace tavrin;
using kernel_test::G;

namespace {

// Reports on stderr whether the fatal report carried `gbkText`, then answers OK.
void ExpectReportOf(const std::string& gbkText) {
    SetMessageBoxResponder([gbkText](const MessageBoxRequest& request) {
        if (request.text.find(gbkText) != std::string::npos &&
            request.text.find(G("运行时出错!")) == 0)
            std::fputs("fatal-report-seen\n", stderr);
        return int32_t(kButtonOk);
    });
}

}  // namespace

TEST(Remainder, FollowsFmodThroughEveryDivisor) {
    EXPECT_DOUBLE_EQ(CallKernel(Remainder, MakeDouble(7), MakeDouble(3)).asDouble(), 1.0);
    EXPECT_DOUBLE_EQ(CallKernel(Remainder, MakeDouble(-7), MakeDouble(3)).asDouble(), -1.0);
    EXPECT_DOUBLE_EQ(CallKernel(Remainder, MakeDouble(7.5), MakeDouble(-2)).asDouble(), 1.5);
    EXPECT_DOUBLE_EQ(
        CallKernel(Remainder, MakeDouble(100), MakeDouble(30), MakeDouble(7)).asDouble(), 3.0);
}

TEST(IntegerDivide, TruncatesTowardZeroAfterEachDivisor) {
    EXPECT_DOUBLE_EQ(CallKernel(IntegerDivide, MakeDouble(7), MakeDouble(2)).asDouble(), 3.0);
    EXPECT_DOUBLE_EQ(CallKernel(IntegerDivide, MakeDouble(-7), MakeDouble(2)).asDouble(), -3.0);
    EXPECT_DOUBLE_EQ(
        CallKernel(IntegerDivide, MakeDouble(100), MakeDouble(3), MakeDouble(4)).asDouble(), 8.0);
}

TEST(RemainderDeathTest, ZeroDivisorEndsTheProgramWithItsText) {
    EXPECT_EXIT(
        {
            ExpectReportOf(G("不能求余数于零"));
            CallKernel(Remainder, MakeDouble(5), MakeDouble(0));
        },
        ::testing::ExitedWithCode(255), "fatal-report-seen");
    EXPECT_EXIT(
        {
            ExpectReportOf(G("不能求余数于零"));
            CallKernel(Remainder, MakeDouble(5), MakeDouble(2), MakeDouble(0));
        },
        ::testing::ExitedWithCode(255), "fatal-report-seen");
}

TEST(IntegerDivideDeathTest, ZeroDivisorEndsTheProgramWithItsText) {
    EXPECT_EXIT(
        {
            ExpectReportOf(G("不能整除于零"));
            CallKernel(IntegerDivide, MakeDouble(5), MakeDouble(2), MakeDouble(0));
        },
        ::testing::ExitedWithCode(255), "fatal-report-seen");
}

TEST(Abs, DropsTheSign) {
    EXPECT_DOUBLE_EQ(CallKernel(Abs, MakeDouble(-2.5)).asDouble(), 2.5);
    EXPECT_DOUBLE_EQ(CallKernel(Abs, MakeInt(-3)).asDouble(), 3.0);
}

TEST(FloorToInt, NearlyWholeValuesMoveToTheWholeNumberFirst) {
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(2.5)).asInt(), 2);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(-2.5)).asInt(), -3);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(2.9999999999999)).asInt(), 3);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(2.99999999999)).asInt(), 2);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(-2.9999999999999)).asInt(), -3);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(-2.0000000000001)).asInt(), -3);
    EXPECT_EQ(CallKernel(FloorToInt, MakeDouble(1e20)).asInt(), INT32_MAX);
}

TEST(MakeColor, PacksBlueGreenRed) {
    EXPECT_EQ(CallKernel(MakeColor, MakeInt(1), MakeInt(2), MakeInt(3)).asInt(), 0x030201);
    EXPECT_EQ(CallKernel(MakeColor, MakeInt(255), MakeInt(0x1FF), MakeInt(0)).asInt(), 0xFFFF);
}
