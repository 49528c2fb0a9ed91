// The fixed-rate loop under a hand-driven clock: how frame times become
// ticks and Delta values, and how the main loop runs them.

#include <cmath>
#include <vector>

#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

// Counts logic ticks and records each tick's Delta.
class CountingScreen : public fw::TScreen {
public:
    std::vector<float> deltas;
    int endAfter = -1;  // tick count after which the shell is told to end
    void Logic() override {
        deltas.push_back(fw::Delta);
        if (endAfter >= 0 && static_cast<int>(deltas.size()) >= endAfter) fw::Game->InstantExit = 1;
    }
};

class TimingTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        logic = fw::Game->FixedRateLogic;
        logic->Create();
        logic->Init();
    }
    // Advances the clock by ms and runs Calc.
    double Frame(int ms) {
        clock_->Advance(ms);
        logic->Calc();
        return logic->NumTicks;
    }
    plat::Ref<fw::TFixedRateLogic> logic;
};

TEST_F(TimingTest, FrameTimesBecomeTicks) {
    struct Case {
        const char* what;
        int vsync;
        std::vector<int> frames;  // milliseconds of each frame
        double lastTicks;         // NumTicks after the last frame
    };
    const Case cases[] = {
        {"16 ms frames after the raw five", 1, {16, 16, 16, 16, 16, 16, 16}, 3.2},
        {"a 300 ms stall is capped at 50 ms", 1, {16, 16, 16, 16, 16, 300}, 10.0},
        {"exactly 10 ms", 0, {10, 10, 10, 10, 10, 10}, 2.0},
        {"raw frames follow each frame exactly", 0, {5, 40, 7}, 1.4},
        // Without vertical sync the history smooths: after 6 frames of 10 ms
        // the history holds one 10; a 20 ms frame averages to 15 ms.
        {"no vsync averages", 0, {10, 10, 10, 10, 10, 10, 20}, 3.0},
        // With vertical sync a change of more than 1 ms is followed at once.
        {"vsync follows a lasting change", 1, {10, 10, 10, 10, 10, 10, 20}, 4.0},
        // A 1 ms wobble is smoothed even with vertical sync.
        {"vsync smooths a small wobble", 1, {10, 10, 10, 10, 10, 10, 11}, 2.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fw::Game->VSync = c.vsync;
        logic->HistoryClear();
        logic->Init();
        double ticks = 0;
        for (int ms : c.frames) ticks = Frame(ms);
        EXPECT_NEAR(ticks, c.lastTicks, 1e-6);
        EXPECT_EQ(logic->Current, static_cast<int>(ticks));
    }
}

TEST_F(TimingTest, RawFramesLeaveNoTraceInTheHistory) {
    fw::Game->VSync = 0;
    for (int i = 0; i < 5; ++i) Frame(30);
    EXPECT_EQ(logic->HistorySize, 1);
    EXPECT_EQ(logic->History[0], 0);
    EXPECT_EQ(logic->First, 0);
    Frame(8);
    EXPECT_EQ(logic->History[0], 8);
    EXPECT_EQ(logic->HistorySize, 2);
    // Init starts five raw frames again but keeps what the history holds.
    logic->Init();
    EXPECT_EQ(logic->First, 5);
    Frame(40);
    EXPECT_EQ(logic->History[0], 8);
    EXPECT_NEAR(logic->NumTicks, 8.0, 1e-9);
}

TEST_F(TimingTest, HistoryGrowsToFiftyThenSlides) {
    fw::Game->VSync = 0;
    for (int i = 0; i < 5; ++i) Frame(10);
    for (int i = 0; i < 60; ++i) Frame(10);
    EXPECT_EQ(logic->HistorySize, 50);
    EXPECT_GE(logic->HistoryCounter, 0);
    EXPECT_LT(logic->HistoryCounter, 50);
    // 50 frames of 20 ms replace the whole ring: the average is then 20.
    for (int i = 0; i < 50; ++i) Frame(20);
    EXPECT_NEAR(logic->NumTicks, 4.0, 1e-9);
}

TEST_F(TimingTest, ClockGoingBackwardsReusesTheLastTickCount) {
    for (int i = 0; i < 6; ++i) Frame(16);
    const double before = logic->NumTicks;
    clock_->Advance(-500);
    logic->Calc();
    EXPECT_DOUBLE_EQ(logic->NumTicks, before);
    // The next frame measures from the new (earlier) time, not from the old.
    EXPECT_NEAR(Frame(16), 3.2, 1e-6);
}

TEST_F(TimingTest, MaximumAndSpeedModes) {
    fw::Game->VSync = 1;
    for (int i = 0; i < 5; ++i) Frame(16);
    Frame(300);
    EXPECT_EQ(logic->maximum, 10);
    logic->Init();
    EXPECT_EQ(logic->maximum, 0);

    fw::Game->FastOn();
    EXPECT_EQ(fw::FlipSync, 0);
    EXPECT_DOUBLE_EQ(Frame(100), 1.0);
    fw::Game->FastOff();
    EXPECT_EQ(fw::FlipSync, 1);

    fw::Game->SlowMotionOn();
    EXPECT_FLOAT_EQ(logic->MS, 20.0f);
    // Durations keep their tick counts in slow motion.
    EXPECT_FLOAT_EQ(fw::Game->CalcAnimLength(500), 100.0f);
    EXPECT_NEAR(Frame(40), 2.0, 1e-6);
    fw::Game->SlowMotionOff();
    EXPECT_FLOAT_EQ(logic->MS, 5.0f);
    EXPECT_EQ(fw::Game->CalcMilliSecsFromFrames(7), 35);
}

class LoopTest : public TimingTest {
protected:
    void SetUp() override {
        TimingTest::SetUp();
        screen = plat::New<CountingScreen>();
        fw::Game->CurrentTScreen = screen;
        fw::Game->VSync = 1;
    }
    // One frame of the main loop after `ms` milliseconds.
    int LoopFrame(int ms) {
        clock_->Advance(ms);
        return fw::Game->MainLogicLoop();
    }
    plat::Ref<CountingScreen> screen;
};

TEST_F(LoopTest, WholeTicksThenTheRemainder) {
    struct Case {
        const char* what;
        int ms;
        std::vector<float> deltas;
    };
    const Case cases[] = {
        {"16 ms", 16, {1, 1, 1, 0.2f}},
        {"exactly two ticks", 10, {1, 1}},
        {"a stall", 300, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"less than a tick", 2, {0.4f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fw::Game->FixedRateLogic->Init();
        for (int i = 0; i < 5; ++i) LoopFrame(c.ms);
        screen->deltas.clear();
        EXPECT_EQ(LoopFrame(c.ms), 1);
        ASSERT_EQ(screen->deltas.size(), c.deltas.size());
        for (std::size_t i = 0; i < c.deltas.size(); ++i) EXPECT_NEAR(screen->deltas[i], c.deltas[i], 1e-4);
        EXPECT_FLOAT_EQ(fw::Game->FixedRateLogic->FullDelta, c.deltas.back());
    }
}

TEST_F(LoopTest, MinusOneEndsTheFrameAtOnce) {
    for (int i = 0; i < 5; ++i) LoopFrame(16);
    screen->deltas.clear();
    screen->endAfter = 2;
    // The third tick sees InstantExit and ends the loop before any logic.
    EXPECT_EQ(LoopFrame(16), -1);
    EXPECT_EQ(screen->deltas.size(), 2u);
}

TEST_F(LoopTest, NoTimingRunsFixedTicksAndPausedTicksRunNoLogic) {
    fw::Game->NoTiming = 1;
    fw::Game->NoTimingTicks = 1;
    LoopFrame(300);
    EXPECT_EQ(screen->deltas.size(), 1u);
    fw::Game->NoTiming = 0;

    fw::Game->Paused = 1;
    screen->deltas.clear();
    for (int i = 0; i < 6; ++i) LoopFrame(16);
    EXPECT_TRUE(screen->deltas.empty());
}

TEST_F(LoopTest, TheLoopAllocatesNoHistory) {
    const int* before = fw::Game->FixedRateLogic->History.data();
    for (int i = 0; i < 200; ++i) LoopFrame(16);
    EXPECT_EQ(fw::Game->FixedRateLogic->History.data(), before);
    EXPECT_EQ(fw::Game->FixedRateLogic->History.size(), 50u);
}

}  // namespace
