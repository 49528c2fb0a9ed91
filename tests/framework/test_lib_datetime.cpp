// Calendar values: day numbers, weekdays, arithmetic by unit, differences
// and pattern formatting.

#include <gtest/gtest.h>

#include "framework/datetime.h"

namespace {

using fw::TDateTime;

plat::Ref<TDateTime> Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    auto v = TDateTime::Create();
    v->Set_DateTimeSerial(y, mo, d, h, mi, s);
    return v;
}

std::string Text(const plat::Ref<TDateTime>& v) {
    return TDateTime::Get_String(v, "YYYY-MM-DD HH:NN:SS");
}

TEST(DateTime, DayNumbersAndWeekdays) {
    EXPECT_EQ(TDateTime::Conv_Date2Julian(Make(2010, 4, 23)), 2455323);
    EXPECT_EQ(TDateTime::WeekDay(Make(2010, 4, 23)), 5);
    EXPECT_EQ(TDateTime::WeekDay(Make(2000, 1, 1)), 6);
    EXPECT_EQ(TDateTime::WeekDay(Make(2024, 2, 29)), 4);
    // Day numbers and dates convert both ways over a long span.
    plat::Ref<TDateTime> back;
    for (int j = 2415021; j < 2488070; j += 37) {
        TDateTime::Conv_Julian2Date(j, back);
        ASSERT_EQ(TDateTime::Conv_Date2Julian(back), j) << Text(back);
    }
}

TEST(DateTime, AddByUnit) {
    struct Case {
        const char* unit;
        int amount;
        plat::Ref<TDateTime> from;
        const char* expected;
    } cases[] = {
        {"D", 1, Make(2010, 1, 31), "2010-02-01 00:00:00"},
        {"D", 1, Make(2100, 2, 28), "2100-02-29 00:00:00"},  // every fourth year, no exception
        {"D", -1, Make(2010, 3, 1), "2010-02-28 00:00:00"},
        {"M", 13, Make(2010, 4, 23), "2011-05-23 00:00:00"},
        {"M", 0, Make(2010, 12, 5), "2010-12-05 00:00:00"},   // December stays December
        {"M", 1, Make(2010, 11, 5), "2010-12-05 00:00:00"},   // November + 1 is December
        {"M", 1, Make(2010, 12, 5), "2011-01-05 00:00:00"},
        {"M", 12, Make(2010, 12, 5), "2011-12-05 00:00:00"},
        {"M", 23, Make(2010, 12, 5), "2012-11-05 00:00:00"},
        {"Y", 5, Make(2010, 4, 23), "2015-04-23 00:00:00"},
        {"H", 30, Make(2010, 4, 23, 20), "2010-04-25 02:00:00"},
        {"N", 75, Make(2010, 4, 23, 23, 50), "2010-04-24 01:05:00"},
        {"S", 1, Make(2010, 12, 31, 23, 59, 59), "2011-01-01 00:00:00"},
        {"S", 3661, Make(2010, 4, 23, 1, 1, 1), "2010-04-23 02:02:02"},
        {"Q", 5, Make(2010, 4, 23), "2010-04-23 00:00:00"},  // unknown unit: unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.amount) + " from " + Text(c.from));
        const std::string before = Text(c.from);
        EXPECT_EQ(Text(TDateTime::Add(c.unit, c.amount, c.from)), c.expected);
        EXPECT_EQ(Text(c.from), before) << "Add works on a copy";
    }
}

TEST(DateTime, NegativeAmountsMakeNoBorrow) {
    auto v = TDateTime::Add("N", -5, Make(2010, 4, 23, 10, 2));
    EXPECT_EQ(v->Hour, 10);
    EXPECT_EQ(v->Minute, -3);
}

TEST(DateTime, Differences) {
    auto a = Make(2010, 4, 23, 23, 59, 59);
    auto b = Make(2010, 4, 24, 0, 0, 0);
    EXPECT_EQ(TDateTime::Diff("S", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("N", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("H", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("D", a, b), 1);
    EXPECT_EQ(TDateTime::Diff("M", Make(2009, 11, 1), Make(2010, 2, 1)), 3);
    EXPECT_EQ(TDateTime::Diff("Y", Make(2009, 11, 1), Make(2010, 2, 1)), 1);
    EXPECT_EQ(TDateTime::Diff("X", a, b), 0);
    EXPECT_EQ(a->compare(b), -1);
    EXPECT_EQ(Make(2010, 1, 1, 12)->compare(Make(2010, 1, 1, 11, 59, 30)), 30);
}

TEST(DateTime, Formatting) {
    auto v = Make(2010, 4, 23, 14, 25, 1);
    struct Case {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"YYYY-MM-DD HHNNSS screenshot.png", "2010-04-23 142501 screenshot.png"},
        {"YYY", ""},
        {"YY/M/D", "10/4/23"},
        {"MMM MMMM", "Apr April"},
        {"DDD DDDD", "Fri Friday"},
        {"H:N:S", "14:25:1"},
        {"HHH", ""},
        {"yyyy mm", "yyyy mm"},  // lower case is literal text
    };
    for (const Case& c : cases) EXPECT_EQ(TDateTime::Get_String(v, c.pattern), c.expected) << c.pattern;
    EXPECT_EQ(TDateTime::Get_String_Parser_Formater(12345, 2), "45");
    EXPECT_EQ(TDateTime::Get_String_Parser_Formater(7, 3), "007");
    // Out-of-range fields give empty names, not a crash.
    EXPECT_EQ(TDateTime::Get_String(Make(2010, 13, 1), "MMM"), "");
}

TEST(DateTime, CopyAndCurrent) {
    auto v = Make(2001, 2, 3, 4, 5, 6);
    plat::Ref<TDateTime> target;
    v->Copy(target);
    ASSERT_TRUE(target);
    EXPECT_EQ(Text(target), "2001-02-03 04:05:06");

    auto now = TDateTime::Create();
    now->Set_DateTimeCurrent();
    EXPECT_GE(now->Year, 2020);
    EXPECT_GE(now->Month, 1);
    EXPECT_LE(now->Month, 12);
    EXPECT_GE(now->Day, 1);
    EXPECT_LE(now->Day, 31);
    EXPECT_LE(now->Hour, 23);
    EXPECT_LE(now->Second, 60);
}

}  // namespace
