// Frames of the real game saved as the window shows them, for looking at:
// the intro, the title, the options, play and the name entry, driven
// headless with a hand-moved clock so that every run shows the same moments.
//
//   review_frames <width> <height> <folder>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/game/drive_game.h"
#include "game/front/name_entry.h"
#include "game/globals.h"
#include "game/play/checkpoints.h"
#include "game/screens.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/pixmap.h"

namespace {

std::string g_folder;

void Save(const std::string& name) {
    const std::string path = g_folder + "/" + name + ".png";
    if (!plat::SavePixmapPNG(plat::GrabBackBuffer(), path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

using Driver = benchutil::GameDriver;

// Where the area tables crowd the field: the restart views below the busiest
// stretches, walked up from there by a hero who cannot die.
struct AreaView {
    int level;
    int view;
    const char* name;
};
constexpr AreaView kAreaViews[] = {
    {1, 1392, "area1_fields"},  {1, 836, "area1_viaduct"},   {1, 506, "area1_sandbags"},
    {1, 196, "area1_forecourt"}, {2, 1320, "area2_road"},    {2, 1041, "area2_trenches"},
    {2, 776, "area2_bridge"},   {2, 506, "area2_marsh"},     {2, 176, "area2_huts"},
    {3, 1536, "area3_fan"},     {3, 1010, "area3_bunkers"},  {3, 622, "area3_bridge"},
    {3, 171, "area3_ridge"},    {4, 1328, "area4_gully"},    {4, 1056, "area4_bay"},
    {4, 792, "area4_lorries"},  {4, 520, "area4_oasis"},     {4, 176, "area4_approach"},
    {5, 1256, "area5_gorge"},   {5, 902, "area5_viaduct"},   {5, 590, "area5_cannon"},
    {5, 284, "area5_moat"},     {6, 1116, "area6_hills"},    {6, 680, "area6_bridge"},
    {6, 282, "area6_trenches"}, {7, 1200, "area7_streets"},  {7, 810, "area7_doors"},
    {7, 490, "area7_lorry"},    {7, 170, "area7_avenue"},    {8, 1216, "area8_bridge"},
    {8, 904, "area8_barracks"}, {8, 600, "area8_bunker"},    {8, 224, "area8_citadel"},
};

void ReviewAreas(Driver& game) {
    for (const AreaView& at : kAreaViews) {
        game::Level = at.level;
        game::Go(game::SCREEN_AREA_COMPLETE, game::SCREEN_LEVEL);
        game.Run(1500);
        game::GodMode = 1;
        game::ViewTop = at.view;
        game::RestartFromCheckpoint();
        game.Play(600, [&](int i) {
            if (i == 300) Save(std::string(at.name) + "_1");
        });
        Save(std::string(at.name) + "_2");
    }
    game::GodMode = 0;
}

void Review(const char* program, int width, int height) {
    Driver game(program);
    fw::ScreenWidth = width;
    fw::ScreenHeight = height;
    plat::Graphics(width, height, 0, 60);
    plat::SetVirtualResolution(320, 240);

    game.Frame();
    Save("intro_1_border");
    game.Run(1200);
    Save("intro_2_basic");
    for (int step = 3; step <= 5; ++step) {
        plat::SimulateKeyPress(Driver::kEscape);
        game.Run(40);
    }
    game.Run(12000, 10);
    Save("intro_5_loading");
    plat::SimulateKeyPress(Driver::kEscape);
    game.Run(40);
    Save("intro_6_raster");
    game.SkipToTitle();
    game.Run(1000);
    Save("title_credits");
    game.Run(15100);
    Save("title_map");
    plat::SimulateKeyPress(Driver::kF9);
    game.Run(1000);
    Save("options");
    plat::SimulateKeyPress(Driver::kEscape);
    game.Run(1000);

    game.StartPlay();
    game.Play(300, [](int i) {
        if (i == 150) Save("play_1");
    });
    Save("play_2");
    ReviewAreas(game);

    game::RecordsEntryScreen->PreStart();
    fw::Game->CurrentTScreen = game::RecordsEntryScreen;
    for (int key : {'R', 'A', 'V'}) {
        plat::SimulateKeyPress(key);
        game.Frame(40);
    }
    game.Run(200);
    Save("name_entry");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: review_frames <width> <height> <folder>\n");
        return 2;
    }
    g_folder = std::filesystem::absolute(argv[3]).string();
    std::filesystem::create_directories(g_folder);
    Review(argv[0], std::atoi(argv[1]), std::atoi(argv[2]));
    std::fflush(nullptr);
    // The game's objects are not torn down: the process just ends.
    std::_Exit(0);
}
