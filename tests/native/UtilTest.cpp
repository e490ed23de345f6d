#include "common/Util.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// ParseInteger keeps the valid prefix; TextToInt takes only a complete text.
TEST(ParseInteger, WellFormedMalformedAndOverflowing)
{
    using Case = std::tuple<const char*, std::int32_t, bool>;
    for (const auto& [text, value, complete] : std::initializer_list<Case>{
             {"1234", 1234, true}, {"\t-17", -17, true}, {"+8", 8, true}, {"$FF", 255, true}, {"x1a", 26, true},
             {"0X1A", 26, true}, {"-$10", -16, true},
             // empty or malformed: the valid prefix
             {"", 0, false}, {"-", 0, false}, {"$", 0, false}, {"abc", 0, false}, {"12x3", 12, false},
             {"$1G", 1, false}, {"77 ", 77, false}, {"2.5", 2, false},
             // boundaries: a digit that would overflow is the first invalid one, never a wrapped value
             {"-2147483648", INT32_MIN, true}, {"2147483647", INT32_MAX, true}, {"0XFFFFFFFF", -1, true},
             {"2147483648", 214748364, false}, {"-2147483649", -214748364, false}, {"$123456789", 0x12345678, false}}) {
        EXPECT_EQ(ParseInteger(text).value, value) << '"' << text << '"';
        EXPECT_EQ(ParseInteger(text).complete, complete) << '"' << text << '"';
        EXPECT_EQ(TextToInt(text), complete ? value : 0) << '"' << text << '"';
    }
}

// Rounded to nearest; a rounded zero has no sign.
TEST(FloatToText, Rounded)
{
    EXPECT_EQ(FloatToText(1.23456, 3) + " " + FloatToText(-1.5, 1) + " " + FloatToText(-0.0001, 2), "1.235 -1.5 0.00");
}

TEST(TextToFloat, NumbersConvertAnythingElseGivesZero)
{
    const std::pair<const char*, double> numbers[] = {{" 25.0 ", 25.0}, {"+1.5", 1.5}, {"-2", -2.0}, {"2.5E-1", 0.25}};
    for (const auto& [text, value] : numbers) EXPECT_DOUBLE_EQ(TextToFloat(text), value) << text;
    for (const char* bad : {"", "abc", "1.2.3", "1,5", "1.5x", "inf", "nan", "--1", "1e", "0x10", "1e999"})
        EXPECT_EQ(TextToFloat(bad), 0.0) << bad;
    // Beyond the float range a conversion would be undefined: no number at all.
    EXPECT_FLOAT_EQ(TextToSingle("-3.4e38"), -3.4e38f);
    for (const char* beyond : {"1e39", "-1e39", "1e308"}) EXPECT_EQ(TextToSingle(beyond), 0.0f) << beyond;
}

} // namespace
