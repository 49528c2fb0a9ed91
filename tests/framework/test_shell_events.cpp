// Window events into the shell's tables, the shell's keys, pause, focus loss
// and resume, and Alt+Enter, all through simulated input.

#include <vector>

#include "framework/banks.h"
#include "framework/ini.h"
#include "framework/input.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/sys/input.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

class KeyScreen : public fw::TScreen {
public:
    int logic = 0;
    int specific = 0;
    void Logic() override { ++logic; }
    void SpecificKeys() override { ++specific; }
};

class EventTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        plat::StartRecording();
        StartShell();
        screen = plat::New<KeyScreen>();
        screen->PreStart();
    }
    void TearDown() override {
        plat::StopRecording();
        ShellTest::TearDown();
    }
    void Press(int key) {
        plat::SimulateKeyPress(key);
        Ticks(1);
    }
    // Holds the modifier keys, presses `key`, releases them.
    void Chord(std::vector<int> held, int key) {
        for (int k : held) plat::SimulateKeyDown(k);
        plat::SimulateKeyDown(key);
        Ticks(1);
        plat::SimulateKeyUp(key);
        for (int k : held) plat::SimulateKeyUp(k);
        Ticks(1);
    }
    std::string SavedValue(const std::string& key) {
        return fw::IniReadValue(SettingsPath().string(), key);
    }
    plat::Ref<KeyScreen> screen;
};

TEST_F(EventTest, EventsFillTheShellsTables) {
    plat::SimulateKeyDown('A');
    plat::SimulateKeyDown('A', true);
    plat::SimulateChar('a');
    plat::SimulateMouseMove(123, 45);
    plat::SimulateMouseButton(2, true);
    fw::Game->DoPeekEvent();
    EXPECT_EQ(fw::KeyHitCounts['A'], 2) << "auto-repeat adds hits";
    EXPECT_EQ(fw::KeyDownFlags['A'], 1);
    EXPECT_EQ(fw::GetCharQueued(), 'a');
    EXPECT_EQ(fw::Game->Mouse->x, 123);
    EXPECT_EQ(fw::Game->Mouse->y, 45);
    EXPECT_EQ(fw::Game->Mouse->b2, 1);
    EXPECT_EQ(fw::Game->Mouse->h2, 1);
    EXPECT_EQ(fw::Game->Mouse->mb, 1);
    EXPECT_EQ(fw::Game->Mouse->mh, 1);
    plat::SimulateKeyUp('A');
    plat::SimulateMouseButton(2, false);
    fw::Game->DoPeekEvent();
    EXPECT_EQ(fw::KeyDownFlags['A'], 0);
    EXPECT_EQ(fw::Game->Mouse->mb, 0);
    EXPECT_EQ(fw::Game->Mouse->mh, 1) << "a release keeps the click";
}

TEST_F(EventTest, GameSettingsLeaveOnlyPauseEscapeAndAltEnter) {
    fw::Game->IgnoreFrameworkKeys = 1;
    fw::Game->IgnoreDebugKey = 1;
    fw::Game->MusicRestart = 0;  // as if a track had been started
    const int fullScreen = fw::Game->FullScreen;
    for (int key : {fw::KeyFullScreen, fw::KeyMusic, fw::KeySound, fw::KeyScreenshot, fw::KeyVolumeDown,
                    fw::KeyVolumeUp, fw::KeyDebug, fw::KeyVSync})
        Press(key);
    EXPECT_EQ(fw::Game->FullScreen, fullScreen);
    EXPECT_EQ(fw::Game->Music, 1);
    EXPECT_EQ(fw::Game->Sound, 1);
    EXPECT_EQ(fw::Game->SoundVolume, 100);
    EXPECT_EQ(fw::Game->Debug, 0);
    EXPECT_EQ(fw::Game->VSync, 1);
    EXPECT_FALSE(shelltest::fs::exists(DataDir() / "inichanged.dat"))
        << "nothing was changed, so nothing was marked";

    Press(fw::KeyPause);
    EXPECT_EQ(fw::Game->Paused, 1);
    Press(fw::KeyPause);
    EXPECT_EQ(fw::Game->Paused, 0);
}

TEST_F(EventTest, FrameworkKeysActAndSaveTheirSettings) {
    fw::Game->MusicRestart = 0;
    Press(fw::KeyVolumeDown);
    EXPECT_EQ(fw::Game->SoundVolume, 90);
    EXPECT_EQ(fw::Game->MusicVolume, 90);
    EXPECT_EQ(fw::Game->SpeechVolume, 90);
    EXPECT_EQ(SavedValue("Sound Volume"), "90");
    EXPECT_TRUE(shelltest::fs::exists(DataDir() / "inichanged.dat"));
    Press(fw::KeyVolumeUp);
    Press(fw::KeyVolumeUp);
    EXPECT_EQ(fw::Game->MusicVolume, 100) << "volumes stop at 100";

    Press(fw::KeyMusic);
    EXPECT_EQ(fw::Game->Music, 0);
    EXPECT_EQ(SavedValue("Music"), "0");
    Press(fw::KeySound);
    EXPECT_EQ(fw::Game->Sound, 0);
    Press(fw::KeyVSync);
    EXPECT_EQ(fw::Game->VSync, 0);
    EXPECT_EQ(fw::FlipSync, 0);

    // Debug-only keys need the overlay on; Shift shows the frame rate only.
    Press(fw::KeyFast);
    EXPECT_EQ(fw::Game->Fast, 0);
    Chord({plat::KEY_LSHIFT}, fw::KeyDebug);
    EXPECT_EQ(fw::Game->Debug, 1);
    EXPECT_EQ(fw::Game->DebugShowFPSOnly, 1);
    Press(fw::KeyFast);
    EXPECT_EQ(fw::Game->Fast, 1);
    Press(fw::KeySlowMotion);
    EXPECT_EQ(fw::Game->SlowMotion, 1);
    EXPECT_EQ(fw::Game->Fast, 0);
    Press(fw::KeySlowMotion);
    EXPECT_EQ(fw::Game->SlowMotion, 0);
    std::vector<int> flips;
    for (int i = 0; i < 3; ++i) {
        Press(fw::KeyFlipSync);
        flips.push_back(fw::FlipSync);
    }
    EXPECT_EQ(flips, (std::vector<int>{1, -1, 0}));
    Press(fw::KeyNoTiming);
    EXPECT_EQ(fw::Game->NoTiming, 1);
}

TEST_F(EventTest, SoundDriverKeyCycles) {
    fw::Game->SoundDriver = "None";
    Press(fw::KeySoundDriver);
    EXPECT_EQ(fw::Game->SoundDriver, "FreeAudio");
    Press(fw::KeySoundDriver);
    // There is no "DirectSound" here: the switch fails and says so.
    EXPECT_EQ(fw::Game->SoundDriver, "None");
    EXPECT_EQ(SavedValue("Sound Driver"), "None");
}

TEST_F(EventTest, ControlXEndsAtOnce) {
    plat::SimulateKeyDown(fw::KeyInstantExit);
    Ticks(1);
    EXPECT_EQ(fw::Game->InstantExit, 0) << "X alone does nothing";
    plat::SimulateKeyUp(fw::KeyInstantExit);
    plat::SimulateKeyDown(plat::KEY_RCONTROL);
    plat::SimulateKeyDown(fw::KeyInstantExit);
    EXPECT_EQ(Ticks(1), -1);
}

TEST_F(EventTest, PauseStopsLogicAndAClickOrEscapeResumes) {
    fw::Game->MusicRestart = 0;
    int pausedCalls = 0;
    fw::Game->PausedUserFunction = [&] { return ++pausedCalls; };
    Press(fw::KeyPause);
    ASSERT_EQ(fw::Game->Paused, 1);
    EXPECT_EQ(pausedCalls, 1);
    EXPECT_EQ(fw::Game->Music, 0);
    EXPECT_EQ(fw::Game->Speech, 0);
    const int logic = screen->logic;
    const int specific = screen->specific;
    EXPECT_EQ(Ticks(10), 0);
    EXPECT_EQ(screen->logic, logic);
    EXPECT_EQ(screen->specific, specific) << "no screen keys while paused";

    plat::SimulateMouseButton(1, true);
    plat::SimulateMouseButton(1, false);
    Ticks(1);
    EXPECT_EQ(fw::Game->Paused, 0);
    EXPECT_EQ(fw::Game->Music, 1);
    EXPECT_EQ(fw::Game->Speech, 1);

    Press(fw::KeyPause);
    Press(27);
    EXPECT_EQ(fw::Game->Paused, 0);
    EXPECT_EQ(fw::Game->Fading(), 0) << "Escape only resumed";
}

TEST_F(EventTest, FocusLossSuspendsAndResumeRestoresWhatWasOn) {
    fw::Game->MusicRestart = 0;
    fw::Game->Speech = 0;
    int suspends = 0, resumes = 0;
    fw::Game->UserSuspendFunction = [&] { return ++suspends; };
    fw::Game->UserResumeFunction = [&] { return ++resumes; };
    plat::SimulateAppEvent(plat::EVENT_APPSUSPEND);
    Ticks(1);
    ASSERT_EQ(fw::Game->Suspended, 1);
    EXPECT_EQ(fw::Game->Paused, 0);
    EXPECT_EQ(fw::Game->Music, 0);
    EXPECT_EQ(suspends, 1);
    const int logic = screen->logic;
    Ticks(5);
    EXPECT_EQ(screen->logic, logic);

    // A click while suspended does nothing.
    plat::SimulateMouseButton(1, true);
    plat::SimulateMouseButton(1, false);
    Ticks(1);
    EXPECT_EQ(fw::Game->Suspended, 1);

    plat::SimulateAppEvent(plat::EVENT_APPRESUME);
    Ticks(1);
    EXPECT_EQ(fw::Game->Suspended, 0);
    EXPECT_EQ(resumes, 1);
    EXPECT_EQ(fw::Game->Music, 1);
    EXPECT_EQ(fw::Game->Speech, 0) << "speech was off before and stays off";
    EXPECT_GT(screen->logic, logic);
}

TEST_F(EventTest, FocusLossPausesWhenAskedTo) {
    fw::Game->PauseOnLossOfFocus = 1;
    plat::SimulateAppEvent(plat::EVENT_APPSUSPEND);
    Ticks(1);
    EXPECT_EQ(fw::Game->Paused, 1);
    EXPECT_EQ(fw::Game->Suspended, 1);
    plat::SimulateAppEvent(plat::EVENT_APPRESUME);
    Ticks(1);
    EXPECT_EQ(fw::Game->Suspended, 0);
    EXPECT_EQ(fw::Game->Paused, 1) << "the pause outlasts the focus loss";
}

TEST_F(EventTest, ShowPausedDimsAndDrawsThePictureCentred) {
    fw::Game->Paused = 1;
    plat::ClearRecordedCalls();
    fw::Game->ShowPaused();
    EXPECT_TRUE(plat::RecordedCalls().empty()) << "no picture: nothing to show";

    auto image = fw::TGameImage::CreateFromImage(plat::CreateImage(20, 10, 1, 0), "paused", 0);
    fw::Game->SpritePausedCreate(image);
    fw::Game->ShowPaused();
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::RECT);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.5f);
    EXPECT_FLOAT_EQ(calls[0].w, 800);
    EXPECT_EQ(calls[1].kind, plat::DrawRecord::IMAGE);
    EXPECT_FLOAT_EQ(calls[1].x, 160);
    EXPECT_FLOAT_EQ(calls[1].y, 120);
    EXPECT_FLOAT_EQ(calls[1].alpha, 1.0f);
    EXPECT_EQ(image->midhandled, 1);

    fw::Game->Paused = 0;
    plat::ClearRecordedCalls();
    fw::Game->ShowPaused();
    EXPECT_TRUE(plat::RecordedCalls().empty());
}

class AltEnterTest : public EventTest {
protected:
    void SetUp() override {
        EventTest::SetUp();
        plat::StopRecording();
        plat::SetGraphicsModesForTests({{800, 600, 32, 60}, {640, 480, 16, 60}});
        fw::Game->GraphicsCreate();
        plat::SetVirtualResolution(320, 240);
    }
    void TearDown() override {
        plat::ClearGraphicsModesForTests();
        plat::StartRecording();
        EventTest::TearDown();
    }
};

TEST_F(AltEnterTest, AltEnterTogglesFullScreenAndKeepsTheVirtualResolution) {
    ASSERT_EQ(fw::Game->FullScreen, 1);
    EXPECT_EQ(fw::Game->Depth, 32);
    EXPECT_TRUE(plat::IsFullScreen());
    EXPECT_EQ(fw::Game->Driver, 1) << "no Direct3D: OpenGL, remembered in the settings";
    EXPECT_EQ(SavedValue("Driver"), "1");

    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    EXPECT_EQ(fw::Game->FullScreen, 0);
    EXPECT_FALSE(plat::IsFullScreen());
    EXPECT_EQ(SavedValue("Full Screen"), "0");
    EXPECT_FLOAT_EQ(plat::VirtualResolutionWidth(), 320);
    EXPECT_FLOAT_EQ(plat::VirtualResolutionHeight(), 240);

    fw::Game->IgnoreFrameworkKeys = 1;
    Chord({plat::KEY_RALT}, plat::KEY_ENTER);
    EXPECT_EQ(fw::Game->FullScreen, 1) << "Alt+Enter works with the framework keys off";
}

TEST_F(AltEnterTest, TheMouseStaysOnTheScreenAndF12SavesAScreenshot) {
    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    ASSERT_EQ(fw::Game->FullScreen, 0);
    fw::Game->Mouse->x = 5000;
    fw::Game->Mouse->y = -7;
    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    ASSERT_EQ(fw::Game->FullScreen, 1);
    EXPECT_EQ(fw::Game->Mouse->x, 799);
    EXPECT_EQ(fw::Game->Mouse->y, 0);

    Press(plat::KEY_F12);
    int shots = 0;
    for (const auto& entry : shelltest::fs::directory_iterator(DataDir()))
        if (entry.path().string().find("screenshot.png") != std::string::npos) ++shots;
    EXPECT_EQ(shots, 1);
}

TEST_F(AltEnterTest, MovingTheWindowRestartsTheTiming) {
    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    auto& logic = *fw::Game->FixedRateLogic;
    logic.Init();
    for (int i = 0; i < 6; ++i) {
        clock_->Advance(16);
        logic.Calc();
    }
    ASSERT_EQ(logic.First, 0);
    const int realX = fw::Game->WindowX;
    fw::Game->WindowX = realX + 40;  // as if the window had been dragged
    clock_->Advance(300);
    logic.Calc();
    EXPECT_EQ(logic.First, 4) << "restarted: this frame is the first raw one";
    EXPECT_NEAR(logic.NumTicks, 0.0, 1e-9) << "the time spent dragging is not caught up";
    EXPECT_EQ(fw::Game->WindowX, realX);
}

TEST_F(AltEnterTest, FullScreenNeedsNoListedModeAndOnlyARealFailureLocksItOut) {
    // The display lists nothing but its desktop mode: full screen is a
    // desktop-size window, so both sizes still open full screen.
    plat::SetGraphicsModesForTests({{plat::DesktopWidth(), plat::DesktopHeight(), 24, 60}});
    fw::ScreenWidth = 800;
    fw::ScreenHeight = 600;
    fw::Game->FullScreen = 0;
    fw::Game->GraphicsCreate();
    fw::Game->ToggleFullScreen();
    EXPECT_EQ(fw::Game->FullScreen, 1);
    EXPECT_TRUE(plat::IsFullScreen());
    EXPECT_EQ(fw::Game->ForceWindowedMode, 0);
    fw::Game->ToggleResolution(1024, 768);
    EXPECT_EQ(fw::ScreenWidth, 1024);
    EXPECT_TRUE(plat::IsFullScreen());
    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    EXPECT_EQ(fw::Game->FullScreen, 0);
    Chord({plat::KEY_LALT}, plat::KEY_ENTER);
    EXPECT_EQ(fw::Game->FullScreen, 1) << "no lock-out after any of this";

    // A display that really refuses full screen: a window, and no way back
    // for the rest of the run.
    plat::RefuseGraphicsForTests(true, false);
    fw::Game->GraphicsCreate();
    plat::RefuseGraphicsForTests(false, false);
    EXPECT_EQ(fw::Game->FullScreen, 0);
    EXPECT_EQ(fw::Game->ForceWindowedMode, 1);
    EXPECT_FALSE(plat::IsFullScreen());
    EXPECT_EQ(plat::GraphicsWidth(), 1024);
    fw::Game->ToggleFullScreen();
    EXPECT_EQ(fw::Game->FullScreen, 0);

    fw::Game->ToggleResolution(plat::DesktopWidth() + 16, 45);
    EXPECT_EQ(fw::ScreenWidth, 1024) << "a size the display cannot show changes nothing";
    fw::Game->ToggleResolution(800, 600);
    EXPECT_EQ(fw::ScreenWidth, 800);
    EXPECT_EQ(plat::GraphicsWidth(), 800);
}

}  // namespace
