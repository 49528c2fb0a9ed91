#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/core/text.h"

using namespace plat;

struct IntCase {
    const char* text;
    int value;
};

class TextToInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(TextToInt, FollowsTheNumberRule) {
    EXPECT_EQ(ToInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextToInt,
    ::testing::Values(IntCase{"42", 42}, IntCase{"  -17", -17}, IntCase{"\t+5", 5}, IntCase{"007", 7},
                      IntCase{"$FF", 255}, IntCase{"$ff", 255}, IntCase{"-$10", -16}, IntCase{"$1g", 1},
                      IntCase{"%101", 5}, IntCase{"%102", 2}, IntCase{"-%11", -3},
                      IntCase{"12abc", 12}, IntCase{"1.9", 1}, IntCase{"37=x", 37},
                      IntCase{"", 0}, IntCase{"   ", 0}, IntCase{"abc", 0}, IntCase{"$", 0}, IntCase{"%", 0},
                      IntCase{"-", 0}, IntCase{"- 5", 0}, IntCase{"$ 5", 0}, IntCase{"+-5", 0},
                      // Wraps like a 32-bit Int instead of overflowing.
                      IntCase{"2147483647", INT_MAX}, IntCase{"2147483648", INT_MIN}, IntCase{"4294967297", 1},
                      IntCase{"$FFFFFFFF", -1}, IntCase{"-2147483648", INT_MIN},
                      IntCase{"99999999999999999999999", -159383553}));

TEST(Text, FitsIntTellsTheNumbersThatWouldWrap) {
    for (const char* fits : {"0", "2147483647", "-2147483648", "  +37", "$7FFFFFFF", "%1111", "12abc", "abc", ""})
        EXPECT_TRUE(FitsInt(fits)) << fits;
    for (const char* wraps : {"2147483648", "-2147483649", "4294967333", "$FFFFFFFF", "-$80000001",
                              "99999999999999999999999", "%1" "00000000000000000000000000000000"})
        EXPECT_FALSE(FitsInt(wraps)) << wraps;
}

TEST(Text, ToLongKeepsSixtyFourBits) {
    EXPECT_EQ(ToLong("$FFFFFFFF"), 4294967295LL);
    EXPECT_EQ(ToLong("-9000000000"), -9000000000LL);
    EXPECT_EQ(ToLong("%1" + std::string(40, '0')), 1LL << 40);
}

struct FloatCase {
    const char* text;
    double value;
};

class TextToFloat : public ::testing::TestWithParam<FloatCase> {};

TEST_P(TextToFloat, ReadsDecimalNotation) {
    EXPECT_DOUBLE_EQ(ToFloat(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextToFloat,
    ::testing::Values(FloatCase{"1.5", 1.5}, FloatCase{" -2.25", -2.25}, FloatCase{"+.5", 0.5}, FloatCase{"5.", 5.0},
                      FloatCase{"1e3", 1000.0}, FloatCase{"2.5E-1", 0.25}, FloatCase{"1e", 1.0}, FloatCase{"1e+", 1.0},
                      FloatCase{"3.25xyz", 3.25}, FloatCase{"0.9 ", 0.9}, FloatCase{"", 0.0}, FloatCase{".", 0.0},
                      FloatCase{"abc", 0.0}, FloatCase{"inf", 0.0}, FloatCase{"nan", 0.0}, FloatCase{"0x10", 0.0},
                      FloatCase{"-", 0.0}));

TEST(Text, FloatToStringHasNineSignificantDigitsAndAPoint) {
    EXPECT_EQ(FloatToString(1.0), "1.00000000");
    EXPECT_EQ(FloatToString(0.25), "0.250000000");
    EXPECT_EQ(FloatToString(-2.5), "-2.50000000");
    EXPECT_EQ(FloatToString(0.0), "0.00000000");
    EXPECT_EQ(FloatToString(100.0), "100.000000");
    EXPECT_EQ(FloatToString(123456789.0), "123456789.");
    EXPECT_EQ(FloatToString(static_cast<double>(0.1f)), "0.100000001");
    EXPECT_EQ(FloatToString(45.678), "45.6780000");
}

TEST(Text, SlicesAreOneBasedAndClamped) {
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 4), "def");
    EXPECT_EQ(Mid("abcdef", 5, 10), "ef");
    EXPECT_EQ(Mid("abcdef", 0, 2), "a");  // the part before the text counts against the length
    EXPECT_EQ(Mid("abcdef", -3, 10), "abcdef");
    EXPECT_EQ(Mid("abcdef", 7, 1), "");
    EXPECT_EQ(Mid("abcdef", 2, 0), "");
    EXPECT_EQ(Left("abc", 2), "ab");
    EXPECT_EQ(Left("abc", 9), "abc");
    EXPECT_EQ(Left("abc", -1), "");
    EXPECT_EQ(Right("abc", 2), "bc");
    EXPECT_EQ(Right("abc", 9), "abc");
    EXPECT_EQ(Right("abc", 0), "");
}

TEST(Text, FindReplaceTrimAndCodes) {
    EXPECT_EQ(Find("a=b=c", "="), 1);
    EXPECT_EQ(Find("a=b=c", "=", 2), 3);
    EXPECT_EQ(Find("a=b=c", "=", 99), -1);
    EXPECT_EQ(Find("abc", "x"), -1);
    EXPECT_EQ(FindLast("a=b=c", "="), 3);
    EXPECT_EQ(Replace("a-b-c", "-", "+-"), "a+-b+-c");
    EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("abc", "", "x"), "abc");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Len("abc"), 3);
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Chr(255), "\xFF");
    EXPECT_EQ(Chr(256), "");
    EXPECT_EQ(Chr(-1), "");
    EXPECT_EQ(Asc("\xE9x"), 0xE9);
    EXPECT_EQ(Asc(""), -1);
}

TEST(Text, CaseFollowsLatin1Letters) {
    EXPECT_EQ(Upper("abz09_"), "ABZ09_");
    EXPECT_EQ(Lower("ABZ09_"), "abz09_");
    EXPECT_EQ(Upper("\xE9\xF7\xFF"), "\xC9\xF7\xFF");  // e acute; division sign and y diaeresis stay
    EXPECT_EQ(Lower("\xC9\xD7"), "\xE9\xD7");
}

TEST(Text, Utf8AtTheBoundary) {
    EXPECT_EQ(ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(FromUtf8("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(FromUtf8("\xE2\x82\xAC!"), "?!");        // beyond 8 bits
    EXPECT_EQ(FromUtf8("a\xC3"), "a?");               // cut off
    EXPECT_EQ(FromUtf8("\x80z"), "?z");               // stray continuation byte
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}
