// The loading bar and the loading screen: steps revealing the bar, the
// final picture, steps refused or past the end, the shell's never-prepared
// screen stepped by MoveBar, the click-here button and Escape moving on,
// and the long-lived screen prepared again after Kill.

#include <string>

#include "framework/blocking.h"
#include "framework/button.h"
#include "framework/game.h"
#include "framework/loading.h"
#include "platform/sys/input.h"
#include "widget_fixture.h"

namespace {

using periphery::WidgetTest;

class LoadingTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        WritePicture("bg.png", 64, 48, 0xFF203040u);
        WritePicture("loading.png", 100, 20);
        WritePicture("bar.png", 200, 10, 0xFF00FF00u);
        WritePicture("barempty.png", 200, 10, 0xFF404040u);
        WritePicture("barfinal.png", 200, 10, 0xFF00FFFFu);
        WritePicture("plain.png", 120, 8);
        WritePicture("here.png", 50, 20);
        destination = plat::New<fw::TScreen>();
    }
    void TearDown() override {
        fw::SetBlockingLoopFrameHook(nullptr);
        WidgetTest::TearDown();
    }
    plat::Ref<fw::TLoadingScreen> Prepared() {
        auto screen = plat::New<fw::TLoadingScreen>();
        screen->SpecialLoad("bg.png", "bar.png", "loading.png");
        screen->Destination = destination;
        return screen;
    }
    static std::vector<plat::DrawRecord> ImagesOf(const plat::Ref<plat::TImage>& image) {
        std::vector<plat::DrawRecord> out;
        for (const auto& c : Calls(plat::DrawRecord::IMAGE))
            if (c.image == image.get()) out.push_back(c);
        return out;
    }
    plat::Ref<fw::TScreen> destination;
};

TEST_F(LoadingTest, EightStepsRevealTheBarAnEighthAtATime) {
    auto bar = plat::New<fw::TLoadingBar>();
    bar->Init(Picture(200, 10)->image, nullptr, nullptr);
    bar->Centre(300);
    EXPECT_EQ(bar->x, 220);
    bar->SetSteps(8);
    for (int step = 1; step <= 8; ++step) {
        EXPECT_EQ(bar->Finished, 0) << step;
        bar->Progress();
        plat::ClearRecordedCalls();
        EXPECT_EQ(bar->Draw(), 1);
        const auto part = ImagesOf(bar->Image);
        ASSERT_EQ(part.size(), 1u);
        EXPECT_FLOAT_EQ(part[0].sw, 25.0f * static_cast<float>(step));
        EXPECT_FLOAT_EQ(part[0].w, 25.0f * static_cast<float>(step));
        EXPECT_FLOAT_EQ(part[0].x, 220);
    }
    EXPECT_EQ(bar->Finished, 1);
    const auto rect = Calls(plat::DrawRecord::RECT);
    ASSERT_FALSE(rect.empty()) << "mode 0: the rectangle under the bar";
    EXPECT_EQ(rect[0].r, 50);
    EXPECT_FLOAT_EQ(rect[0].w, 200);

    // Steps past the last keep it full.
    bar->Progress();
    bar->Progress();
    EXPECT_EQ(bar->CurrentStep, 8);
    EXPECT_FLOAT_EQ(bar->Position, 200);
    EXPECT_EQ(bar->Finished, 1);
    bar->Mode = 2;
    plat::ClearRecordedCalls();
    bar->Draw();
    EXPECT_TRUE(Calls(plat::DrawRecord::RECT).empty()) << "mode 2: the bar alone";
    EXPECT_FLOAT_EQ(ImagesOf(bar->Image).at(0).sw, 200);
}

TEST_F(LoadingTest, NoStepsOrNoPictureLeaveTheBarEmpty) {
    auto bar = plat::New<fw::TLoadingBar>();
    bar->Init(Picture(200, 10)->image, nullptr, nullptr);
    bar->SetSteps(0);
    bar->Progress();
    EXPECT_FLOAT_EQ(bar->Position, 0) << "no step size from a division by nothing";
    EXPECT_EQ(bar->Finished, 0);
    bar->SetSteps(4);
    bar->SetSteps(-1);
    bar->Progress();
    EXPECT_FLOAT_EQ(bar->Position, 50) << "a bad count is refused, the old one kept";

    auto bare = plat::New<fw::TLoadingBar>();
    bare->Init(nullptr, nullptr, nullptr);
    bare->SetSteps(3);
    bare->Progress();
    plat::ClearRecordedCalls();
    EXPECT_EQ(bare->Draw(), 0);
    bare->Mode = 1;
    EXPECT_EQ(bare->Draw(), 0);
    EXPECT_TRUE(plat::RecordedCalls().empty());
}

TEST_F(LoadingTest, TheShellsUnpreparedScreenStepsHarmlessly) {
    for (int i = 0; i < 3; ++i) fw::Game->MoveBar();
    EXPECT_TRUE(Calls(plat::DrawRecord::IMAGE).empty());
    EXPECT_TRUE(Calls(plat::DrawRecord::RECT).empty());
    EXPECT_EQ(fw::Game->LoadingScreen->Finished, 0);
}

TEST_F(LoadingTest, TheFinalPictureReplacesTheBarWhenDone) {
    auto screen = Prepared();
    EXPECT_EQ(screen->name, "loading");
    ASSERT_TRUE(screen->LoadingBar->EmptyImage) << "barempty.png beside bar.png";
    ASSERT_TRUE(screen->LoadingBar->FinalImage);
    EXPECT_EQ(screen->LoadingBar->w, 200);
    EXPECT_EQ(screen->LoadingX, 320);
    EXPECT_FLOAT_EQ(plat::ImageXHandle(screen->LoadingTextImage), 50) << "the picture is centred there";
    screen->LoadingBar->Mode = 1;
    screen->SetSteps(2);
    screen->Progress();
    screen->Draw();
    EXPECT_EQ(ImagesOf(screen->LoadingBar->EmptyImage).size(), 1u);
    EXPECT_FLOAT_EQ(ImagesOf(screen->LoadingBar->Image).at(0).sw, 100);
    EXPECT_EQ(ImagesOf(screen->LoadingTextImage).size(), 1u);
    EXPECT_EQ(ImagesOf(screen->Image).size(), 1u) << "the background";
    screen->Progress();
    EXPECT_EQ(screen->Finished, 1);
    plat::ClearRecordedCalls();
    screen->Draw();
    EXPECT_TRUE(ImagesOf(screen->LoadingBar->Image).empty());
    EXPECT_EQ(ImagesOf(screen->LoadingBar->FinalImage).size(), 1u);
    EXPECT_TRUE(ImagesOf(screen->LoadingBar->EmptyImage).empty());

    auto plain = plat::New<fw::TLoadingScreen>();
    plain->SpecialLoad("bg.png", "plain.png", "loading.png");
    EXPECT_FALSE(plain->LoadingBar->EmptyImage) << "no plainempty.png";
    EXPECT_FALSE(plain->LoadingBar->FinalImage);
}

TEST_F(LoadingTest, AClickOrAnyHitFadesOutToTheDestination) {
    struct Case {
        const char* what;
        int onButton, elsewhere, escape, escapeCloses;
        bool done;
    };
    const Case cases[] = {
        {"a click on the button", 1, 0, 0, 1, true},
        {"a click elsewhere", 0, 1, 0, 1, true},
        {"nothing", 0, 0, 0, 1, false},
        {"Escape left to the shell", 0, 0, 1, 1, false},
        {"Escape handled by the screen", 0, 0, 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto screen = Prepared();
        screen->EscapeCloses = c.escapeCloses;
        screen->SetClickHereButton("here", "", 300, 400);
        screen->SetSteps(1);
        screen->Progress();
        fw::Game->GameFade->Active = 0;
        fw::Game->DestinationTScreen = nullptr;
        Pointer(c.onButton ? 310 : 10, c.onButton ? 405 : 10);
        if (c.onButton || c.elsewhere) Press();
        if (c.escape) HitKey(plat::KEY_ESCAPE);
        screen->Logic();
        NextTick();
        Release();
        fw::FlushKeyTables();
        EXPECT_EQ(fw::Game->GameFade->Active == 1, c.done);
        EXPECT_EQ(fw::Game->DestinationTScreen == destination, c.done);
        if (c.done) {
            EXPECT_EQ(fw::Game->GameFade->Length, 100) << "500 ms";
            EXPECT_EQ(screen->ClickHereButton->Clicked, 1) << "the button shows the click";
        }
        screen->Kill();
    }
    // Without a button the screen moves on at once.
    auto screen = Prepared();
    fw::Game->GameFade->Active = 0;
    screen->Logic();
    EXPECT_EQ(fw::Game->GameFade->Active, 1);
    fw::Game->GameFade->Active = 0;
}

TEST_F(LoadingTest, TheButtonShowsOnceTheBarIsFull) {
    auto screen = Prepared();
    screen->SetClickHereButton("here", "", 300, 400);
    screen->SetSteps(1);
    screen->Draw();
    EXPECT_TRUE(ImagesOf(screen->ClickHereButton->image->image).empty());
    EXPECT_EQ(ImagesOf(screen->LoadingTextImage).size(), 1u);
    screen->Progress();
    plat::ClearRecordedCalls();
    screen->Draw();
    EXPECT_EQ(ImagesOf(screen->ClickHereButton->image->image).size(), 1u);
    EXPECT_TRUE(ImagesOf(screen->LoadingTextImage).empty());
    EXPECT_EQ(ImagesOf(screen->LoadingBar->FinalImage).size(), 1u);
}

TEST_F(LoadingTest, KillReadiesTheScreenForTheNextLoad) {
    auto screen = Prepared();
    int killed = 0;
    screen->CustomKillFunction = [&] { ++killed; };
    screen->EscapeCloses = 0;
    screen->Start();
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1) << "the screen handles Escape itself";
    screen->SetClickHereButton("here", "", 300, 400);
    screen->SetSteps(2);
    screen->Progress();
    screen->Kill();
    EXPECT_EQ(killed, 1);
    EXPECT_FALSE(screen->ClickHereButton);
    EXPECT_FALSE(screen->LoadingBar->Image) << "a fresh bar";
    screen->SpecialLoad("bg.png", "plain.png", "loading.png");
    screen->SetSteps(4);
    screen->Progress();
    EXPECT_FLOAT_EQ(screen->LoadingBar->Position, 30);
}

TEST_F(LoadingTest, ALoadingFrameOfItsOwnIsPresentedThroughABlockingLoop) {
    auto screen = Prepared();
    int frames = 0;
    fw::SetBlockingLoopFrameHook([&](int) { ++frames; });
    fw::Game->Music = 1;
    screen->DrawLoading(1);
    EXPECT_EQ(frames, 1);
    EXPECT_FALSE(Calls(plat::DrawRecord::CLS).empty());
    EXPECT_EQ(ImagesOf(screen->LoadingTextImage).size(), 1u);
    fw::Game->Music = 0;
    plat::ClearRecordedCalls();
    screen->DrawLoading(1);
    EXPECT_TRUE(ImagesOf(screen->LoadingTextImage).empty()) << "the picture goes with the music switch";
    EXPECT_EQ(frames, 2);
}

}  // namespace
