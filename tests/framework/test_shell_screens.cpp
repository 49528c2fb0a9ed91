// Screens and fades through their hooks: the order the shell calls them in,
// the change to the destination at the end of a fade-out, Escape, and close
// requests.

#include <algorithm>
#include <string>
#include <vector>

#include "framework/input.h"
#include "platform/core/error.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/sys/input.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

std::vector<std::string> g_log;

// Logs every hook it is given, under its own name.
class LoggingScreen : public fw::TScreen {
public:
    explicit LoggingScreen(std::string n) { name = std::move(n); }
    void Log(const std::string& what) { g_log.push_back(name + "." + what); }
    void PreStart() override { Log("PreStart"); fw::TScreen::PreStart(); }
    void Load() override { Log("Load"); }
    void Start() override { Log("Start"); fw::TScreen::Start(); }
    void CoreStart() override { Log("CoreStart"); fw::TScreen::CoreStart(); }
    void PostFadeIn() override { Log("PostFadeIn"); }
    void PostFadeOut() override { Log("PostFadeOut"); }
    void Kill() override { Log("Kill"); fw::TScreen::Kill(); }
    void Logic() override { ++logicTicks; }
    int SetEscDestination() override {
        Log("SetEscDestination");
        if (escTo) {
            fw::Game->DestinationTScreen = escTo;
            return escMs;
        }
        return fw::TScreen::SetEscDestination();
    }
    void SpecificKeys() override { escapeSeen += fw::KeyHitCode(27); }
    plat::Ref<fw::TScreen> escTo;
    int escMs = 0;
    int logicTicks = 0;
    int escapeSeen = 0;
};

class ScreenTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        g_log.clear();
        plat::StartRecording();
        fw::Game->FixedRateLogic->Create();
        fw::Game->FixedRateLogic->Init();
        a = plat::New<LoggingScreen>("a");
        b = plat::New<LoggingScreen>("b");
        a->PreStart();
        g_log.clear();
    }
    void TearDown() override {
        plat::StopRecording();
        ShellTest::TearDown();
    }
    // Ticks until the shell ends (or a limit); returns how many ran.
    int TicksUntilExit(int limit) {
        for (int i = 1; i <= limit; ++i)
            if (Ticks(1) == -1) return i;
        return -1;
    }
    plat::Ref<LoggingScreen> a, b;
};

TEST_F(ScreenTest, StartingAScreenRunsItsHooksInOrderAndMakesItCurrent) {
    b->PreStart();
    EXPECT_EQ(g_log, (std::vector<std::string>{"b.PreStart", "b.Load", "b.Start", "b.CoreStart"}));
    EXPECT_EQ(fw::Game->CurrentTScreen, b);
    EXPECT_EQ(fw::Game->Mouse->Active, 1);

    // Re-entered with StopInit: only CoreStart, and Start's switches stay.
    g_log.clear();
    fw::Game->Mouse->Off();
    fw::Game->IgnoreEscapeKey = 1;
    a->StopInit = 1;
    a->PreStart();
    EXPECT_EQ(g_log, (std::vector<std::string>{"a.PreStart", "a.CoreStart"}));
    EXPECT_EQ(fw::Game->CurrentTScreen, a);
    EXPECT_EQ(fw::Game->Mouse->Active, 0);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1);
}

TEST_F(ScreenTest, FadeOutEndsInTheDestinationScreen) {
    fw::Game->DestinationTScreen = b;
    ASSERT_EQ(fw::Game->GameFade->Init(500, 1, nullptr, 0, 0), 1);
    EXPECT_EQ(fw::Game->GameFade->Length, 100);
    // A second fade while one runs is ignored.
    EXPECT_EQ(fw::Game->GameFade->Init(100, 0, nullptr, 0, 0), 0);
    Ticks(99);
    EXPECT_EQ(fw::Game->CurrentTScreen, a);
    EXPECT_EQ(a->logicTicks, 0) << "a fade without AllowAnim freezes the screen";
    EXPECT_NEAR(fw::Game->GameFade->Ratio, 0.01f, 1e-5);
    Ticks(1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"a.PostFadeOut", "a.Kill", "b.PreStart", "b.Load",
                                               "b.Start", "b.CoreStart"}));
    EXPECT_EQ(fw::Game->CurrentTScreen, b);
    EXPECT_EQ(fw::Game->LastTScreen, a);
    EXPECT_EQ(b->logicTicks, 1) << "the new screen runs in the tick of the change";
}

TEST_F(ScreenTest, StopKillKeepsTheScreenLoaded) {
    a->StopKill = 1;
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(0, 1, nullptr, 0, 0);
    Ticks(1);
    EXPECT_EQ(fw::Game->CurrentTScreen, b);
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "a.Kill"), 0);
}

TEST_F(ScreenTest, FadesSwitchedOffChangeScreenInTheSameTick) {
    fw::Game->Fade = 0;
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    // PostFadeOut ran inside Init; the change waits for the next ScreenChange.
    EXPECT_EQ(g_log, (std::vector<std::string>{"a.PostFadeOut"}));
    EXPECT_EQ(fw::Game->Fading(), 0);
    Ticks(1);
    EXPECT_EQ(fw::Game->CurrentTScreen, b);
}

TEST_F(ScreenTest, AKeyInTheFirstTickCutsTheFadeAndTheChangeFollows) {
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    plat::SimulateKeyPress('Q');
    Ticks(1);
    EXPECT_EQ(fw::Game->CurrentTScreen, b);

    // A key cutting a fade-in marks it aborted with that key.
    fw::Game->GameFade->Init(500, 0, nullptr, 0, 0);
    plat::SimulateKeyPress('Q');
    Ticks(1);
    EXPECT_EQ(fw::Game->GameFade->FadeInAborted, 1);
    EXPECT_EQ(fw::Game->GameFade->AbortKey, 'Q');
    EXPECT_FLOAT_EQ(fw::Game->GameFade->Ratio, 1.0f);
    EXPECT_EQ(g_log.back(), "b.PostFadeIn");
}

TEST_F(ScreenTest, MissingDestinationIsReported) {
    fw::Game->DestinationTScreen = nullptr;
    fw::Game->GameFade->Init(0, 1, nullptr, 0, 0);
    try {
        Ticks(1);
        FAIL() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Screen 'a' does not have a destination screen set!");
    }
}

TEST_F(ScreenTest, EscapeFadesOutToTheExitScreenAndEnds) {
    fw::Game->MusicChannel = plat::AllocChannel();
    plat::SimulateKeyPress(27);
    Ticks(1);
    ASSERT_EQ(fw::Game->Fading(), 1);
    EXPECT_EQ(fw::Game->GameFade->Out, 1);
    EXPECT_EQ(fw::Game->GameFade->AllowAnim, 1);
    EXPECT_EQ(fw::Game->GameFade->Channel, fw::Game->MusicChannel);
    EXPECT_EQ(fw::Game->DestinationTScreen, fw::Game->ExitScreen);
    // 100 ticks of fade, then the change to the exit screen sets InstantExit
    // and the next tick ends the program.
    const int ran = TicksUntilExit(200);
    EXPECT_EQ(ran, 100);
    EXPECT_EQ(fw::Game->CurrentTScreen, fw::Game->ExitScreen);
    EXPECT_GE(a->logicTicks, 99) << "the screen keeps running during an Escape fade";
}

TEST_F(ScreenTest, EscapeUsesTheScreensOwnDestinationAndLength) {
    a->escTo = b;
    a->escMs = 50;
    fw::Game->FadeMusic = 0;
    fw::Game->MusicChannel = plat::AllocChannel();
    plat::SimulateKeyPress(27);
    Ticks(1);
    EXPECT_EQ(fw::Game->GameFade->Length, 10);
    EXPECT_EQ(fw::Game->GameFade->Channel, nullptr) << "FadeMusic 0: the music does not follow";
    EXPECT_EQ(fw::Game->FadeMusic, 1);
    Ticks(10);
    EXPECT_EQ(fw::Game->CurrentTScreen, b);
}

TEST_F(ScreenTest, EscapeDuringAFadeFinishesIt) {
    fw::Game->GameFade->Init(500, 0, nullptr, 0, 0);
    plat::SimulateKeyPress(27);
    Ticks(1);
    EXPECT_EQ(fw::Game->Fading(), 0);
    EXPECT_EQ(fw::Game->GameFade->FadeInAborted, 1);
    EXPECT_EQ(fw::Game->GameFade->AbortKey, 0);
    EXPECT_EQ(fw::Game->DestinationTScreen, nullptr) << "no new fade was started";
}

TEST_F(ScreenTest, EscapeIgnoredByTheShellReachesTheScreen) {
    fw::Game->IgnoreEscapeKey = 1;
    plat::SimulateKeyPress(27);
    Ticks(1);
    EXPECT_EQ(fw::Game->Fading(), 0);
    EXPECT_EQ(a->escapeSeen, 1);
}

TEST_F(ScreenTest, CloseRequestFadesOutAndAKeyCutsItShort) {
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    Ticks(1);
    ASSERT_EQ(fw::Game->Fading(), 1);
    EXPECT_EQ(fw::Game->InstantExit, 0);
    EXPECT_EQ(fw::Game->DestinationTScreen, fw::Game->ExitScreen);
    Ticks(10);
    plat::SimulateKeyPress('K');
    // The key ends the fade; the change happens in that tick and the
    // following tick ends the program.
    EXPECT_EQ(Ticks(1), 1);
    EXPECT_EQ(fw::Game->InstantExit, 1);
    EXPECT_EQ(Ticks(1), -1);
}

TEST_F(ScreenTest, CloseRequestEndsAtOnceWithoutExitFade) {
    fw::Game->FadeOnExit = 0;
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    EXPECT_EQ(Ticks(1), -1);
}

// Paused or suspended, no fade moves: an exit that waits on a fade must not
// wait for the player to come back.
TEST_F(ScreenTest, CloseRequestWhilePausedOrSuspendedEndsAtOnce) {
    struct Case {
        const char* what;
        int paused, suspended, fade;
        bool viaEscape;  // Escape's exit fade, then the pause
    };
    const Case cases[] = {
        {"paused", 1, 0, 1, false},
        {"suspended", 0, 1, 1, false},
        {"paused, fades off", 1, 0, 0, false},
        {"paused during Escape's exit fade", 1, 0, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fw::Game = plat::New<fw::TGame>();
        fw::Game->FixedRateLogic->Create();
        fw::Game->FixedRateLogic->Init();
        a->PreStart();
        fw::Game->Fade = c.fade;
        if (c.viaEscape) {
            plat::SimulateKeyPress(27);
            ASSERT_EQ(Ticks(1), 1);
            ASSERT_EQ(fw::Game->Fading(), 1);
        }
        fw::Game->Paused = c.paused;
        fw::Game->Suspended = c.suspended;
        fw::Game->SuspendedEvent = c.suspended;
        if (!c.viaEscape) plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
        EXPECT_EQ(Ticks(1), -1);
    }
    // A fade to another screen simply waits while paused.
    fw::Game = plat::New<fw::TGame>();
    fw::Game->FixedRateLogic->Create();
    fw::Game->FixedRateLogic->Init();
    a->PreStart();
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 1, 0);
    fw::Game->Paused = 1;
    EXPECT_EQ(Ticks(300), 0);
    EXPECT_EQ(fw::Game->Fading(), 1);
}

TEST_F(ScreenTest, CloseRequestAfterTheExitScreenWasReachedEndsThatTick) {
    fw::Game->DestinationTScreen = fw::Game->ExitScreen;
    fw::Game->GameFade->Init(0, 1, nullptr, 0, 0);
    ASSERT_EQ(Ticks(1), 1);
    ASSERT_EQ(fw::Game->InstantExit, 1);
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    EXPECT_EQ(Ticks(1), -1);
    EXPECT_EQ(fw::Game->Fading(), 0) << "no second fade";
}

TEST_F(ScreenTest, CloseRequestCanBeRefused) {
    int asked = 0;
    fw::Game->TerminatedUserFunction = [&] { return ++asked; };
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    EXPECT_EQ(Ticks(5), 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fw::Game->Fading(), 0);
    EXPECT_EQ(fw::Game->InstantExit, 0);
}

TEST_F(ScreenTest, CloseRequestDuringAFadeInIsNeverLost) {
    fw::Game->GameFade->Init(500, 0, nullptr, 0, 0);
    Ticks(3);
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    Ticks(1);
    EXPECT_EQ(g_log.front(), "a.PostFadeIn") << "the fade-in was finished first";
    ASSERT_EQ(fw::Game->Fading(), 1);
    EXPECT_EQ(fw::Game->GameFade->Out, 1);
    EXPECT_EQ(TicksUntilExit(200), 100);
}

TEST_F(ScreenTest, CloseRequestDuringAFadeInWithoutExitFadeEndsAtOnce) {
    fw::Game->FadeOnExit = 0;
    fw::Game->GameFade->Init(500, 0, nullptr, 0, 0);
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    EXPECT_EQ(Ticks(1), -1);
}

TEST_F(ScreenTest, CloseRequestDuringAFadeOutRetargetsItToTheExit) {
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    Ticks(50);
    plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
    const int ran = TicksUntilExit(200);
    EXPECT_EQ(ran, 51) << "the running fade finishes and ends at the exit";
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "b.PreStart"), 0);
}

// Before the first screen starts there is nothing to kill, but a close
// request or Escape must still end the program.
TEST_F(ShellTest, CloseRequestOrEscapeBeforeAnyScreenStillEnds) {
    plat::StartRecording();
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "close request");
        fw::Game = plat::New<fw::TGame>();
        fw::Game->FixedRateLogic->Create();
        fw::Game->FixedRateLogic->Init();
        if (escape) plat::SimulateKeyPress(27);
        else plat::SimulateAppEvent(plat::EVENT_APPTERMINATE);
        int ran = 0;
        while (ran < 200 && Ticks(1) != -1) ++ran;
        EXPECT_EQ(ran, 100) << "the 500 ms fade, then the end";
        EXPECT_EQ(fw::Game->CurrentTScreen, fw::Game->ExitScreen);
    }
    plat::StopRecording();
}

TEST_F(ScreenTest, TheBaseDrawShowsTheBackgroundSolidAndPutsBackAlphaBlending) {
    a->Image = plat::CreateImage(320, 240, 1, 0);
    plat::SetBlend(plat::ALPHABLEND);
    plat::ClearRecordedCalls();
    a->Draw();
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::IMAGE);
    EXPECT_EQ(calls[0].blend, plat::SOLIDBLEND);
    EXPECT_EQ(plat::GetBlend(), plat::ALPHABLEND);

    a->Kill();
    plat::ClearRecordedCalls();
    a->Draw();
    ASSERT_EQ(plat::RecordedCalls().size(), 1u);
    EXPECT_EQ(plat::RecordedCalls()[0].kind, plat::DrawRecord::CLS) << "no background: cleared";
}

TEST_F(ScreenTest, AFinishedFadeOutClearsTheFrameAndKeepsTheClearColour) {
    plat::SetClsColor(10, 20, 30);
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    plat::ClearRecordedCalls();
    fw::Game->GameFade->Finish();
    const auto& calls = plat::RecordedCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::CLS);
    int r = 0, g = 0, bl = 0;
    plat::GetClsColor(r, g, bl);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(bl, 30);
    plat::SetClsColor(0, 0, 0);
}

TEST_F(ScreenTest, FadeDrawCoversTheScreenAtTheFadeAlpha) {
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    Ticks(25);
    plat::ClearRecordedCalls();
    fw::Game->GameFade->Draw();
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::RECT);
    EXPECT_NEAR(calls[0].alpha, 0.25f, 1e-5);
    EXPECT_EQ(calls[0].r + calls[0].g + calls[0].b, 0);
    EXPECT_FLOAT_EQ(calls[0].w, 800);
    EXPECT_FLOAT_EQ(calls[0].h, 600);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);
}

TEST_F(ScreenTest, MusicFollowsTheFade) {
    auto music = plat::AllocChannel();
    fw::Game->MusicVolume = 80;
    fw::Game->DestinationTScreen = b;
    fw::Game->GameFade->Init(500, 1, music, 0, 0);
    Ticks(50);
    auto* silent = dynamic_cast<plat::SilentChannel*>(music.get());
    auto* openal = dynamic_cast<plat::OpenALChannel*>(music.get());
    const float volume = silent ? silent->volume : openal ? openal->volume : -1;
    EXPECT_NEAR(volume, 0.4f, 1e-5);
}

}  // namespace
