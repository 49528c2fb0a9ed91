// Tracking values and the debug overlay.

#include <algorithm>
#include <string>
#include <vector>

#include "framework/drawing.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

TEST_F(ShellTest, TrackingValuesShowPaddedFiguresAndCapTheMaximum) {
    fw::TDebugVar timer;
    timer.Init();
    timer.Label = "Logic   ";
    timer.Start();
    clock_->Advance(4);
    timer.Calc();
    EXPECT_EQ(timer.GetDisplay(), "Logic   004/004");
    timer.Start();
    clock_->Advance(2000);
    timer.Calc();
    EXPECT_EQ(timer.Current, 2000);
    EXPECT_EQ(timer.GetDisplay(), "Logic   2000/999");
}

TEST_F(ShellTest, FrameCounterCountsWholeSecondsOnly) {
    fw::TFPSCounter fps;
    fps.Label = "FPS     ";
    fps.Init();
    // During the first second nothing is known yet: no rate and no minimum.
    for (int i = 0; i < 50; ++i) {
        clock_->Advance(16);
        fps.Calc();
    }
    EXPECT_EQ(fps.GetDisplay(), "FPS     000/999");
    // 60 frames a second from then on.
    for (int i = 0; i < 200; ++i) {
        clock_->Advance(1000 / 60 + (i % 3 == 0 ? 1 : 0));
        fps.Calc();
    }
    EXPECT_GE(fps.Current, 55);
    EXPECT_LE(fps.Current, 65);
    EXPECT_GE(fps.minimum, 55) << "the minimum never counted a part-second";
    EXPECT_EQ(fps.GetDisplay(), "FPS     " + fw::PadNumber(fps.Current, 3) + "/" + fw::PadNumber(fps.minimum, 3));
}

class OverlayTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        plat::StartRecording();
        plat::ClearRecordedCalls();
        fw::Game->FixedRateLogic->Create();
        fw::Game->FixedRateLogic->Init();
        fw::Game->DebugDisplayX = 5;
        fw::Game->DebugDisplayY = 5;
        fw::Game->Debug = 1;
        fw::Game->FixedRateLogic->Label = "Ticks   ";
    }
    void TearDown() override {
        plat::StopRecording();
        ShellTest::TearDown();
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> out;
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::TEXT && c.r == 255) out.push_back(c.text);
        return out;
    }
};

TEST_F(OverlayTest, TheFullPanelListsEveryLineInOrder) {
    fw::Game->Debug3 = 0.25f;
    fw::Game->SoundDriver = "FreeAudio";
    fw::Game->Music = 0;
    fw::Game->DebugPrint();
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 27u);
    EXPECT_EQ(texts[3], "Desk Hz 0");
    EXPECT_EQ(texts[5], "Ticks   000/000");
    EXPECT_EQ(texts[10], "Timing  1");
    EXPECT_EQ(texts[11], "Gfx Drv DirectX ");
    EXPECT_EQ(texts[12], "Snd Drv FreeAudio");
    EXPECT_EQ(texts[14].rfind("GC Mem  ", 0), 0u);
    EXPECT_NE(texts[15].find("MB Used/"), std::string::npos);
    EXPECT_NE(texts[15].find("% Load"), std::string::npos);
    EXPECT_EQ(texts[16], "M. Vol. 100 (off)");
    EXPECT_EQ(texts[18], "Sp. Vol.100 (on)");
    EXPECT_EQ(texts[25], "Debug3  0.250000000");
    // The panel: black at the panel alpha behind 27 lines.
    const auto& first = plat::RecordedCalls().front();
    EXPECT_EQ(first.kind, plat::DrawRecord::RECT);
    EXPECT_FLOAT_EQ(first.alpha, 0.4f);
    EXPECT_FLOAT_EQ(first.x, 0);
    EXPECT_FLOAT_EQ(first.w, 350);
    EXPECT_FLOAT_EQ(first.h, 27 * 12 + 10);
    // Shadowed: a black copy one pixel down-right under every line.
    const auto shadows = std::count_if(plat::RecordedCalls().begin(), plat::RecordedCalls().end(),
                                       [](const plat::DrawRecord& c) {
                                           return c.kind == plat::DrawRecord::TEXT && c.r == 0;
                                       });
    EXPECT_EQ(shadows, 27);
}

TEST_F(OverlayTest, TheShadowIsSolidAndTheSharedStyleComesBack) {
    fw::SetShadowStyle(3, 4, 0.25f);
    fw::Game->DebugShowFPSOnly = 1;
    fw::Game->DebugPrint();
    const auto& calls = plat::RecordedCalls();
    const auto shadow = std::find_if(calls.begin(), calls.end(), [](const plat::DrawRecord& c) {
        return c.kind == plat::DrawRecord::TEXT && c.r == 0;
    });
    ASSERT_NE(shadow, calls.end());
    EXPECT_FLOAT_EQ(shadow->alpha, 1);
    EXPECT_FLOAT_EQ(shadow->x, 6) << "one pixel right of the line";
    EXPECT_FLOAT_EQ(shadow->y, 6);
    EXPECT_FLOAT_EQ(fw::TextShadowX, 3);
    EXPECT_FLOAT_EQ(fw::TextShadowY, 4);
    EXPECT_FLOAT_EQ(fw::TextShadowAlpha, 0.25f);
    fw::SetShadowStyle(1, 1, 0.5f);
}

TEST_F(OverlayTest, FrameRateOnlyNoPanelAndPlacementLines) {
    fw::Game->DebugShowFPSOnly = 1;
    fw::Game->DebugPrint();
    EXPECT_EQ(Texts().size(), 1u);

    plat::ClearRecordedCalls();
    fw::Game->DebugShowFPSOnly = 0;
    fw::Game->DebugPanel = 0;
    fw::Game->GraphicPlacement = 1;
    fw::Game->SetGP(3, -2);
    fw::Game->DebugPrint();
    EXPECT_NE(plat::RecordedCalls().front().kind, plat::DrawRecord::RECT);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 29u);
    EXPECT_EQ(texts[27], "GP X    3");
    EXPECT_EQ(texts[28], "GP Y    -2");

    plat::ClearRecordedCalls();
    fw::Game->Debug = 0;
    fw::Game->DebugPrint();
    EXPECT_TRUE(plat::RecordedCalls().empty());
}

TEST_F(OverlayTest, TheScreensFontIsBackAfterTheOverlay) {
    fw::Game->DebugImageFont = plat::LoadImageFont(SHELL_TEST_FONT, 8, 0);
    ASSERT_TRUE(fw::Game->DebugImageFont);
    for (const int fpsOnly : {0, 1}) {
        SCOPED_TRACE(fpsOnly);
        fw::Game->DebugShowFPSOnly = fpsOnly;
        plat::SetImageFont(nullptr);  // the screen draws in the default font
        fw::Game->DebugPrint();
        EXPECT_EQ(plat::GetImageFont(), plat::DefaultFont());
    }
}

}  // namespace
