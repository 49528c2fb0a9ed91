// The text, path, line, array and number helpers.

#include <gtest/gtest.h>

#include <cmath>

#include "framework/game.h"
#include "framework/helpers.h"
#include "platform/io/stream.h"

namespace {

TEST(TextHelpers, Strings) {
    EXPECT_EQ(fw::EnsureTrailingSlash("gfx"), "gfx/");
    EXPECT_EQ(fw::EnsureTrailingSlash("gfx/"), "gfx/");
    EXPECT_EQ(fw::EnsureTrailingSlash("gfx\\"), "gfx\\");
    EXPECT_EQ(fw::EnsureTrailingSlash(""), "/");
    EXPECT_EQ(fw::QuoteString("a"), "\"a\"");
    EXPECT_EQ(fw::StringBefore("a=b=c", "="), "a");
    EXPECT_EQ(fw::StringAfter("a=b=c", "="), "b=c");
    EXPECT_EQ(fw::StringBefore("abc", "="), "abc");
    EXPECT_EQ(fw::StringAfter("abc", "="), "");
    EXPECT_EQ(fw::StringBeforeComma("x,y"), "x");
    std::string rest = "one two  three";
    EXPECT_EQ(fw::PopToken(rest, " "), "one");
    EXPECT_EQ(rest, "two  three");
    EXPECT_EQ(fw::PopToken(rest, " "), "two");
    EXPECT_EQ(fw::PopToken(rest, " "), "");
    EXPECT_EQ(fw::PopToken(rest, " "), "three");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(fw::SafeMidString("abcdef", 2, 3), "bcd");
    EXPECT_EQ(fw::SafeMidString("abcdef", 2, -1), "");
    EXPECT_EQ(fw::PadLeftZeros("7", 3), "007");
    EXPECT_EQ(fw::PadLeft("7", 3), "  7");
    EXPECT_EQ(fw::PadLeftWith("7", 4, "ab"), "abab7");
    EXPECT_EQ(fw::PadLeftWith("7", 4, ""), "7") << "an empty fill never loops";
    EXPECT_EQ(fw::SignedIntText(5), "+5");
    EXPECT_EQ(fw::SignedIntText(0), "0");
    EXPECT_EQ(fw::SignedIntText(-5), "-5");
    EXPECT_EQ(fw::SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(fw::SplitLines(""), (std::vector<std::string>{""}));
}

TEST(TextHelpers, FormatFixed) {
    struct Case {
        double x;
        int decimals;
        const char* expected;
    } cases[] = {
        {3.14159, 2, "3.14"}, {0.05, 2, "0.05"}, {2.5, 0, "3"},   {7, 0, "7"},
        {0, 3, "0.000"},      {12.5, 1, "12.5"}, {-1.5, 1, "-1.5"}, {-0.05, 2, "-0.05"},
    };
    for (const Case& c : cases) EXPECT_EQ(fw::FormatFixed(c.x, c.decimals), c.expected) << c.x;
}

TEST(TextHelpers, FormatNumberGrouped) {
    EXPECT_EQ(fw::FormatNumberGrouped(1234567, 0, 3, 10), "  1,234,567");
    EXPECT_EQ(fw::FormatNumberGrouped(1234.5, 2, 3, 6), " 1,234.50");
    EXPECT_EQ(fw::FormatNumberGrouped(-1234, 0, 3, 6), " -1,234");
    EXPECT_EQ(fw::FormatNumberGrouped(123456789, 0, 3, 3), "Error");
    EXPECT_EQ(fw::FormatNumberGrouped(1234, 0, 0, 4), " 1234") << "group 0: no grouping";
    EXPECT_EQ(fw::FormatNumberGrouped(1e12, 0, 3, 20), "    1,000,000,000,000") << "never in exponent form";
    EXPECT_EQ(fw::FormatNumberGrouped(2.999, 1, 3, 2), " 2.9") << "cut, not rounded";
}

TEST(TextHelpers, TimesAndDates) {
    EXPECT_EQ(fw::TimeTo12Hour("00:15"), "12:15am");
    EXPECT_EQ(fw::TimeTo12Hour("13:05"), "1:05pm");
    EXPECT_EQ(fw::TimeTo12Hour("12:30:00"), "12:30:00pm");
    int m = 0, s = 0;
    fw::SplitMinutesSeconds(125999, m, s);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(s, 5);
    fw::SplitMinutesSeconds(-61000, m, s);
    EXPECT_EQ(m, -1);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(fw::MonthNameFrench("feb"), "F vr");
    EXPECT_EQ(fw::MonthNameGerman("MAR"), "M rz");
    EXPECT_EQ(fw::MonthNameSpanish("Jan"), "Ene");
    EXPECT_EQ(fw::MonthNameSpanish("xyz"), "");
    EXPECT_EQ(fw::DateInGerman("23 Apr 2010"), "23 April 2010");
    EXPECT_EQ(fw::DateInFrench("01 Dec 1999"), "01 D c 1999");
    EXPECT_EQ(fw::DateInSpanish("05 Aug 2000"), "05 Ago 2000");
}

TEST(TextHelpers, LinesAndArrays) {
    auto s = plat::CreateMemoryStream({'a', '\n', 'b', '\n', '[', 'S', ']', '\n', 'c'});
    std::string header;
    EXPECT_EQ(fw::ReadLinesUntilSection(s, header), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(header, "[S]");
    std::string second;
    EXPECT_EQ(fw::ReadTwoLines(s, second), "c");
    EXPECT_EQ(second, "");

    const std::vector<std::string> lines = {"x", "y", "[H]", "z"};
    int index = 0;
    EXPECT_EQ(fw::ReadSectionLines(lines, index), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(index, 2);
    index = 3;
    EXPECT_EQ(fw::NextArrayString(lines, index), "z");
    EXPECT_EQ(fw::NextArrayString(lines, index), "");
    EXPECT_EQ(index, 5);
    std::vector<std::string> part;
    fw::CopyArrayRange(lines, part, 1, -1);
    EXPECT_EQ(part, (std::vector<std::string>{"y", "[H]", "z"}));
    fw::CopyArrayRange(lines, part, 1, 99);
    EXPECT_EQ(part.size(), 3u);
    EXPECT_EQ(fw::ArrayRemoveRange(lines, 1, 2), (std::vector<std::string>{"x", "z"}));
    std::vector<std::string> sorted = {"b", "c", "a"};
    fw::SortArray(sorted, false);
    EXPECT_EQ(sorted, (std::vector<std::string>{"c", "b", "a"}));
}

TEST(NumberHelpers, Rounding) {
    EXPECT_EQ(fw::RoundToDecimals(-2.5, 0), -3);
    EXPECT_EQ(fw::RoundToDecimals(2.5, 0), 3);
    EXPECT_DOUBLE_EQ(fw::RoundToDecimals(1.234, 2), 1.23);
    EXPECT_EQ(fw::RoundToInt(2.5), 3);
    EXPECT_EQ(fw::RoundToInt(-2.5), -2);
    int v = 150;
    fw::ClampPercent(v);
    EXPECT_EQ(v, 100);
    v = -3;
    fw::ClampPercent(v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(fw::AbsLessThan(-0.5, 1), 1);
    EXPECT_EQ(fw::AbsLessThan(1, 1), 0);
}

TEST(NumberHelpers, NextPowerOfTwo) {
    const std::pair<int, int> cases[] = {{-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {50, 64},
                                         {100, 128}, {1024, 1024}, {1025, 2048}};
    for (auto [n, p] : cases) EXPECT_EQ(fw::NextPowerOfTwo(n), p) << n;
    EXPECT_GT(fw::NextPowerOfTwo(2147483647), 0) << "never overflows";
}

TEST(NumberHelpers, RandRangeIsSeededAndInRange) {
    fw::SeedRandRange(42);
    std::vector<int> first;
    for (int i = 0; i < 50; ++i) first.push_back(fw::RandRange(-3, 3));
    fw::SeedRandRange(42);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(fw::RandRange(-3, 3), first[static_cast<std::size_t>(i)]);
    for (int v : first) {
        EXPECT_GE(v, -3);
        EXPECT_LE(v, 3);
    }
    for (int i = 0; i < 50; ++i) {
        const int r = fw::RandRange(10, 5);  // bounds in either order
        EXPECT_GE(r, 5);
        EXPECT_LE(r, 10);
    }
    EXPECT_EQ(fw::RandRange(7, 7), 7);
    const int wide = fw::RandRange(-2147483647 - 1, 2147483647);
    (void)wide;  // no overflow in the span
}

TEST(NumberHelpers, CalcAnimLengthSeconds) {
    EXPECT_EQ(fw::CalcAnimLengthSeconds(1.0), 200) << "without the shell: 5 ms ticks";
    EXPECT_EQ(fw::CalcAnimLengthSeconds(1e12), 2147483647) << "saturates, never overflows";
    EXPECT_EQ(fw::CalcAnimLengthSeconds(-0.0079), -1) << "the whole part, toward zero";

    fw::Game = plat::New<fw::TGame>();
    fw::Game->FixedRateLogic->CalcMS();
    EXPECT_EQ(fw::CalcAnimLengthSeconds(0.5), 100);
    // At half speed 2.9 ms are 1.16 ticks: the fraction of a millisecond counts.
    fw::Game->CurrentSpeed = 0.5f;
    EXPECT_EQ(fw::CalcAnimLengthSeconds(0.0029), 1);
    EXPECT_EQ(fw::CalcAnimLengthSeconds(1.0), 400);
    fw::Game.reset();
}

TEST(NumberHelpers, IndicesAndCurves) {
    EXPECT_EQ(fw::LerpIndex(1, 2, 10, 1), 5);
    EXPECT_EQ(fw::LerpIndex(1, 2, 10, 0), 5);
    EXPECT_EQ(fw::LerpIndex(3, 2, 10, 1), 9);
    EXPECT_EQ(fw::LerpIndex(1, 0, 10, 1), 0) << "no division by zero";
    EXPECT_EQ(fw::LerpIndex(1, 2, 0, 1), 0);
    EXPECT_NEAR(fw::SigmoidCurve(0), 0, 1e-12);
    EXPECT_NEAR(fw::SigmoidCurve(1), 1, 1e-12);
    EXPECT_NEAR(fw::SigmoidCurve(0.5), 0.5, 1e-12);
    EXPECT_NEAR(fw::SemitoneRatio(12), 2, 1e-12);
    EXPECT_NEAR(fw::ScaleDegreeRatio(7), 2, 1e-12);
    EXPECT_NEAR(fw::ScaleDegreeRatio(99), 4, 1e-12);
    EXPECT_DOUBLE_EQ(fw::MillisPerFrame(50), 20);
}

}  // namespace
