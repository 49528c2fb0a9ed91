// The mouse pointer's state and drawing, and the key and button repeaters.

#include <string>
#include <utility>
#include <vector>

#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/space.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
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

    mouse.x = 10;
    mouse.y = 20;
    plat::StartRecording();
    plat::ClearRecordedCalls();  // whatever an earlier test left recorded
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

// The pointer is drawn where the buttons, lists, sliders and tool tips
// find it: with the virtual resolution on, 320 x 240 shown 2.5 times its
// size in an 800 x 600 window, the window pixel (400, 300) is drawn at
// (160, 120); with it off, at (400, 300).
TEST_F(MouseTest, ThePointerIsDrawnInTheDrawingSpace) {
    struct Restore {
        int use = fw::UseVirtualResolution;
        ~Restore() {
            fw::UseVirtualResolution = use;
            plat::EndGraphics();
        }
    } restore;
    plat::StopRecording();
    ASSERT_TRUE(plat::Graphics(800, 600, 0, 60));
    auto& mouse = *fw::Game->Mouse;
    mouse.Image = plat::CreateImage(8, 8);
    mouse.Image2 = plat::CreateImage(4, 4);
    mouse.Image2xoff = 5;
    mouse.Image2yoff = -6;
    std::pair<int, int> userDrawnAt{-1, -1};
    mouse.UserDraw = [&](int ux, int uy) {
        userDrawnAt = {ux, uy};
        return 0;
    };
    for (const bool windowed : {false, true}) {
        for (const int virtualOn : {1, 0}) {
            SCOPED_TRACE(std::string(windowed ? "windowed" : "full screen") + (virtualOn ? ", virtual" : ""));
            fw::UseVirtualResolution = virtualOn;
            if (virtualOn) plat::SetVirtualResolution(320, 240);
            else plat::SetVirtualResolution(800, 600);
            fw::Game->FullScreen = windowed ? 0 : 1;
            // Full screen the position comes from the events; in a window
            // it follows the system cursor.
            mouse.x = 400;
            mouse.y = 300;
            if (windowed) {
                mouse.x = mouse.y = 0;
                plat::MoveMouse(400, 300);
            }
            const float expectX = virtualOn ? 160 : 400, expectY = virtualOn ? 120 : 300;
            plat::StartRecording();
            plat::ClearRecordedCalls();
            mouse.Draw();
            plat::StopRecording();
            EXPECT_EQ(mouse.x, 400);
            EXPECT_EQ(mouse.y, 300);
            std::vector<std::pair<float, float>> images;
            for (const auto& c : plat::RecordedCalls())
                if (c.kind == plat::DrawRecord::IMAGE) images.emplace_back(c.x, c.y);
            EXPECT_EQ(images, (std::vector<std::pair<float, float>>{{expectX + 5, expectY - 6}, {expectX, expectY}}))
                << "the second picture under the pointer, then the pointer";
            EXPECT_EQ(userDrawnAt, std::make_pair(static_cast<int>(expectX), static_cast<int>(expectY)));
            const fw::DrawingPoint hit = fw::PointerInDrawingSpace();
            EXPECT_FLOAT_EQ(hit.x, expectX) << "drawn where the widgets hit-test";
            EXPECT_FLOAT_EQ(hit.y, expectY);
        }
    }
    mouse.Image = mouse.Image2 = nullptr;
    mouse.UserDraw = nullptr;
}

}  // namespace
