#include <gtest/gtest.h>

#include <climits>
#include <regex>

#include "platform/core/clock.h"
#include "platform/core/random.h"

using namespace plat;

TEST(Clock, ManualClockDrivesMilliSecsAndWraps) {
    {
        ManualClock clock(1000);
        EXPECT_TRUE(ClockIsManual());
        EXPECT_EQ(MilliSecs(), 1000);
        clock.Advance(5);
        EXPECT_EQ(MilliSecs64(), 1005);
        AdvanceManualClock(10);
        EXPECT_EQ(MilliSecs(), 1015);
        SleepMs(20);  // advances instead of sleeping
        EXPECT_EQ(MilliSecs(), 1035);
        // The Int clock wraps; the 64-bit one does not.
        clock.Set((1LL << 32) + 7);
        EXPECT_EQ(MilliSecs(), 7);
        clock.Set(1LL << 31);
        EXPECT_EQ(MilliSecs(), INT_MIN);
        EXPECT_EQ(MilliSecs64(), 1LL << 31);
    }
    EXPECT_FALSE(ClockIsManual());
    std::int64_t a = MilliSecs64();
    SleepMs(2);
    std::int64_t b = MilliSecs64();
    EXPECT_GE(b - a, 2);
    EXPECT_LT(b - a, 1000);
    EXPECT_GE(a, 0);
}

TEST(Clock, CustomSourceAndReset) {
    std::int64_t t = 42;
    SetClockSource([&] { return t; });
    EXPECT_EQ(MilliSecs(), 42);
    t = 43;
    EXPECT_EQ(MilliSecs(), 43);
    SetClockSource(nullptr);
    EXPECT_NE(MilliSecs64(), 43);
}

TEST(Clock, DateAndTimeTexts) {
    EXPECT_TRUE(std::regex_match(CurrentDate(), std::regex(R"(\d\d (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{4})")))
        << CurrentDate();
    EXPECT_TRUE(std::regex_match(CurrentTime(), std::regex(R"(([01]\d|2[0-3]):[0-5]\d:[0-5]\d)"))) << CurrentTime();
}

TEST(Random, SameSeedSameSequence) {
    SeedRnd(1234);
    EXPECT_EQ(RndSeed(), 1234u);
    std::vector<int> a;
    for (int i = 0; i < 50; ++i) a.push_back(Rand(0, 1000000));
    SeedRnd(1234);
    std::vector<int> b;
    for (int i = 0; i < 50; ++i) b.push_back(Rand(0, 1000000));
    EXPECT_EQ(a, b);
    SeedRnd(1235);
    std::vector<int> c;
    for (int i = 0; i < 50; ++i) c.push_back(Rand(0, 1000000));
    EXPECT_NE(a, c);
    // Small neighbouring seeds start differently.
    SeedRnd(0);
    int z = Rand(0, 1 << 30);
    SeedRnd(1);
    EXPECT_NE(z, Rand(0, 1 << 30));
}

TEST(Random, RangesAreInclusiveAndEven) {
    SeedRnd(7);
    int counts[6] = {};
    const int n = 60000;
    for (int i = 0; i < n; ++i) {
        int v = RandomInt(1, 6);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        ++counts[v - 1];
    }
    for (int c : counts) EXPECT_NEAR(c, n / 6, n / 6 / 20);
    // Bounds in either order; the widest range without overflow.
    for (int i = 0; i < 1000; ++i) {
        int v = Rand(5, -5);
        ASSERT_GE(v, -5);
        ASSERT_LE(v, 5);
    }
    EXPECT_EQ(Rand(3, 3), 3);
    bool low = false, high = false;
    for (int i = 0; i < 1000; ++i) {
        int v = Rand(INT_MIN, INT_MAX);
        low = low || v < 0;
        high = high || v > 0;
    }
    EXPECT_TRUE(low && high);
}

TEST(Random, RealsStayInTheHalfOpenRange) {
    SeedRnd(99);
    double lo = 1, hi = 0;
    for (int i = 0; i < 20000; ++i) {
        double v = Rnd(0.01, 4.0);
        ASSERT_GE(v, 0.01);
        ASSERT_LT(v, 4.0);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_LT(lo, 0.02);
    EXPECT_GT(hi, 3.99);
    EXPECT_EQ(Rnd(2.0, 2.0), 2.0);
    double u = Rnd();
    EXPECT_GE(u, 0.0);
    EXPECT_LT(u, 1.0);
}
