// The mouse pointer's state and drawing, and the key and button repeaters.

#include <vector>

#include "framework/input.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

class MouseTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        fw::Game->FixedRateLogic->Init();  // 5 ms ticks
        fw::Delta = 1.0f;
    }
};

TEST_F(MouseTest, KeyRepeatFiresOnPressAfterTheDelayAndAtEachInterval) {
    auto repeat = fw::TKeyRepeat::Create(20, 10);  // 4 ticks, then every 2
    fw::KeyTableDown('A');
    std::vector<int> fired;
    for (int i = 0; i < 10; ++i) fired.push_back(repeat->GetKey('A'));
    EXPECT_EQ(fired, (std::vector<int>{1, 0, 0, 0, 1, 0, 1, 0, 1, 0}));
    fw::KeyTableUp('A');
    EXPECT_EQ(repeat->GetKey('A'), 0);
    EXPECT_EQ(repeat->LastState, 0);
    fw::KeyTableDown('A');
    EXPECT_EQ(repeat->GetKey('A'), 1) << "released and pressed again: a new first press";
}

TEST_F(MouseTest, RepeatCountsWholeTicksAndAZeroIntervalStopsRepeating) {
    auto repeat = fw::TKeyRepeat::Create(5, 0);
    fw::KeyTableDown('B');
    EXPECT_EQ(repeat->GetKey('B'), 1);
    EXPECT_EQ(repeat->GetKey('B'), 1) << "the one-tick delay ends";
    for (int i = 0; i < 5; ++i) EXPECT_EQ(repeat->GetKey('B'), 0);

    // A partial tick takes a whole tick off the repeat counter.
    auto partial = fw::TKeyRepeat::Create(5, 15);  // repeats every 3 ticks
    fw::KeyTableDown('C');
    partial->GetKey('C');
    partial->GetKey('C');
    fw::Delta = 0.25f;
    EXPECT_EQ(partial->DelayCounter, 3);
    partial->GetKey('C');
    EXPECT_EQ(partial->DelayCounter, 2);
}

TEST_F(MouseTest, MouseRepeatAnswersTwoForRepeats) {
    auto repeat = fw::TMouseRepeat::Create(10, 5);
    fw::Game->Mouse->b1 = 1;
    fw::Game->Mouse->CalcButtonTotals();
    std::vector<int> fired;
    for (int i = 0; i < 5; ++i) fired.push_back(repeat->GetButton());
    EXPECT_EQ(fired, (std::vector<int>{1, 0, 2, 2, 2}));
    fw::Game->Mouse->ClearButtons();
    EXPECT_EQ(repeat->GetButton(), 0);
}

TEST_F(MouseTest, PointerStateAndDrawing) {
    auto& mouse = *fw::Game->Mouse;
    mouse.h1 = 2;
    mouse.h3 = 1;
    mouse.b2 = 1;
    mouse.CalcButtonTotals();
    EXPECT_EQ(mouse.GetMb(), 1);
    EXPECT_EQ(mouse.GetMh(0), 3);
    EXPECT_EQ(mouse.GetMh(1), 3);
    EXPECT_EQ(mouse.GetMh(0), 0) << "reading with clear empties the clicks";
    EXPECT_EQ(mouse.b2, 1);
    mouse.ClearButtons();
    EXPECT_EQ(mouse.GetMb(), 0);

    plat::StartRecording();
    mouse.x = 10;
    mouse.y = 20;
    mouse.Draw();
    ASSERT_EQ(plat::RecordedCalls().size(), 1u);
    EXPECT_EQ(plat::RecordedCalls()[0].kind, plat::DrawRecord::PLOT) << "no image: one pixel";
    plat::ClearRecordedCalls();
    mouse.Off();
    EXPECT_EQ(mouse.Manage(), 0);
    mouse.Draw();
    EXPECT_TRUE(plat::RecordedCalls().empty());
    mouse.On();
    int particles = 0;
    mouse.ParticleFunc = [&] { return ++particles; };
    EXPECT_EQ(mouse.Manage(), 1);
    EXPECT_EQ(particles, 1);
    plat::StopRecording();
}

}  // namespace
