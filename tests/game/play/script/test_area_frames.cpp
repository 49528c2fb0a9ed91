// The busiest moments of every area as pictures for a person to look at
// (tests/play_frames/area*_*.png in the build folder): the test hero plays
// each area to its end, and the frame with the most soldiers about on the
// way up and at the gate is saved; then the area-complete screen of area 4
// while it types and when it is done.  The test itself checks only that
// every area ended and the pictures were drawn.

#include "game/play/level_complete_screen.h"
#include "tests/game/play/script/hero_driver.h"

namespace playtest {
namespace {

using namespace game;

class AreaFrames : public HeroDriver<PictureTest> {};

TEST_F(AreaFrames, TheBusiestMomentsOfEachAreaAndTheAreaCompleteScreen) {
    if (!open_) GTEST_SKIP() << "no display";
    for (int level = 1; level <= 8; ++level) {
        StartArea(level);
        GodMode = 1;
        Hold(UpKeys[1]);
        int busiest = 0, busiestAtGate = 0, t = 0;
        const std::string area = "area" + std::to_string(level);
        for (; t < 40000 && complete_->starts == 0; ++t) {
            Drive(t);
            const int n = EnemyList->Count() + GuardList->Count();
            int& best = ViewTop == 0 ? busiestAtGate : busiest;
            if (n > best && Hero->estado == HERO_PLAYING) {
                best = n;
                Save(area + (ViewTop == 0 ? "_gate.png" : "_busiest.png"));
            }
        }
        ReleaseAll();
        EXPECT_EQ(complete_->starts, 1) << area;
        EXPECT_GT(busiest, 2) << area;
        EXPECT_GT(busiestAtGate, 2) << area;
        complete_->starts = 0;
    }
    // The area-complete screen after area 4, halfway through its second
    // line and finished.
    auto screen = plat::New<TLevelCompleteScreen>();
    LevelCompleteScreen = screen;
    Level = 4;
    screen->PreStart();
    int t = 0;
    for (; t < 3000 && !screen->linea2_escrita; ++t) {
        screen->Logic();
        screen->Draw();
        if (screen->linea1_escrita && screen->posiciontexto == 12) SaveScreen("area_complete_typing.png");
        plat::Flip(0);
    }
    screen->Draw();
    SaveScreen("area_complete.png");
    plat::Flip(0);
    EXPECT_EQ(screen->linea2_escrita, 1);
}

}  // namespace
}  // namespace playtest
