// Frames of the real game saved as the window shows them, for looking at:
// the intro, the title, the options, the high-score table, play and the
// name entry, driven headless with a hand-moved clock so that every run
// shows the same moments.
//
//   review_frames <width> <height> <folder>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/game.h"
#include "game/main_program.h"
#include "game/screens.h"
#include "game/name_entry.h"
#include "game/title_screen.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/input.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEscape = 27, kF9 = 120, kUp = 38, kLeft = 37, kFire = 162, kGrenade = 164;

std::unique_ptr<plat::ManualClock> g_clock;
std::string g_folder;

void Frame(int ms = 5) {
    g_clock->Advance(ms);
    game::RunFrame();
}

// Frames of `step` ms for `ms` milliseconds.
void Run(int ms, int step = 20) {
    for (int t = 0; t < ms; t += step) Frame(step);
}

void Save(const std::string& name) {
    const std::string path = g_folder + "/" + name + ".png";
    if (!plat::SavePixmapPNG(plat::GrabBackBuffer(), path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: review_frames <width> <height> <folder>\n");
        return 2;
    }
    const int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
    g_folder = fs::absolute(argv[3]).string();
    fs::create_directories(g_folder);
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    // The per-user folders of a first run, thrown away afterwards.
    std::string home = (fs::temp_directory_path() / "review-frames-XXXXXX").string();
    if (!::mkdtemp(home.data())) return 1;
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    fs::current_path(fs::absolute(argv[0]).parent_path());
    g_clock = std::make_unique<plat::ManualClock>(0);

    game::StartUp();
    fw::FlipSync = 0;
    fw::ScreenWidth = width;
    fw::ScreenHeight = height;
    plat::Graphics(width, height, 0, 60);
    plat::SetVirtualResolution(320, 240);

    Frame();
    Save("intro_1_border");
    Run(1200);
    Save("intro_2_basic");
    for (int step = 3; step <= 5; ++step) {
        plat::SimulateKeyPress(kEscape);
        Run(40);
    }
    Run(12000, 10);
    Save("intro_5_loading");
    plat::SimulateKeyPress(kEscape);
    Run(40);
    Save("intro_6_raster");
    while (fw::Game->CurrentTScreen.get() != game::TitleScreen.get()) {
        plat::SimulateKeyPress(kEscape);
        Run(600);
    }
    Run(1000);
    Save("title_credits");
    Run(15100);
    Save("title_map");
    plat::SimulateKeyPress(kF9);
    Run(1000);
    Save("options");
    plat::SimulateKeyPress(kEscape);
    Run(1000);

    // Play: up the first area firing, a grenade now and then.
    plat::SimulateKeyPress(kFire);
    Run(1500);
    plat::SimulateKeyDown(kUp);
    for (int i = 0; i < 300; ++i) {
        if (i % 6 == 0) plat::SimulateKeyDown(kFire);
        if (i % 6 == 3) plat::SimulateKeyUp(kFire);
        if (i % 100 == 50) plat::SimulateKeyPress(kGrenade);
        if (i % 40 == 20) plat::SimulateKeyDown(kLeft);
        if (i % 40 == 30) plat::SimulateKeyUp(kLeft);
        Frame(20);
        if (i == 150) Save("play_1");
    }
    Save("play_2");
    plat::SimulateKeyUp(kUp);

    game::RecordsEntryScreen->PreStart();
    fw::Game->CurrentTScreen = game::RecordsEntryScreen;
    for (int key : {'R', 'A', 'V'}) {
        plat::SimulateKeyPress(key);
        Frame(40);
    }
    Run(200);
    Save("name_entry");
    std::error_code ec;
    fs::remove_all(home, ec);
    std::fflush(nullptr);
    std::_Exit(0);
}
