// Whole areas on their real maps: area 1 walked to its top, deadly water
// and pits on areas 2 to 8, a replay of a fixed input script, and frames of
// play saved as pictures for a person to look at.

#include <cstdio>
#include <sstream>

#include "platform/gfx/display.h"
#include "platform/gfx/pixmap.h"
#include "tests/game/play/fixture.h"
#include "tests/game/play/script/hero_driver.h"

namespace playtest {
namespace {

using namespace game;

using AreaWalk = HeroDriver<PlayTest>;

TEST_F(AreaWalk, AreaOneCanBeWalkedToItsTopFiringAndThrowing) {
    StartArea(1);
    GodMode = 1;  // the soldiers of the area cannot stop him
    Frame();
    Hold(UpKeys[1]);
    int ticks = 0, shots = 0, throws = 0;
    while ((ViewTop > 0 || Hero->y > 54.0f) && ticks < 8000) {
        Steer();  // through the gaps of the lines barring the way
        if (ticks % 50 == 0) Press(FireKeys[1]);
        if (ticks % 700 == 350) Press(GrenadeKeys[1]);
        const int grenades = Grenades;
        const int before = CountShots();
        Tick();
        Frame();
        if (CountShots() > before) ++shots;
        if (Grenades < grenades) ++throws;
        ++ticks;
        ASSERT_EQ(Hero->estado, HERO_PLAYING) << "at view " << ViewTop;
    }
    EXPECT_EQ(ViewTop, 0);
    EXPECT_FLOAT_EQ(Hero->y, 54.0f);
    EXPECT_GT(shots, 100);
    EXPECT_EQ(throws, 5);
    EXPECT_EQ(Grenades, 0);
    // At the top the gate wave begins; the exit stays shut while it lasts.
    for (int i = 0; i < 100; ++i) Tick();
    EXPECT_LT(GateWaveCounter, -1);
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
}

// The first solid and deadly cell of an area's start view that the hero can
// walk up into from an open cell below it.
bool FindWater(const tilemap::TileMap& map, int viewTop, int& cx, int& cy) {
    for (int y = viewTop / 8 + 2; y < viewTop / 8 + 16; ++y)
        for (int x = 1; x < 38; ++x) {  // where the hero's up-probe can stand
            const auto& b = map.MapGetBlock(x, y);
            const auto& below = map.MapGetBlock(x, y + 1);
            const auto& below2 = map.MapGetBlock(x, y + 2);
            if (b.tl && b.br && !below.tl && !below2.tl) {
                cx = x;
                cy = y;
                return true;
            }
        }
    return false;
}

TEST_F(PlayTest, WaterAndPitsOfAreasTwoToEightKillAndTheAreaRestarts) {
    int found = 0;
    for (int level = 2; level <= 8; ++level) {
        StartArea(level);
        Frame();
        // Look over the whole area for deadly water the hero can reach.
        int cx = 0, cy = 0;
        bool ok = false;
        for (int view = ViewTop; view >= 0 && !ok; view -= 100) {
            ok = FindWater(*GameMap, view, cx, cy);
        }
        if (!ok) continue;
        ++found;
        Hero->x = static_cast<float>(cx * 8 + 4 - 12);
        Hero->y = static_cast<float>((cy + 1) * 8 + 1 - 15);
        ViewTop = std::max(0, static_cast<int>(Hero->y) - 120);
        Lives = 5;
        const int lives = Lives;
        Hold(UpKeys[1]);
        int ticks = 0;
        while (Hero->estado == HERO_PLAYING && ticks < 200) {
            Tick();
            ++ticks;
        }
        Release(UpKeys[1]);
        EXPECT_EQ(Hero->estado, HERO_FALLEN) << "area " << level;
        while (Hero->estado == HERO_FALLEN && ticks < 1000) {
            Tick();
            ++ticks;
        }
        EXPECT_EQ(Hero->estado, HERO_ENTERING) << "area " << level;
        EXPECT_EQ(Lives, lives - 1);
        bool isView = false;
        for (const auto& band : CheckpointBands(level)) isView = isView || band.view == ViewTop;
        EXPECT_TRUE(isView) << "area " << level << " restarted at " << ViewTop;
    }
    // The river areas have water the hero can walk into; elsewhere water
    // lies behind banks, fences and quay walls.
    EXPECT_GE(found, 3);
}

// The state a replay ends in, as text.
std::string Snapshot() {
    std::ostringstream out;
    out << ViewTop << " " << Hero->x << " " << Hero->y << " " << Hero->estado << " " << Hero->Frame_ind
        << " " << Score << " " << Lives << " " << Grenades << " " << GrenadeReady << " " << FireCoolDown
        << " " << Direction << " " << LastDirection << " |";
    for (const auto& o : *ShotList) {
        if (auto b = plat::As<T_Bala>(o)) out << " b" << b->x << "," << b->y << "," << b->explota;
        if (auto g = plat::As<T_Granada>(o)) out << " g" << g->x << "," << g->y << "," << g->frame_exp;
    }
    return out.str();
}

class ReplayTest : public PlayTest {
protected:
    // A fixed script of input over area 1: walking, weaving, firing and
    // throwing, with a burst of partial ticks in between.
    std::string Replay() {
        StartArea(1);
        GodMode = 1;  // nothing but the input decides where he goes
        for (int t = 0; t < 3000; ++t) {
            if (t == 1) Hold(UpKeys[1]);
            if (t % 300 == 100) Hold(LeftKeys[1]);
            if (t % 300 == 160) Release(LeftKeys[1]);
            if (t % 300 == 200) Hold(RightKeys[1]);
            if (t % 300 == 260) Release(RightKeys[1]);
            if (t % 23 == 0) Press(FireKeys[1]);
            if (t % 411 == 0) Press(GrenadeKeys[1]);
            Tick(t % 500 < 20 ? 0.6f : 1.0f);
            Frame();
        }
        for (int key : {UpKeys[1], LeftKeys[1], RightKeys[1]}) Release(key);
        Tick();
        return Snapshot();
    }
};

TEST_F(ReplayTest, TheSameScriptGivesTheSameGameTwice) {
    const std::string first = Replay();
    // From scratch again: a fresh clock, generators and input.
    TearDown();
    SetUp();
    const std::string second = Replay();
    EXPECT_EQ(first, second);
    EXPECT_LT(ViewTop, 1392 - 100);  // it did get somewhere
}

// --- frames of play as pictures ---------------------------------------------------

TEST_F(PictureTest, FramesOfPlay) {
    if (!open_) GTEST_SKIP() << "no display";
    StartArea(1);
    Frame();
    Hold(UpKeys[1]);
    for (int i = 0; i < 300; ++i) {
        if (i % 20 == 0) Press(FireKeys[1]);
        Tick();
    }
    Press(GrenadeKeys[1]);
    for (int i = 0; i < 60; ++i) Tick();
    Save("area1_walking.png");
    for (int i = 0; i < 45; ++i) Tick();
    Save("area1_grenade_burst.png");

    StartArea(2);
    Frame();
    ViewTop = 0;
    Hero->y = 100;
    Save("area2_top_gate.png");
    Hero->m_paso_a_estado_muerto(HERO_FALLEN);
    for (int i = 0; i < 120; ++i) Tick();
    Save("area2_fallen.png");

    RecordsEntryScreen->PreStart();
    for (int key : {'R', 'A', 'V', 'O'}) {
        Press(key);
        fw::Game->DoPeekEvent();
        RecordsEntryScreen->Logic();
    }
    RecordsEntryScreen->Draw();
    SaveScreen("name_entry.png");
}

}  // namespace
}  // namespace playtest
