// Fades and cross-fades: the blocking fade loop driven frame by frame with
// a hand-driven clock through the loop's frame hook (keys, clicks and close
// requests during the loop), the background's fade, and the cross-fade's
// ratio under its animation.

#include <cmath>
#include <memory>
#include <vector>

#include "framework/blocking.h"
#include "framework/drawing.h"
#include "framework/fade.h"
#include "framework/space.h"
#include "periphery_fixture.h"
#include "platform/core/clock.h"
#include "platform/sys/input.h"

namespace {

class FadeTest : public periphery::PeripheryTest {
protected:
    void SetUp() override {
        PeripheryTest::SetUp();
        clock = std::make_unique<plat::ManualClock>(50000);
    }
    void TearDown() override {
        fw::SetBlockingLoopFrameHook(nullptr);
        clock.reset();
        PeripheryTest::TearDown();
    }
    // Each frame moves the clock on by `step` ms and runs `also` first.
    void EveryFrame(int step, std::function<void(int)> also = nullptr) {
        fw::SetBlockingLoopFrameHook([this, step, also](int frame) {
            if (also) also(frame);
            clock->Advance(step);
        });
    }
    // The alpha of each drawing of `image`.
    static std::vector<float> AlphasOf(const plat::Ref<plat::TImage>& image) {
        std::vector<float> out;
        for (const auto& c : Calls(plat::DrawRecord::IMAGE))
            if (c.image == image.get()) out.push_back(c.alpha);
        return out;
    }
    std::unique_ptr<plat::ManualClock> clock;
};

TEST_F(FadeTest, FadingInAndOutOverTheLength) {
    auto picture = Picture(100, 50)->image;
    fw::TFade fade;
    fade.Init(1000, picture, nullptr);
    fade.CentreImage();
    EXPECT_EQ(fade.X, 270);
    EXPECT_EQ(fade.Y, 215);
    EveryFrame(300);
    EXPECT_EQ(fade.FadeDo(1), 1);
    const std::vector<float> out = AlphasOf(picture);
    const std::vector<float> expected = {1, 0.7f, 0.4f, 0.1f, 0};
    ASSERT_EQ(out.size(), expected.size());
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], expected[i], 1e-6) << "frame " << i;
    EXPECT_EQ(Calls(plat::DrawRecord::CLS).size(), 5u) << "each frame starts clear";

    plat::ClearRecordedCalls();
    fade.Reset();
    EXPECT_EQ(fade.FadeDo(0), 1);
    const std::vector<float> in = AlphasOf(picture);
    ASSERT_EQ(in.size(), expected.size());
    for (std::size_t i = 0; i < in.size(); ++i) EXPECT_NEAR(in[i], 1 - expected[i], 1e-6) << "frame " << i;
    EXPECT_EQ(plat::GetBlend(), plat::SOLIDBLEND) << "the drawing state is reset afterwards";
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);
    EXPECT_EQ(fw::InputMode, 0) << "the shell's own key tables are back";
}

TEST_F(FadeTest, AHeldKeyDoesNotInterruptButAHitDoes) {
    auto picture = Picture(10, 10)->image;
    fw::TFade fade;
    fade.Init(1000, picture, nullptr);
    plat::SimulateKeyDown(plat::KEY_SPACE);
    plat::SimulateKeyPress('A');  // before the fade: flushed
    EveryFrame(100, [](int frame) {
        if (frame == 1) plat::SimulateKeyDown(plat::KEY_SPACE, true);  // auto-repeat of the held key
        if (frame == 3) plat::SimulateKeyPress('B');
    });
    EXPECT_EQ(fade.FadeDo(1), -1);
    EXPECT_EQ(AlphasOf(picture).size(), 4u) << "cut short on the frame after the hit";
    EXPECT_EQ(fw::KeyHitCode('B'), 0) << "the key that cut it short is not seen again";
    EXPECT_EQ(plat::GetBlend(), plat::SOLIDBLEND);
    plat::SimulateKeyUp(plat::KEY_SPACE);

    // Let go and pressed again during the next fade, the key counts.
    fade.Reset();
    plat::SimulateKeyDown(plat::KEY_SPACE);
    EveryFrame(100, [](int frame) {
        if (frame == 1) plat::SimulateKeyUp(plat::KEY_SPACE);
        if (frame == 3) plat::SimulateKeyPress(plat::KEY_SPACE);
    });
    EXPECT_EQ(fade.FadeDo(0), -1);
}

TEST_F(FadeTest, ClicksAndCloseRequestsEndTheLoopAndTheCloseRequestReachesTheShell) {
    fw::TFade fade;
    fade.Init(1000, Picture(10, 10)->image, nullptr);
    EveryFrame(100, [](int frame) {
        if (frame == 2) plat::SimulateMouseButton(1, true);
    });
    EXPECT_EQ(fade.FadeDo(0), -1);
    plat::SimulateMouseButton(1, false);
    EXPECT_EQ(fw::Game->TerminatedEvent, 0);

    fade.Reset();
    EveryFrame(100, [](int frame) {
        if (frame == 2) plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    });
    EXPECT_EQ(fade.FadeDo(0), -1);
    EXPECT_EQ(fw::Game->TerminatedEvent, 1) << "kept for the shell, not flushed away";
}

TEST_F(FadeTest, TheCallersInputModeComesBackWithNothingOfTheLoopsInput) {
    fw::TFade fade;
    fade.Init(300, Picture(10, 10)->image, nullptr);
    fw::UseFrameworkInput();  // a caller already on polled input (the error panel's mode)
    EveryFrame(100, [](int frame) {
        if (frame == 1) plat::SimulateKeyDown('K');
    });
    EXPECT_EQ(fade.FadeDo(0), -1);
    EXPECT_EQ(fw::InputMode, 1);
    EXPECT_EQ(fw::KeyHitCode('K'), 0);
    fw::FlushAllInput();

    fade.Reset();
    EveryFrame(100, [](int frame) {
        if (frame == 1) plat::SimulateKeyUp('K');  // let go during the loop
    });
    fw::KeyTableDown('K');
    EXPECT_EQ(fade.WaitForTime(200), 0) << "a release is no press";
    EXPECT_EQ(fw::InputMode, 0);
    EXPECT_EQ(fw::KeyDownCode('K'), 0) << "the shell does not think it still held";
}

TEST_F(FadeTest, WaitForTimeHoldsThePicture) {
    auto picture = Picture(10, 10)->image;
    fw::TFade fade;
    fade.Init(500, picture, nullptr);
    EveryFrame(100);
    EXPECT_EQ(fade.WaitForTime(300), 0);
    EXPECT_EQ(AlphasOf(picture), (std::vector<float>{1, 1, 1, 1, 1}));
    EXPECT_EQ(fade.Out, -1);
    EveryFrame(100, [](int frame) {
        if (frame == 1) plat::SimulateKeyPress('Q');
    });
    EXPECT_EQ(fade.WaitForTime(10000), -1);
}

TEST_F(FadeTest, AFadeOfNoLengthShowsItsEndAtOnce) {
    auto picture = Picture(10, 10)->image;
    fw::TFade fade;
    fade.Init(0, picture, nullptr);
    EveryFrame(5);
    EXPECT_EQ(fade.FadeDo(0), 1);
    for (float a : AlphasOf(picture)) EXPECT_FLOAT_EQ(a, 1) << "no NaN";
    plat::ClearRecordedCalls();
    fade.Reset();
    EXPECT_EQ(fade.FadeDo(1), 1);
    for (float a : AlphasOf(picture)) EXPECT_FLOAT_EQ(a, 0);
}

TEST_F(FadeTest, TheBackgroundFadesOutOverItsOwnTime) {
    fw::TFade fade;
    fade.Init(2000, nullptr, nullptr);
    fade.Out = 1;
    fade.BackgroundFadeTime = 500;
    fade.BackgroundXSpeed = 10;
    const double start = fade.StartTime;
    const std::pair<float, float> timeline[] = {{0, 1}, {1000, 1}, {1500, 1}, {1750, 0.5f}, {2000, 0}, {2100, 0}};
    for (const auto& [ms, alpha] : timeline) {
        fade.MoveBackground(start + ms, ms);
        EXPECT_FLOAT_EQ(fade.BackgroundAlpha, alpha) << ms << " ms";
    }
    EXPECT_FLOAT_EQ(fade.BackgroundX, 21) << "10 pixels a second over 2.1 s";

    fade.Out = 0;
    fade.MoveBackground(start + 250, 250);
    EXPECT_FLOAT_EQ(fade.BackgroundAlpha, 0.5f);
    fade.BackgroundFadeTime = 0;
    fade.MoveBackground(start, 0);
    EXPECT_FLOAT_EQ(fade.BackgroundAlpha, 1) << "no fade time: there at once";
    fade.Out = 1;
    fade.MoveBackground(start + 1999, 1999);
    EXPECT_FLOAT_EQ(fade.BackgroundAlpha, 1);
    fade.MoveBackground(start + 2000, 2000);
    EXPECT_FLOAT_EQ(fade.BackgroundAlpha, 0) << "gone once the time is up";
    fade.Out = -1;
    fade.MoveBackground(start, 0);
    EXPECT_FLOAT_EQ(fade.BackgroundAlpha, 1);
}

TEST_F(FadeTest, TheChannelFollowsTheFadeAndNothingIsDrawnWithoutAPicture) {
    fw::TFade fade;
    fade.Init(100, nullptr, nullptr);
    fade.Full();
    fade.Zero();
    EXPECT_TRUE(Calls(plat::DrawRecord::IMAGE).empty());
    EXPECT_EQ(Calls(plat::DrawRecord::CLS).size(), 2u);
}

TEST_F(FadeTest, TheCrossFadeIsClearOnItsFirstFrameAndOpaqueFromItsLastTick) {
    auto one = Picture(10, 10, 1, 0, "one")->image;
    auto two = Picture(10, 10, 1, 0, "two")->image;
    auto cross = fw::TCrossFade::Create(one, two, 50);  // 10 ticks
    cross->SetImage2Coords(5, 6);
    cross->Draw();
    for (int tick = 1; tick <= 10; ++tick) {
        cross->Manage();
        cross->Draw();
    }
    cross->Manage();
    cross->Draw();
    const auto alphas = AlphasOf(two);
    ASSERT_EQ(alphas.size(), 12u);
    EXPECT_FLOAT_EQ(alphas[0], 0);
    EXPECT_FLOAT_EQ(alphas[5], 0.5f);
    EXPECT_FLOAT_EQ(alphas[10], 1) << "opaque from the tick the animation ends";
    EXPECT_FLOAT_EQ(alphas[11], 1);
    const auto images = Calls(plat::DrawRecord::IMAGE);
    EXPECT_EQ(images[0].blend, plat::SOLIDBLEND);
    EXPECT_FLOAT_EQ(images[1].x, 5);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);
}

TEST_F(FadeTest, TheScreenFadeFadesAPictureOfTheDrawingSpace) {
    fw::UseVirtualResolution = 1;
    EveryFrame(100);
    EXPECT_EQ(fw::StartScreenFade(300, 1, nullptr), 1);
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_EQ(images.size(), 5u) << "0, 100, 200, 300 ms, then past the end";
    EXPECT_FLOAT_EQ(images[0].w, 320) << "the size things are drawn at";
    EXPECT_FLOAT_EQ(images[0].h, 240);
    EXPECT_FLOAT_EQ(images[0].x, 0);
    EXPECT_FLOAT_EQ(images.back().alpha, 0);
    EXPECT_EQ(plat::GetBlend(), plat::SOLIDBLEND);

    EveryFrame(100, [](int frame) {
        if (frame == 0) plat::SimulateKeyPress(plat::KEY_ESCAPE);
    });
    EXPECT_EQ(fw::StartScreenFade(300, 0, nullptr), -1);
}

}  // namespace
