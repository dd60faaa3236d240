// Money text: every stored single-precision amount reads as its cents, totals
// switch to 万元 at ten thousand 元, and no exponent or binary fraction shows.
#include "money/money_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace tavrin::money {
namespace {

TEST(MoneyText, StoredAmountsReadAsTheirCents) {
    EXPECT_EQ(MoneyText(12345.67f), "12345.67");
    EXPECT_EQ(MoneyText(46023.45f), "46023.45");
    EXPECT_EQ(MoneyText(99999.99f), "99999.99");
    EXPECT_EQ(MoneyText(131071.99f), "131071.99");
    EXPECT_EQ(MoneyText(1234567.0f), "1234567");
    EXPECT_EQ(MoneyText(9999999.0f), "9999999");
    EXPECT_EQ(MoneyText(0.5f), "0.5");
    EXPECT_EQ(MoneyText(1234567.89f), "1234567.88");  // stored as 1234567.875
    EXPECT_EQ(MoneyText(-3.2), "-3.2");
    EXPECT_EQ(MoneyText(-0.001), "0");
    EXPECT_EQ(MoneyText(1.0 / 0.0), "0");
    // Every cent below 131,072 元 survives a trip through single precision.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cents(1, 13107199);
    for (int i = 0; i < 20000; ++i) {
        const int c = cents(random);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%d.%02d", c / 100, c % 100);
        std::string want = expected;
        while (want.back() == '0') want.pop_back();
        if (want.back() == '.') want.pop_back();
        ASSERT_EQ(MoneyText(float(c / 100.0)), want) << c;
    }
}

TEST(MoneyText, TotalsAreToTheCentInYuanOrTenThousands) {
    EXPECT_EQ(MoneyTotalText(46023.45), "4.602345\xCD\xF2\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(5292.3), "5292.3\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(-20000), "-2\xCD\xF2\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(10000), "1\xCD\xF2\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(9999.99), "9999.99\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(0), "0\xD4\xAA");
    EXPECT_EQ(MoneyTotalText(100552672.0), "10055.2672\xCD\xF2\xD4\xAA");
}

}  // namespace
}  // namespace tavrin::money
