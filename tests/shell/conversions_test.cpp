#include "shell/conversions.h"

#include <gtest/gtest.h>

namespace corvalin::shell {
namespace {

TEST(ConversionsTest, TextToNumberReadsTheLongestNumericPrefix) {
    struct Case { const char* text; double expected; };
    const Case cases[] = {
        {"１２ab", 12.0},          // full-width digits, then ASCII letters
        {"abc", 0.0},
        {"", 0.0},
        {"  -3.5e2x", -350.0},
        {"1e", 1.0},              // an exponent without digits is not part of the number
        {"2E+3", 2000.0},
        {".5", 0.5},
        {"-", 0.0},
        {".", 0.0},
        {"+7.", 7.0},
        {"－４．５", -4.5},        // full-width sign and point
        {"\xA1\xA1" "8", 8.0},    // the ideographic space is a blank
        {"inf", 0.0},
        {"0x10", 0.0},
        {"中12", 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.expected) << c.text;
}

TEST(ConversionsTest, TextToIntegerReadsTheLongestIntegerPrefix) {
    struct Case { const char* text; int expected; };
    const Case cases[] = {
        {"１２ab", 12},
        {"letters", 0},
        {"  -42abc", -42},
        {"+5", 5},
        {"12.9", 12},
        {"007", 7},
        {"--5", 0},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"　３", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(TextToInteger(c.text), c.expected) << c.text;
}

TEST(ConversionsTest, NumbersReadAsTheirFormats) {
    EXPECT_EQ(NumberToText(-17), "-17");
    EXPECT_EQ(NumberToText(static_cast<std::int16_t>(-300)), "-300");
    EXPECT_EQ(NumberToText(static_cast<std::uint8_t>(200)), "200");
    EXPECT_EQ(NumberToText(static_cast<std::int64_t>(-9007199254740993LL)), "-9007199254740993");
    EXPECT_EQ(NumberToText(1.0f / 3.0f), "0.333333");
    EXPECT_EQ(NumberToText(1.0 / 3.0), "0.3333333333333");
    EXPECT_EQ(NumberToText(1e20), "1e+20");
    EXPECT_EQ(NumberToText(123456789012.5), "123456789012.5");
    EXPECT_EQ(NumberToText(1e21f), "1e+21");
    EXPECT_EQ(NumberToText(2.5), "2.5");
    EXPECT_EQ(BoolToText(true), "真");
    EXPECT_EQ(BoolToText(false), "假");
}

TEST(ConversionsTest, BytesReadAsTextUpToTheFirstZero) {
    EXPECT_EQ(BytesToText({'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(BytesToText({'x', 'y'}), "xy");
    EXPECT_EQ(BytesToText({}), "");
    EXPECT_EQ(BytesToText({0, 'a'}), "");
}

}  // namespace
}  // namespace corvalin::shell
