#include "common/Util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {

// Restores the separator a test changed.
struct SeparatorGuard {
    char saved = DecimalSeparator;
    ~SeparatorGuard() { DecimalSeparator = saved; }
};

TEST(ParseInteger, DecimalWithBlanksAndSign)
{
    EXPECT_EQ(ParseInteger("1234").value, 1234);
    EXPECT_TRUE(ParseInteger("1234").complete);
    EXPECT_EQ(ParseInteger("   42").value, 42);
    EXPECT_EQ(ParseInteger("\t-17").value, -17);
    EXPECT_EQ(ParseInteger("+8").value, 8);
    EXPECT_EQ(ParseInteger("-2147483648").value, INT32_MIN);
    EXPECT_TRUE(ParseInteger("-2147483648").complete);
    EXPECT_EQ(ParseInteger("2147483647").value, INT32_MAX);
}

TEST(ParseInteger, HexadecimalPrefixes)
{
    EXPECT_EQ(ParseInteger("$FF").value, 255);
    EXPECT_EQ(ParseInteger("x1a").value, 26);
    EXPECT_EQ(ParseInteger("X1A").value, 26);
    EXPECT_EQ(ParseInteger("0x7fffffff").value, INT32_MAX);
    EXPECT_EQ(ParseInteger("0XFFFFFFFF").value, -1);
    EXPECT_EQ(ParseInteger("-$10").value, -16);
    EXPECT_TRUE(ParseInteger("$FFFFFFFF").complete);
}

TEST(ParseInteger, ErrorsKeepTheValidPrefix)
{
    EXPECT_EQ(ParseInteger("").value, 0);
    EXPECT_FALSE(ParseInteger("").complete);
    EXPECT_EQ(ParseInteger("abc").value, 0);
    EXPECT_EQ(ParseInteger("-").value, 0);
    EXPECT_FALSE(ParseInteger("$").complete);
    EXPECT_EQ(ParseInteger("12x3").value, 12);
    EXPECT_FALSE(ParseInteger("12x3").complete);
    EXPECT_EQ(ParseInteger("$1G").value, 1);
    EXPECT_EQ(ParseInteger("77 ").value, 77);
    EXPECT_FALSE(ParseInteger("77 ").complete);
    // A digit that would overflow is the first invalid one.
    EXPECT_EQ(ParseInteger("2147483648").value, 214748364);
    EXPECT_FALSE(ParseInteger("2147483648").complete);
    EXPECT_EQ(ParseInteger("$123456789").value, 0x12345678);
}

TEST(TextToInt, OnlyWholeTextConverts)
{
    EXPECT_EQ(TextToInt("25"), 25);
    EXPECT_EQ(TextToInt("-3"), -3);
    EXPECT_EQ(TextToInt("256"), 256);
    EXPECT_EQ(TextToInt("25%"), 0);
    EXPECT_EQ(TextToInt("2.5"), 0);
    EXPECT_EQ(TextToInt(""), 0);
}

TEST(FloatToText, FixedDecimalsRounded)
{
    EXPECT_EQ(FloatToText(0.04, 3), "0.040");
    EXPECT_EQ(FloatToText(0.2, 2), "0.20");
    EXPECT_EQ(FloatToText(25.0, 1), "25.0");
    EXPECT_EQ(FloatToText(1.23456, 3), "1.235");
    EXPECT_EQ(FloatToText(-1.5, 1), "-1.5");
    EXPECT_EQ(FloatToText(-0.0001, 2), "0.00");
    EXPECT_EQ(FloatToText(7.0, 0), "7");
    EXPECT_EQ(FloatToText(1e300, 1).size(), 303u);
}

TEST(TextToFloat, AcceptsNumbersOnly)
{
    EXPECT_DOUBLE_EQ(TextToFloat("0.040"), 0.04);
    EXPECT_DOUBLE_EQ(TextToFloat(" 25.0 "), 25.0);
    EXPECT_DOUBLE_EQ(TextToFloat("+1.5"), 1.5);
    EXPECT_DOUBLE_EQ(TextToFloat("-2"), -2.0);
    EXPECT_DOUBLE_EQ(TextToFloat("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(TextToFloat("2.5E-1"), 0.25);
    for (const char* bad : {"", "abc", "1.2.3", "1,5", "1.5x", "inf", "nan", "--1", "1e", "0x10"})
        EXPECT_EQ(TextToFloat(bad), 0.0) << bad;
}

TEST(TextToSingle, NumbersBeyondAFloatGiveZero)
{
    EXPECT_FLOAT_EQ(TextToSingle("1.235"), 1.235f);
    EXPECT_FLOAT_EQ(TextToSingle("-3.4e38"), -3.4e38f);
    for (const char* beyond : {"1e39", "-1e39", "1e308"}) EXPECT_EQ(TextToSingle(beyond), 0.0f) << beyond;
    EXPECT_EQ(TextToSingle("fast"), 0.0f);
}

TEST(DecimalSeparator, BothDirectionsFollowIt)
{
    SeparatorGuard guard;
    DecimalSeparator = ',';
    EXPECT_EQ(FloatToText(0.5, 2), "0,50");
    EXPECT_DOUBLE_EQ(TextToFloat("0,5"), 0.5);
    EXPECT_EQ(TextToFloat("0.5"), 0.0);
}

TEST(Random, SeededSequencesRepeatAndStayInRange)
{
    RandomSeed(12345);
    const double first = RandomFloat();
    RandomSeed(12345);
    EXPECT_EQ(RandomFloat(), first);

    std::set<std::int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const double f = RandomFloat();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
        const std::int32_t n = RandomInt(10);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 10);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
}

} // namespace
