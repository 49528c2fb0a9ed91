// The front-end screens driven tick by tick: the game is started once in the
// test process with a hand-driven clock, keys are synthetic key events that
// take the same road as real ones.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/input.h"
#include "game/front/bitmap_font.h"
#include "game/front/highscores_screen.h"
#include "game/front/intro_screen.h"
#include "game/front/key_config.h"
#include "game/front/options_screen.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/level_screen.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/random.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/input.h"
#include "tests/game/front/fixture.h"

namespace {

using fronttest::Frame;
using fronttest::Press;
using fronttest::RunFor;
using fronttest::SaveFrame;

class FrontScreens : public ::testing::Test {
protected:
    void SetUp() override {
        fronttest::StartGameOnce();
        fw::Game->InstantExit = 0;
        fw::Game->GameFade->Active = 0;
        fw::Game->NoFade = 0;
        fw::FlushInput();
        game::ControlMode = 0;
        for (game::KeyPair* keys : {&game::LeftKeys, &game::RightKeys, &game::UpKeys, &game::DownKeys,
                                    &game::FireKeys, &game::GrenadeKeys})
            (*keys)[1] = (*keys)[0];
    }
    void TearDown() override { plat::DetachVirtualJoysticks(); }

    static fw::TScreen* Current() { return fw::Game->CurrentTScreen.get(); }

    static void ShowIntroFromTheStart() {
        auto& intro = *game::IntroScreen;
        intro.estado = 1;
        intro.blocks = 200;
        intro.segs = intro.cent = 0;
        intro.Load();
        intro.Start();
        fw::Game->CurrentTScreen = game::IntroScreen;
    }
    static void ShowTitle() {
        game::TitleScreen->Load();
        game::TitleScreen->Start();
    }
    // 5 ms frames until the intro leaves `step`; the milliseconds it took.
    static int MsInStep(int step, int limitMs) {
        int ms = 0;
        while (game::IntroScreen->estado == step && Current() == game::IntroScreen.get() && ms < limitMs) {
            Frame(5, false);
            ms += 5;
        }
        return ms;
    }
};

// The texts a drawing pass wrote with the bitmap font, keyed by the screen
// position of their first cell (rounded), rebuilt from the recorded cells.
std::map<std::pair<int, int>, std::string> BitmapTexts(const std::vector<plat::DrawRecord>& calls) {
    std::map<std::pair<int, int>, std::string> texts;
    const plat::TImage* font = game::BitmapFont->font.get();
    std::pair<int, int> key{-1, -1};
    float lastX = -1e9f, lastY = -1e9f;
    for (const auto& call : calls) {
        if (call.kind != plat::DrawRecord::IMAGE || call.image != font) {
            lastX = -1e9f;
            continue;
        }
        const float advance = static_cast<float>(game::BitmapFont->charw) * call.scaleX;
        const bool follows = call.y == lastY && std::abs(call.x - (lastX + advance)) < 0.01f;
        if (!follows) key = {static_cast<int>(std::lround(call.x)), static_cast<int>(std::lround(call.y))};
        texts[key] += static_cast<char>(call.frame);
        lastX = call.x;
        lastY = call.y;
    }
    return texts;
}

template <class Draw>
std::map<std::pair<int, int>, std::string> TextsOf(Draw draw) {
    plat::StartRecording();
    plat::ClearRecordedCalls();
    draw();
    auto texts = BitmapTexts(plat::RecordedCalls());
    plat::StopRecording();
    return texts;
}

// The colour of a virtual-screen pixel of the last drawn frame.
std::uint32_t PixelAt(int vx, int vy) {
    auto pixmap = plat::GrabPixmap();
    const float scale = plat::VirtualScale();
    const int x = static_cast<int>(plat::VirtualOffsetX() + (static_cast<float>(vx) + 0.5f) * scale);
    const int y = static_cast<int>(plat::VirtualOffsetY() + (static_cast<float>(vy) + 0.5f) * scale);
    return pixmap->Read(x, y) & 0xFFFFFFu;
}

// --- intro ------------------------------------------------------------------------

TEST_F(FrontScreens, IntroStepsTakeTheirTimesAndHandOverToTheTitle) {
    ShowIntroFromTheStart();
    EXPECT_NEAR(MsInStep(1, 20000), 1000, 10);
    EXPECT_NEAR(MsInStep(2, 20000), 5000, 10);
    EXPECT_NEAR(MsInStep(3, 20000), 3000, 10);
    EXPECT_NEAR(MsInStep(4, 20000), 6500, 10);
    ASSERT_EQ(game::IntroScreen->estado, 5);
    ASSERT_TRUE(game::IntroScreen->btimer);

    // The counter falls by one every half second, the clock counts along.
    RunFor(10000);
    EXPECT_EQ(game::IntroScreen->blocks, 180);
    EXPECT_EQ(game::IntroScreen->segs, 10);
    int ms = 10000;
    while (game::IntroScreen->estado == 5 && ms < 120000) {
        Frame(50, false);
        ms += 50;
    }
    EXPECT_NEAR(ms, 100000, 60);
    EXPECT_EQ(game::IntroScreen->blocks, 0);
    EXPECT_EQ(game::TIntroScreen::ClockText(game::IntroScreen->segs, game::IntroScreen->cent), "1:40:00");

    EXPECT_NEAR(MsInStep(6, 20000), 5000, 10);
    EXPECT_EQ(Current(), game::TitleScreen.get());
    EXPECT_EQ(game::TitleScreen->imagen_nivel, 0);
    EXPECT_EQ(game::IntroScreen->Image, nullptr);
}

TEST_F(FrontScreens, EscapeCutsEveryIntroStepShortAndLeftControlOnlyTheStartUpText) {
    ShowIntroFromTheStart();
    MsInStep(1, 2000);
    ASSERT_EQ(game::IntroScreen->estado, 2);
    Press(plat::KEY_LCONTROL);
    Frame();
    EXPECT_EQ(game::IntroScreen->estado, 3);
    Press(plat::KEY_LCONTROL);  // not a key of the tape search
    RunFor(1000, 5);
    EXPECT_EQ(game::IntroScreen->estado, 3);
    Press(plat::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(game::IntroScreen->estado, 4);
    Press(plat::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(game::IntroScreen->estado, 5);

    RunFor(3000, 5);
    const int segs = game::IntroScreen->segs;
    const int cent = game::IntroScreen->cent;
    Press(plat::KEY_ESCAPE);
    Frame();
    // On the same tick: counter 0, the clock as on the tick before.
    EXPECT_EQ(game::IntroScreen->estado, 6);
    EXPECT_EQ(game::IntroScreen->blocks, 0);
    EXPECT_EQ(game::IntroScreen->segs, segs);
    EXPECT_EQ(game::IntroScreen->cent, cent);
    EXPECT_TRUE(game::IntroScreen->btimer->Stopped());
    Press(plat::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(Current(), game::TitleScreen.get());
}

TEST_F(FrontScreens, ScrollTextReentersAsSoonAsItsLastBlankHasLeft) {
    ShowIntroFromTheStart();
    auto& intro = *game::IntroScreen;
    EXPECT_EQ(intro.scroll_text.size(), 362u + 9u);
    EXPECT_EQ(intro.scroll_pos, 320.0);
    // Measured in the font it is drawn in.
    EXPECT_EQ(intro.scroll_len, static_cast<int>(std::ceil(game::GameImageFont->TextWidth(intro.scroll_text))));
    EXPECT_GT(intro.scroll_len, 320);

    MsInStep(1, 2000);
    Press(plat::KEY_ESCAPE);
    Frame();
    Press(plat::KEY_ESCAPE);
    Frame();
    Press(plat::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(intro.estado, 5);
    // At a display's 60 frames a second the message moves 100 pixels a
    // second, whole and partial ticks together.
    const double before = intro.scroll_pos;
    for (int frame = 0; frame < 60; ++frame) Frame(frame % 3 == 2 ? 16 : 17, false);
    EXPECT_NEAR(before - intro.scroll_pos, 100.0, 1.0);

    // Out on the left: in again from the right edge as soon as the last
    // blank has left, not before.
    intro.scroll_pos = -intro.scroll_len + 3.0;
    Frame(5, false);
    EXPECT_LT(intro.scroll_pos, -intro.scroll_len + 3.0);
    EXPECT_GT(intro.scroll_pos, -intro.scroll_len);
    intro.scroll_pos = -intro.scroll_len + 0.1;
    Frame(5, false);
    EXPECT_DOUBLE_EQ(intro.scroll_pos, 320.0);
}

// The boot and loader texts are laid out on 8-pixel cells: the game's text
// font (bold, as the game loads it) advances exactly 8 pixels, so the
// longest boot line ends inside the screen and the block counter's last
// digit stays in one column.
TEST_F(FrontScreens, IntroTextsSitOnEightPixelCells) {
    auto& font = *game::GameImageFont;
    for (const char* text : {"0", "A", " ", "*", "1:05:99"})
        EXPECT_FLOAT_EQ(font.TextWidth(text), 8.0f * static_cast<float>(std::string(text).size())) << text;
    const std::vector<std::pair<std::string, float>> lines = {
        {"**** RAVOTESK 64 BASIC V2 ****", 32}, {"64K RAM SYSTEM  38911 BASIC BYTES FREE", 8},
        {"FOUND RAVO TESK GAMES PRESENTS", 0}, {"TURBOLOAD N101788", 96}};
    for (const auto& [text, x] : lines) EXPECT_LE(x + font.TextWidth(text), 320.0f) << text;
    for (const auto& [blocks, x] : std::vector<std::pair<int, float>>{{200, 96}, {42, 104}, {7, 112}})
        EXPECT_FLOAT_EQ(x + font.TextWidth(std::to_string(blocks)), 120.0f) << blocks;
}

// The block counter is drawn right-aligned on 8-pixel cells (x 96 for
// 200..100, 104 for 99..10, 112 for 9..0) and the clock at x 168, both on
// row 62, while the blocks load and over the raster lines after.
TEST_F(FrontScreens, IntroCountersStandInTheirColumns) {
    ShowIntroFromTheStart();
    auto& intro = *game::IntroScreen;
    auto textsDrawn = [&] {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        intro.Draw();
        std::map<std::string, std::pair<float, float>> at;
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::TEXT) at[c.text] = {c.x, c.y};
        plat::StopRecording();
        return at;
    };
    intro.segs = 65;
    intro.cent = 3;
    for (const int step : {5, 6}) {
        intro.estado = step;
        for (const auto& [blocks, x] :
             std::vector<std::pair<int, float>>{{200, 96}, {100, 96}, {99, 104}, {10, 104}, {9, 112}, {0, 112}}) {
            intro.blocks = blocks;
            auto at = textsDrawn();
            EXPECT_EQ(at[std::to_string(blocks)], std::make_pair(x, 62.0f)) << "step " << step << ", " << blocks;
            EXPECT_EQ(at["1:05:03"], std::make_pair(168.0f, 62.0f)) << "step " << step;
        }
    }
    intro.estado = 1;
}

// A stall longer than the whole load (a machine that slept, a debugger):
// the counter stops at 0, never below, and the intro goes on.
TEST_F(FrontScreens, AfterAStallTheBlockCounterStopsAtZeroAndTheIntroGoesOn) {
    ShowIntroFromTheStart();
    auto& intro = *game::IntroScreen;
    MsInStep(1, 2000);
    for (int i = 0; i < 3; ++i) {
        Press(plat::KEY_ESCAPE);
        Frame();
    }
    ASSERT_EQ(intro.estado, 5);
    RunFor(3000);
    EXPECT_EQ(intro.blocks, 194);
    Frame(130000, false);  // two minutes without a frame
    Frame(5, false);
    EXPECT_EQ(intro.blocks, 0);
    EXPECT_EQ(intro.estado, 6);
}

TEST(FrontIntroClock, ShowsMinutesSecondsAndHundredths) {
    const std::vector<std::pair<std::pair<int, int>, std::string>> cases = {
        {{0, 0}, "0:00:00"}, {{7, 3}, "0:07:03"}, {{42, 10}, "0:42:10"},
        {{65, 99}, "1:05:99"}, {{100, 0}, "1:40:00"}, {{130, 5}, "2:10:05"},
    };
    for (const auto& [in, text] : cases)
        EXPECT_EQ(game::TIntroScreen::ClockText(in.first, in.second), text) << in.first << " " << in.second;
}

TEST_F(FrontScreens, IntroFramesAsDrawn) {
    ShowIntroFromTheStart();
    Frame();
    SaveFrame("intro_1_border");
    EXPECT_EQ(PixelAt(160, 120), 0x7C70DAu);  // (124, 112, 218) everywhere
    MsInStep(1, 2000);
    Frame();
    SaveFrame("intro_2_basic");
    EXPECT_EQ(PixelAt(2, 2), 0x7C70DAu);      // border
    EXPECT_EQ(PixelAt(300, 200), 0x3E31A2u);  // screen (62, 49, 162)
    Press(plat::KEY_ESCAPE);
    Frame();
    Frame();
    SaveFrame("intro_3_search");
    Press(plat::KEY_ESCAPE);
    Frame();
    Frame();
    SaveFrame("intro_4_loader_title");
    EXPECT_EQ(PixelAt(2, 2), 0x000000u);
    EXPECT_EQ(PixelAt(300, 150), 0x555555u);
    Press(plat::KEY_ESCAPE);
    Frame();
    RunFor(12340, 10);
    Frame();
    SaveFrame("intro_5_loading");
    Press(plat::KEY_ESCAPE);
    Frame();
    Frame();
    SaveFrame("intro_6_raster");
    // The raster lines flicker: two frames give different colours.
    const std::uint32_t first = PixelAt(160, 1);
    bool changed = false;
    for (int i = 0; i < 5 && !changed; ++i) {
        Frame();
        changed = PixelAt(160, 1) != first;
    }
    EXPECT_TRUE(changed);
}

TEST_F(FrontScreens, RasterColoursLeaveTheSharedGeneratorAlone) {
    ShowIntroFromTheStart();
    MsInStep(1, 2000);
    for (int i = 0; i < 3; ++i) {
        Press(plat::KEY_ESCAPE);
        Frame();
    }
    Press(plat::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(game::IntroScreen->estado, 6);
    plat::SeedRnd(1234);
    const int expected = plat::Rand(0, 1000000);
    plat::SeedRnd(1234);
    for (int i = 0; i < 4; ++i) game::IntroScreen->Draw();
    EXPECT_EQ(plat::Rand(0, 1000000), expected);
}

// The loader tune plays only while the blocks load; the title tune starts
// with the title, keeps playing into the table, and is stopped by fire on
// the title and started again from its beginning by the level.
TEST_F(FrontScreens, MusicFollowsTheScreens) {
    auto playing = [] {
        auto stream = music::SidAudioStream::CurrentStream();
        return stream && stream->Playing();
    };
    ShowIntroFromTheStart();
    EXPECT_TRUE(music::SidAudioStream::CurrentSource());
    EXPECT_FALSE(playing());  // ready but silent
    MsInStep(1, 2000);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(playing()) << "step " << game::IntroScreen->estado;
        Press(plat::KEY_ESCAPE);
        Frame();
    }
    ASSERT_EQ(game::IntroScreen->estado, 5);
    EXPECT_TRUE(playing());
    const auto loaderTune = music::SidAudioStream::CurrentSource();
    Press(plat::KEY_ESCAPE);
    Frame();
    EXPECT_FALSE(playing());
    Press(plat::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(Current(), game::TitleScreen.get());
    EXPECT_TRUE(playing());
    EXPECT_NE(music::SidAudioStream::CurrentSource(), loaderTune);
    game::HighScoresScreen->PreStart();
    EXPECT_TRUE(playing());
    ShowTitle();
    Press(plat::KEY_LCONTROL);
    Frame();
    ASSERT_EQ(Current(), game::LevelScreen.get());
    EXPECT_TRUE(playing());
}

// The table leaves the title tune alone when the title showed it, and stops
// it and sets it back to its first song when a name entry led there, so the
// title starts it again from the top.
TEST_F(FrontScreens, TheTableRestartsTheTitleTuneOnlyAfterANameEntry) {
    auto playing = [] {
        auto stream = music::SidAudioStream::CurrentStream();
        return stream && stream->Playing();
    };
    game::SidMusic->Load("Data/Music/Velm.sid", 1, 1, 1.0f, 1.0f);
    game::SidMusic->Stop();
    ASSERT_GE(game::SidMusic->GetTrackCount(), 2);
    for (int from : {1, 7}) {
        ShowTitle();
        ASSERT_TRUE(playing());
        game::SidMusic->SelectTrack(2);  // as a name entry may leave it
        const auto stream = music::SidAudioStream::CurrentStream();
        game::LevelStartKind = from;
        game::HighScoresScreen->PreStart();
        RunFor(9990, 10);
        ASSERT_EQ(Current(), game::HighScoresScreen.get()) << from;
        EXPECT_TRUE(playing()) << from;
        EXPECT_EQ(music::SidAudioStream::CurrentStream(), stream) << from;
        RunFor(20, 10);
        ASSERT_EQ(Current(), game::TitleScreen.get()) << from;
        EXPECT_EQ(game::LevelStartKind, 4);
        EXPECT_TRUE(playing()) << from;
        if (from == 7) {
            EXPECT_EQ(game::SidMusic->CurrentTrack(), 1);
            EXPECT_NE(music::SidAudioStream::CurrentStream(), stream) << "started again";
        } else {
            EXPECT_EQ(game::SidMusic->CurrentTrack(), 2);
            EXPECT_EQ(music::SidAudioStream::CurrentStream(), stream) << "kept playing";
        }
    }
    game::SidMusic->SelectTrack(1);
}

// --- title -------------------------------------------------------------------------

TEST_F(FrontScreens, TitleShowsCreditsThenEightMapSlidesThenTheTable) {
    ShowTitle();
    ASSERT_EQ(Current(), game::TitleScreen.get());
    EXPECT_EQ(game::Level, 1);
    EXPECT_EQ(game::Stage, 1);
    RunFor(5000, 10);
    EXPECT_EQ(game::TitleScreen->imagen_nivel, 0);
    RunFor(10, 10);
    EXPECT_EQ(game::TitleScreen->imagen_nivel, 1);
    for (int slide = 2; slide <= 8; ++slide) {
        RunFor(5010, 10);
        EXPECT_EQ(game::TitleScreen->imagen_nivel, slide);
    }
    RunFor(5010, 10);
    EXPECT_EQ(Current(), game::HighScoresScreen.get());
    EXPECT_EQ(fw::Game->DestinationTScreen, game::HighScoresScreen);
    EXPECT_EQ(game::LevelStartKind, 1);

    // Escape does not shorten the table's ten seconds.
    Press(plat::KEY_ESCAPE);
    RunFor(10000, 10);
    EXPECT_EQ(Current(), game::HighScoresScreen.get());
    RunFor(10, 10);
    EXPECT_EQ(Current(), game::TitleScreen.get());
    EXPECT_EQ(game::LevelStartKind, 4);
    EXPECT_EQ(game::TitleScreen->imagen_nivel, 0);
}

TEST_F(FrontScreens, TitleCreditsAndSlidesAsDrawn) {
    ShowTitle();
    auto credits = TextsOf([] { game::TitleScreen->Draw(); });
    EXPECT_EQ((credits[{80, 22}]), "RAVOTESK GAMES PRESENTS");
    EXPECT_EQ((credits[{53, 96}]), "PROGRAMMING");
    EXPECT_EQ((credits[{164, 152}]), "SIV MALDRO");
    EXPECT_EQ((credits[{264, 224}]), "V1.0");
    EXPECT_EQ((credits[{88, 208}]), "PRESS FIRE TO START");
    Frame();
    SaveFrame("title_0_credits");

    RunFor(5010 * 3, 10);
    ASSERT_EQ(game::TitleScreen->imagen_nivel, 3);
    auto slide = TextsOf([] { game::TitleScreen->Draw(); });
    EXPECT_EQ(slide.count({80, 22}), 0u);  // no credits over the map
    EXPECT_EQ((slide[{52, 76}]), "SPECIAL EDITION FULL VERSION");
    EXPECT_EQ((slide[{120, 192}]), "F9 OPTIONS");
    EXPECT_EQ((slide[{88, 208}]), "PRESS FIRE TO START");
    Frame();
    SaveFrame("title_3_map");
}

TEST_F(FrontScreens, TitleKeysLeadToOptionsAndToPlay) {
    // F9: the options, the title killed.
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    EXPECT_EQ(Current(), game::OptionScreen.get());
    EXPECT_EQ(game::LevelStartKind, 1);
    EXPECT_EQ(game::TitleScreen->Image, nullptr);

    // Fire (left Control by default): a game at area 1.
    ShowTitle();
    RunFor(6000, 10);
    Press(plat::KEY_LCONTROL);
    Frame();
    EXPECT_EQ(Current(), game::LevelScreen.get());
    EXPECT_EQ(fw::Game->DestinationTScreen, game::LevelScreen);
    EXPECT_EQ(game::LevelStartKind, 1);
    EXPECT_EQ(game::Direction, 2);
    EXPECT_EQ(game::FireButtons, 0);

    // Both in one tick: both run, F9 first, so the game wins.
    ShowTitle();
    Press(plat::KEY_F9);
    Press(plat::KEY_LCONTROL);
    Frame();
    EXPECT_EQ(Current(), game::LevelScreen.get());
    EXPECT_EQ(fw::Game->DestinationTScreen, game::LevelScreen);

    // A redefined fire key is the one that starts.
    ShowTitle();
    const auto saved = game::FireKeys;
    game::FireKeys[1] = 'X';
    Press(plat::KEY_LCONTROL);
    Frame();
    EXPECT_EQ(Current(), game::TitleScreen.get());
    Press('X');
    Frame();
    EXPECT_EQ(Current(), game::LevelScreen.get());
    game::FireKeys = saved;
}

TEST_F(FrontScreens, EscapeOnTheTitleEndsTheProgramAfterTheFade) {
    ShowTitle();
    Press(plat::KEY_ESCAPE);
    int ms = 0, result = 1;
    while (result != -1 && ms < 2000) {
        result = Frame(5, true);
        ms += 5;
    }
    EXPECT_EQ(result, -1);
    EXPECT_GE(ms, 500);
    EXPECT_LE(ms, 520);
    EXPECT_EQ(fw::Game->CurrentTScreen, fw::Game->ExitScreen);
}

// --- options -----------------------------------------------------------------------

TEST_F(FrontScreens, OptionsReturnToTheTitleWhichStartsOverAtTheCredits) {
    for (int key : {plat::KEY_F9, plat::KEY_ESCAPE}) {
        ShowTitle();
        RunFor(12000, 10);
        ASSERT_EQ(game::TitleScreen->imagen_nivel, 2);
        Press(plat::KEY_F9);
        Frame();
        ASSERT_EQ(Current(), game::OptionScreen.get());
        Press(key);
        Frame();
        EXPECT_EQ(Current(), game::TitleScreen.get()) << key;
        EXPECT_EQ(game::LevelStartKind, 5);
        EXPECT_EQ(game::TitleScreen->imagen_nivel, 0);
        EXPECT_EQ(game::OptionScreen->Image, nullptr);
    }
}

TEST_F(FrontScreens, OptionsChangeTheResolutionOnlyWhenLeftWithF9) {
    plat::SetGraphicsModesForTests({{800, 600, 32, 60}, {1024, 768, 32, 60}});
    struct Case {
        std::vector<int> keys;
        int width;
    };
    const std::vector<Case> cases = {
        {{plat::KEY_F5, plat::KEY_F5, plat::KEY_F9}, 800},   // twice: back to where it was, no switch
        {{plat::KEY_F5, plat::KEY_ESCAPE}, 800},    // Escape leaves without applying it
        {{plat::KEY_F5, plat::KEY_F9}, 1024},
        {{plat::KEY_F5, plat::KEY_F9}, 800},
    };
    for (const Case& c : cases) {
        ShowTitle();
        Press(plat::KEY_F9);
        Frame();
        ASSERT_EQ(Current(), game::OptionScreen.get());
        for (int key : c.keys) {
            Press(key);
            Frame();
        }
        EXPECT_EQ(fw::ScreenWidth, c.width);
        EXPECT_EQ(plat::GraphicsWidth(), c.width);
        EXPECT_EQ(fw::ScreenHeight, c.width == 800 ? 600 : 768);
        EXPECT_EQ(Current(), game::TitleScreen.get());
    }
    plat::ClearGraphicsModesForTests();
}

TEST_F(FrontScreens, OptionsShowTheirValues) {
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    auto texts = TextsOf([] { game::OptionScreen->Draw(); });
    EXPECT_EQ((texts[{69, 90}]), "F1 CONTROL MODE ");
    EXPECT_EQ((texts[{194, 90}]), "KEYBOARD");
    EXPECT_EQ((texts[{186, 130}]), "800 X 600");
    EXPECT_EQ((texts[{186, 150}]), fw::Game->FullScreen ? "ON" : "OFF");
    EXPECT_EQ((texts[{69, 208}]), "PRESS F9 TO EXIT OPTIONS");
    Frame();
    SaveFrame("options");

    Press(plat::KEY_F5);
    Frame();
    texts = TextsOf([] { game::OptionScreen->Draw(); });
    EXPECT_EQ((texts[{186, 130}]), "1024 X 768");
    Press(plat::KEY_ESCAPE);
    Frame();
}

TEST_F(FrontScreens, ControlModeNeedsAJoystickAndKeysNeedTheKeyboard) {
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    Press(plat::KEY_F1);
    Frame();
    EXPECT_EQ(game::ControlMode, 0);  // no joystick: stays on the keyboard

    plat::AttachVirtualJoystick();
    Press(plat::KEY_F1);
    Frame();
    EXPECT_EQ(game::ControlMode, 1);
    auto texts = TextsOf([] { game::OptionScreen->Draw(); });
    EXPECT_EQ((texts[{194, 90}]), "JOYSTICK");
    Press(plat::KEY_F3);
    Frame();
    EXPECT_EQ(Current(), game::OptionScreen.get());  // no key redefinition for the joystick
    Press(plat::KEY_F1);
    Frame();
    EXPECT_EQ(game::ControlMode, 0);
    Press(plat::KEY_F3);
    Frame();
    EXPECT_EQ(Current(), game::RedefineKeysScreen.get());
    EXPECT_NE(game::OptionScreen->Image, nullptr);  // left without being killed
    Press(plat::KEY_ESCAPE);
    Frame();
    Press(plat::KEY_ESCAPE);
    Frame();
}

TEST_F(FrontScreens, FullScreenSwitchesAtOnceAndIsRecorded) {
    plat::SetGraphicsModesForTests({{800, 600, 32, 60}, {1024, 768, 32, 60}});
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    const int before = fw::Game->FullScreen;
    Press(plat::KEY_F7);
    Frame();
    EXPECT_NE(fw::Game->FullScreen, before);
    EXPECT_EQ(plat::IsFullScreen(), fw::Game->FullScreen == 1);
    const std::string settings = testutil::Slurp(fw::Game->Ini->Path());
    EXPECT_NE(settings.find("FULL SCREEN=" + std::to_string(fw::Game->FullScreen)), std::string::npos);
    Frame();  // the first frame after a moved window runs no tick
    Press(plat::KEY_F7);
    Frame();
    Frame();
    EXPECT_EQ(fw::Game->FullScreen, before);
    Press(plat::KEY_ESCAPE);
    Frame();
    plat::ClearGraphicsModesForTests();
}

TEST_F(FrontScreens, FullScreenWorksOnADisplayThatListsOneModeOnly) {
    // As on nested servers, virtual machines and many laptops: the display
    // lists its desktop mode alone, neither 800 x 600 nor 1024 x 768.
    plat::SetGraphicsModesForTests({{plat::DesktopWidth(), plat::DesktopHeight(), 24, 60}});
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    for (int i = 0; i < 2 && fw::Game->FullScreen == 1; ++i) {  // start from a window
        Press(plat::KEY_F7);
        Frame();
        Frame();
    }
    ASSERT_EQ(fw::Game->FullScreen, 0);
    Press(plat::KEY_F7);
    Frame();
    EXPECT_EQ(fw::Game->FullScreen, 1) << "F7 turns full screen on";
    EXPECT_TRUE(plat::IsFullScreen());
    EXPECT_EQ(fw::Game->ForceWindowedMode, 0);
    auto texts = TextsOf([] { game::OptionScreen->Draw(); });
    EXPECT_EQ((texts[{186, 150}]), "ON");
    Frame();
    Press(plat::KEY_F5);
    Frame();
    Press(plat::KEY_F9);  // applies 1024 x 768, still full screen
    Frame();
    EXPECT_EQ(fw::ScreenWidth, 1024);
    EXPECT_TRUE(plat::IsFullScreen());
    EXPECT_EQ(fw::Game->ForceWindowedMode, 0);
    plat::ClearGraphicsModesForTests();
}

// Every opening of the display selects the driver with its own picture
// flags; the game's rules (masked loading, the mask colour) are in force
// again after F7, Alt+Enter and a new resolution, so maps and pictures
// loaded later keep their transparent parts and sharp pixels.
TEST_F(FrontScreens, TheGamesPictureRulesOutliveEveryDisplayChange) {
    plat::SetGraphicsModesForTests({{800, 600, 32, 60}, {1024, 768, 32, 60}});
    auto rulesHold = [](const char* after) {
        EXPECT_EQ(plat::GetAutoImageFlags(), plat::MASKEDIMAGE) << after;
        int r = 0, g = 0, b = 0;
        plat::GetMaskColor(r, g, b);
        EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(255, 0, 255)) << after;
        const auto picture = plat::LoadImage("Data/Graphics/puertacer.png");
        ASSERT_TRUE(picture) << after;
        EXPECT_EQ(picture->flags, plat::MASKEDIMAGE) << after;
        EXPECT_EQ(std::make_tuple(picture->maskR, picture->maskG, picture->maskB), std::make_tuple(255, 0, 255))
            << after;
    };
    rulesHold("start-up");
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    Press(plat::KEY_F7);
    Frame();
    Frame();
    rulesHold("F7");
    plat::SimulateKeyDown(plat::KEY_LALT);
    Press(plat::KEY_ENTER);
    Frame();
    plat::SimulateKeyUp(plat::KEY_LALT);
    Frame();
    rulesHold("Alt+Enter");
    const int width = fw::ScreenWidth;
    Press(plat::KEY_F5);
    Frame();
    Press(plat::KEY_F9);  // leaves the options, applying the other size
    Frame();
    EXPECT_NE(fw::ScreenWidth, width);
    rulesHold("a new resolution");
    fw::Game->ToggleResolution(800, 600);
    plat::ClearGraphicsModesForTests();
}

TEST_F(FrontScreens, F12RestoresTheDefaultTableAtOnce) {
    auto& table = *fw::Game->HighScores;
    table.Insert("ZED", 77777, 5);
    table.Save();
    game::HiScore = 77777;

    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    Press(plat::KEY_F12);
    Frame();
    EXPECT_EQ(table.Count(), 8);
    EXPECT_EQ(table.First()->score, 10000);
    EXPECT_EQ(game::HiScore, 10000);
    Press(plat::KEY_ESCAPE);  // not undone by leaving without F9
    Frame();
    auto fromDisk = plat::New<fw::THighScoreList>();
    fromDisk->Create(plat::StripExt(table.filepath), 8);
    EXPECT_EQ(fromDisk->Load(), 8);
    EXPECT_EQ(fromDisk->First()->score, 10000);
}

// --- key redefinition ------------------------------------------------------------------

TEST_F(FrontScreens, RedefinedKeysAreConfirmedAndWrittenToTheKeyFile) {
    const std::string keyFile = fronttest::SharedFolder() + "Keys.ini";
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    Press(plat::KEY_F3);
    Frame();
    ASSERT_EQ(Current(), game::RedefineKeysScreen.get());
    EXPECT_EQ(game::RedefineKeysScreen->newkey, 4);

    auto texts = TextsOf([] { game::RedefineKeysScreen->Draw(); });
    EXPECT_EQ((texts[{96, 30}]), "CHOOSE NEW KEYS");
    EXPECT_EQ((texts[{80, 56}]), "LEFT");

    // A key outside the 72 named ones is not taken.
    Press(plat::KEY_F1);
    Frame();
    EXPECT_EQ(game::RedefineKeysScreen->newkey, 4);

    const std::vector<std::pair<int, int>> steps = {{'A', 6}, {'D', 2}, {'W', 8}, {'S', 11}, {' ', 12}};
    for (const auto& [key, next] : steps) {
        Press(key);
        Frame();
        EXPECT_EQ(game::RedefineKeysScreen->newkey, next);
    }
    EXPECT_EQ(game::LeftKeys[1], 'A');  // in use at once
    texts = TextsOf([] { game::RedefineKeysScreen->Draw(); });
    EXPECT_EQ((texts[{80, 56}]), "LEFT      A");
    EXPECT_EQ((texts[{80, 120}]), "FIRE      SPACE");
    EXPECT_EQ((texts[{80, 136}]), "GRENADES  ");

    // A key already given to another control is taken again.
    Press('A');
    Frame();
    EXPECT_EQ(game::RedefineKeysScreen->newkey, 0);
    texts = TextsOf([] { game::RedefineKeysScreen->Draw(); });
    EXPECT_EQ((texts[{80, 136}]), "GRENADES  A");
    EXPECT_EQ((texts[{96, 200}]), "IS OK?    Y ! N");
    Frame();
    SaveFrame("redefine_keys_confirm");

    // N: again from the left key, the codes so far stay in use.
    Press('N');
    Frame();
    EXPECT_EQ(game::RedefineKeysScreen->newkey, 4);
    EXPECT_EQ(game::GrenadeKeys[1], 'A');
    for (int key : {'J', 'L', 'I', 'K', 'F', 'G'}) {
        Press(key);
        Frame();
    }
    ASSERT_EQ(game::RedefineKeysScreen->newkey, 0);
    Press('Y');
    Frame();
    EXPECT_EQ(Current(), game::OptionScreen.get());
    EXPECT_EQ(game::LevelStartKind, 6);
    EXPECT_EQ(testutil::Slurp(keyFile),
              "LEFT=74\r\nRIGHT=76\r\nUP=73\r\nDOWN=75\r\nFIRE=70\r\nGRENADES=71\r\n");
    // The shipped copy in the program's folder is left as it was.
    EXPECT_EQ(testutil::Slurp("Keys.ini"),
              "LEFT=37\r\nRIGHT=39\r\nUP=38\r\nDOWN=40\r\nFIRE=162\r\nGRENADES=164\r\n");

    // The new fire key starts a game from the title.
    Press(plat::KEY_ESCAPE);
    Frame();
    ASSERT_EQ(Current(), game::TitleScreen.get());
    Press('F');
    Frame();
    EXPECT_EQ(Current(), game::LevelScreen.get());
}

TEST_F(FrontScreens, EscapeDuringTheCaptureRestoresEveryDefaultWithoutWriting) {
    const std::string keyFile = fronttest::SharedFolder() + "Keys.ini";
    game::LeftKeys[1] = 'Q';  // as if loaded from the file at start
    const std::string before = testutil::Slurp(keyFile);
    ShowTitle();
    Press(plat::KEY_F9);
    Frame();
    Press(plat::KEY_F3);
    Frame();
    Press('Z');
    Frame();
    Press('X');
    Frame();
    EXPECT_EQ(game::RightKeys[1], 'X');
    Press(plat::KEY_ESCAPE);
    Frame();
    EXPECT_EQ(Current(), game::OptionScreen.get());
    EXPECT_EQ(game::LevelStartKind, 6);
    for (const game::KeyPair* keys : {&game::LeftKeys, &game::RightKeys, &game::UpKeys, &game::DownKeys,
                                      &game::FireKeys, &game::GrenadeKeys})
        EXPECT_EQ((*keys)[1], (*keys)[0]);
    EXPECT_EQ(testutil::Slurp(keyFile), before);
    Press(plat::KEY_ESCAPE);
    Frame();
}

// --- high-score table -------------------------------------------------------------------

TEST_F(FrontScreens, TableShowsPlacesNamesAndPaddedScores) {
    auto& table = *fw::Game->HighScores;
    table.Clear();
    table.CreateDefault();
    game::HighScoresScreen->PreStart();
    auto texts = TextsOf([] { game::HighScoresScreen->Draw(); });
    EXPECT_EQ((texts[{72, 50}]), "1ST");
    EXPECT_EQ((texts[{112, 50}]), "RAV");
    EXPECT_EQ((texts[{184, 50}]), "0010000");
    EXPECT_EQ((texts[{72, 162}]), "8TH");
    EXPECT_EQ((texts[{184, 162}]), "0003000");
    Frame();
    SaveFrame("highscores");

    // Rows beyond the eighth get no place; an empty table draws nothing.
    table.Add("NINE", 12345678, 1);
    texts = TextsOf([] { game::HighScoresScreen->Draw(); });
    EXPECT_EQ(texts.count({72, 178}), 0u);
    EXPECT_EQ((texts[{184, 178}]), "12345678");
    table.Clear();
    texts = TextsOf([] { game::HighScoresScreen->Draw(); });
    EXPECT_TRUE(texts.empty());
    table.CreateDefault();
}

}  // namespace
