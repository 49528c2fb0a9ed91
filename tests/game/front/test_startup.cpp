// The start-up order, each case in a fresh child process: the start-up runs
// once per process, and each case needs its own files and devices first.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

#include "framework/channels.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/ini.h"
#include "framework/mouse.h"
#include "framework/system.h"
#include "game/front/bitmap_font.h"
#include "game/front/intro_screen.h"
#include "game/front/main_program.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/level_screen.h"
#include "game/screens.h"
#include "platform/audio/audio.h"
#include "platform/gfx/display.h"
#include "platform/sys/input.h"
#include "tests/game/front/fixture.h"

namespace {

using fronttest::SharedFolder;

// Runs `body` in a child process; the child reports every failed check on
// its error output and exits 1, or exits 0 when all hold.
void InChild(const std::function<void(std::ostringstream&)>& body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::ostringstream failures;
            try {
                body(failures);
            } catch (const std::exception& e) {
                failures << "raised: " << e.what() << "\n";
            }
            const std::string text = failures.str();
            if (!text.empty()) std::fprintf(stderr, "%s", text.c_str());
            std::fflush(stderr);
            _exit(text.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

#define CHECK_IN_CHILD(out, cond) \
    do {                          \
        if (!(cond)) (out) << __LINE__ << ": " #cond "\n"; \
    } while (0)

std::string SettingsPath() {
    return SharedFolder() + plat::StripDir(fw::ReleaseExeName()) + ".ini";
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FrontStartUp, FollowsTheStartUpOrder) {
    InChild([](std::ostringstream& out) {
        fronttest::PrepareProcess();
        // A settings file naming another driver: the game overrides it.
        WriteFile(SettingsPath(), "SOUND DRIVER=FreeAudio\r\nFULL SCREEN=0\r\n");
        game::StartUp();
        auto& g = *fw::Game;
        CHECK_IN_CHILD(out, g.SoundDriver == "OpenAL Generic Software");
        CHECK_IN_CHILD(out, plat::AudioDriverName() == "OpenAL Generic Software");
        CHECK_IN_CHILD(out, g.Channels && g.Channels->Count() == 16);
        CHECK_IN_CHILD(out, g.Channels && g.Channels->MaxVol == 16.0f);
        CHECK_IN_CHILD(out, game::ControlMode == 0);
        CHECK_IN_CHILD(out, plat::CurrentAppTitle() == game::kAppTitle);
        CHECK_IN_CHILD(out, g.SubPath == SharedFolder());
        CHECK_IN_CHILD(out, fw::ErrorReportMode == 1);
        CHECK_IN_CHILD(out, g.IgnoreFrameworkKeys == 1 && g.IgnoreDebugKey == 1);
        CHECK_IN_CHILD(out, g.DebugDisplayX == 5 && g.DebugDisplayY == 5);
        CHECK_IN_CHILD(out, plat::VirtualResolutionWidth() == 320 && plat::VirtualResolutionHeight() == 240);
        CHECK_IN_CHILD(out, g.Mouse->Active == 0);
        CHECK_IN_CHILD(out, plat::GetAutoImageFlags() == plat::MASKEDIMAGE);
        // The files of the first run.
        CHECK_IN_CHILD(out, plat::FileExists(SettingsPath()));
        CHECK_IN_CHILD(out, plat::FileExists(SharedFolder() + "Keys.ini"));
        CHECK_IN_CHILD(out, plat::FileExists(SharedFolder() + "velmarok.dat"));
        CHECK_IN_CHILD(out, g.HighScores->Count() == 8 && game::HiScore == 10000);
        // Every object of the run exists, the intro is showing its first step.
        CHECK_IN_CHILD(out, game::TitleScreen && game::LevelScreen && game::LevelCompleteScreen &&
                                game::OptionScreen && game::RecordsEntryScreen && game::HighScoresScreen &&
                                game::RedefineKeysScreen && game::IntroScreen);
        CHECK_IN_CHILD(out, game::ShotList && game::EnemyList && game::HutList && game::GuardList &&
                                game::FireList && game::GameMap && game::SidMusic && game::KeyFile);
        CHECK_IN_CHILD(out, game::BitmapFont && game::BitmapFont->charw == 8 && game::BitmapFont->charh == 8);
        CHECK_IN_CHILD(out, game::HeroImage && game::HeroImage->Frames() == 30);
        CHECK_IN_CHILD(out, game::EnemyImage && game::EnemyImage->Frames() == 84);
        CHECK_IN_CHILD(out, game::GateOpenImage && game::GateOpenImage->Frames() == 2);
        CHECK_IN_CHILD(out, g.SpritePaused != nullptr);
        CHECK_IN_CHILD(out, g.CurrentTScreen == game::IntroScreen && game::IntroScreen->estado == 1);
        CHECK_IN_CHILD(out, game::KeyNames[37] == "CURSOR LEFT" && game::KeyNames[187].empty());
        CHECK_IN_CHILD(out, game::GrenadeSpeedTable[6][8] == 2 && game::GrenadeSpeedTable[10][7] == -13);
        // Focused (a headless window always is): not suspended.
        CHECK_IN_CHILD(out, g.SuspendedEvent == 0);
    });
}

TEST(FrontStartUp, JoystickPresentSelectsJoystickControl) {
    InChild([](std::ostringstream& out) {
        fronttest::PrepareProcess();
        plat::AttachVirtualJoystick();
        game::StartUp();
        CHECK_IN_CHILD(out, game::ControlMode == 1);
    });
}

TEST(FrontStartUp, EmptyOrDamagedHighScoreFileGetsTheDefaultTable) {
    for (const std::string& bytes : {std::string(), std::string("\x01\x02\x03", 3)}) {
        InChild([bytes](std::ostringstream& out) {
            fronttest::PrepareProcess();
            WriteFile(SharedFolder() + "velmarok.dat", bytes);
            game::StartUp();
            CHECK_IN_CHILD(out, fw::Game->HighScores->Count() == 8);
            CHECK_IN_CHILD(out, game::HiScore == 10000);
            // Saved, so the next start reads a good table.
            auto again = plat::New<fw::THighScoreList>();
            again->Create(SharedFolder() + "velmarok", 8);
            CHECK_IN_CHILD(out, again->Load() == 8);
        });
    }
}

TEST(FrontStartUp, HiScoreIsTheBestRowOfTheTable) {
    InChild([](std::ostringstream& out) {
        fronttest::PrepareProcess();
        auto table = plat::New<fw::THighScoreList>();
        std::filesystem::create_directories(SharedFolder());
        table->Create(SharedFolder() + "velmarok", 8);
        table->Add("ACE", 55555, 8);
        table->Add("TWO", 100, 1);
        table->Save();
        game::StartUp();
        CHECK_IN_CHILD(out, game::HiScore == 55555);
        CHECK_IN_CHILD(out, fw::Game->HighScores->Count() == 2);
    });
}

TEST(FrontStartUp, StartWithoutFocusBeginsSuspended) {
    InChild([](std::ostringstream& out) {
        fronttest::PrepareProcess();
        game::StartUp();
        fw::FlipSync = 0;
        auto& g = *fw::Game;
        // Another window holds the focus when the start-up ends.
        const int ours = g.WindowHandle;
        g.WindowHandle = ours + 1000;
        game::BeginSuspendedWithoutFocus();
        CHECK_IN_CHILD(out, g.SuspendedEvent == 1);
        fronttest::RunFor(3000, 50, true);
        CHECK_IN_CHILD(out, g.Suspended == 1);
        CHECK_IN_CHILD(out, game::IntroScreen->estado == 1);  // nothing ran
        // Our window gets the focus: the game resumes and the intro moves on.
        g.WindowHandle = ours;
        fronttest::RunFor(1500, 50, true);
        CHECK_IN_CHILD(out, g.Suspended == 0);
        CHECK_IN_CHILD(out, game::IntroScreen->estado == 2);
    });
}

// A program folder (under the working folder, which the death test's child
// shares with the parent) whose data are links to the built ones, except
// `file`, which holds its first `keep` bytes.
std::string FolderWithCutFile(const std::string& name, const std::string& file, std::size_t keep) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::absolute(name);
    fs::remove_all(folder);
    const fs::path source = fronttest::ProgramFolder() + "/Data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (entry.is_directory()) continue;
        const std::string rel = "Data/" + fs::relative(entry.path(), source).string();
        fs::create_directories((folder / rel).parent_path());
        if (rel == file)
            WriteFile(folder / rel, testutil::Slurp(entry.path()).substr(0, keep));
        else
            fs::create_symlink(entry.path(), folder / rel);
    }
    return folder.string();
}

// The error log of this process, put on the error output as it ends.
void ShowLogAtExit() {
    std::atexit([] {
        std::fprintf(stderr, "log: %s\n", testutil::Slurp(fw::ErrorLogPath()).c_str());
    });
}

TEST(FrontStartUp, ADamagedMapStopsWithItsErrorInsteadOfPlayingAnEmptyField) {
    struct Case {
        const char* map;
        std::size_t keep;  // bytes of the map left
    };
    for (const Case c : {Case{"Data/Maps/Level0.dat", 20}, Case{"Data/Maps/Level1.dat", 5000},
                         Case{"Data/Maps/Level1.dat", 0}}) {
        SCOPED_TRACE(c.map + std::string(" cut at ") + std::to_string(c.keep));
        const std::string folder = FolderWithCutFile("front-damaged-map", c.map, c.keep);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(
            {
                fronttest::PrepareProcess();
                std::filesystem::current_path(folder);
                game::StartUp();
                ShowLogAtExit();
                // The panel waits for a key: press one once it shows.
                fw::SetMessageBoxFrameHook([](int frame) {
                    if (frame == 2) plat::SimulateKeyPress(65);
                });
                if (std::string(c.map).find("Level0") != std::string::npos) {
                    game::TitleScreen->Load();
                } else {
                    game::Level = 1;
                    game::LevelScreen->Load();
                }
                std::fprintf(stderr, "the damaged map was played\n");
                _exit(0);
            },
            ::testing::ExitedWithCode(255),
            std::string("Error loading file ") + c.map + "\nlog: Date: .*Error loading file " + c.map);
        std::filesystem::remove_all(folder);
    }
}

}  // namespace
