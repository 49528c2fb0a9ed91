// The hero: walking and the wall probes on a small map, deadly cells, hits,
// the death and the restart, the game over, the exit walk and the fortress.

#include <algorithm>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/fires.h"
#include "game/play/script/spawned.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class HeroTest : public PlayTest {
protected:
    // A 60-row map (the view starts at 304), the hero playing at (130, 124)
    // of the play field.
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(60);
    }
    void Begin(int level = 1) {
        StartOnMap(map_, level);
        Frame();
    }
    // Holds exactly the keys of a direction code for the next ticks.
    void Steer(int code) {
        for (int key : {LeftKeys[1], RightKeys[1], UpKeys[1], DownKeys[1]}) Release(key);
        const bool l = code == 1 || code == 4 || code == 7, r = code == 3 || code == 6 || code == 9;
        const bool u = code >= 1 && code <= 3, d = code >= 7 && code <= 9;
        if (l) Hold(LeftKeys[1]);
        if (r) Hold(RightKeys[1]);
        if (u) Hold(UpKeys[1]);
        if (d) Hold(DownKeys[1]);
    }
    float Row() const { return Hero->y - static_cast<float>(ViewTop); }
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(HeroTest, WalksEightWaysAtHisSpeeds) {
    const struct { int code; float dx, dy; } cases[] = {
        {1, -0.5f, -0.25f}, {2, 0, -0.25f}, {3, 0.5f, -0.25f}, {4, -0.5f, 0},
        {5, 0, 0}, {6, 0.5f, 0}, {7, -0.5f, 0.25f}, {8, 0, 0.25f}, {9, 0.5f, 0.25f},
    };
    for (const auto& c : cases) {
        Begin();
        Steer(c.code);
        const float x0 = Hero->x, y0 = Hero->y;
        for (int i = 0; i < 8; ++i) Tick();
        EXPECT_EQ(Direction, c.code);
        EXPECT_FLOAT_EQ(Hero->x, x0 + 8 * c.dx) << c.code;
        EXPECT_FLOAT_EQ(Hero->y, y0 + 8 * c.dy) << c.code;
        Steer(5);
    }
}

TEST_F(HeroTest, OppositeKeysFavourLeftAndUp) {
    Begin();
    Hold(LeftKeys[1]);
    Hold(RightKeys[1]);
    Tick();
    EXPECT_EQ(Direction, 4);
    Release(LeftKeys[1]);
    Release(RightKeys[1]);
    Hold(UpKeys[1]);
    Hold(DownKeys[1]);
    Tick();
    EXPECT_EQ(Direction, 2);
    Hold(LeftKeys[1]);
    Hold(RightKeys[1]);
    Release(DownKeys[1]);
    Tick();
    EXPECT_EQ(Direction, 1);
    Steer(5);
    Tick();
    EXPECT_EQ(Direction, 5);
    EXPECT_EQ(LastDirection, 1);
}

TEST_F(HeroTest, TheJoystickStearsOnlyBeyondTheDeadZone) {
    ControlMode = 1;
    const int port = plat::AttachVirtualJoystick();
    ASSERT_EQ(port, 0);
    Begin();
    Hold(LeftKeys[1]);  // the keyboard is not read in joystick mode
    const struct { float x, y; int code; } cases[] = {
        {0.49f, 0.0f, 5}, {0.51f, 0.0f, 6}, {-0.6f, -0.6f, 1}, {0.0f, 0.9f, 8}, {-0.49f, -0.49f, 5},
    };
    for (const auto& c : cases) {
        plat::SetVirtualJoystickAxes(0, c.x, c.y);
        Tick();
        EXPECT_EQ(Direction, c.code) << c.x << "," << c.y;
    }
    plat::SetVirtualJoystickButton(0, 1, true);
    Tick();
    EXPECT_EQ(FireButtons, 2);
    plat::DetachVirtualJoysticks();
}

TEST_F(HeroTest, AGameControllerSteersWithItsDPadAndFiresWithAAndB) {
    ControlMode = 1;
    plat::DetachVirtualJoysticks();
    ASSERT_EQ(plat::AttachVirtualController(), 0);
    Begin();
    // Raw buttons 2..5 are the pad's D-pad up, down, left, right.
    const struct { std::vector<int> held; int code; } cases[] = {
        {{2}, 2}, {{3}, 8}, {{4}, 4}, {{5}, 6}, {{2, 4}, 1}, {{3, 5}, 9}, {{}, 5},
    };
    for (const auto& c : cases) {
        for (int b = 2; b <= 5; ++b)
            plat::SetVirtualJoystickButton(0, b, std::find(c.held.begin(), c.held.end(), b) != c.held.end());
        Tick();
        EXPECT_EQ(Direction, c.code) << c.held.size() << " buttons held";
    }
    const struct { int button, fire; } buttons[] = {{0, 1}, {1, 2}};
    for (const auto& b : buttons) {
        plat::SetVirtualJoystickButton(0, b.button, true);
        Tick();
        EXPECT_EQ(FireButtons, b.fire) << "button " << b.button;
        plat::SetVirtualJoystickButton(0, b.button, false);
        Tick();
        EXPECT_EQ(FireButtons, 0) << "one press fires once";
    }
    plat::DetachVirtualJoysticks();
}

TEST_F(HeroTest, ScreenBoundsStopHimAndABlockedDiagonalMovesNeitherWay) {
    Begin();
    Hero->x = 2.0f;
    Steer(1);
    const float y0 = Hero->y;
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_FLOAT_EQ(Hero->x, 2.0f);
    EXPECT_FLOAT_EQ(Hero->y, y0);
    Steer(7);
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_FLOAT_EQ(Hero->y, y0);
    // Right edge: x < 296.
    Hero->x = 295.9f;
    Steer(6);
    Tick();
    EXPECT_FLOAT_EQ(Hero->x, 296.4f);
    Tick();
    EXPECT_FLOAT_EQ(Hero->x, 296.4f);
    // Bottom: row < 139.
    Hero->y = static_cast<float>(ViewTop) + 138.9f;
    Steer(8);
    Tick();
    Tick();
    EXPECT_FLOAT_EQ(Row(), 139.15f);
}

TEST_F(HeroTest, WallsStopHimAtTheirProbePoints) {
    // Solid blocks: probes are (x+12, y+15) up, (x+2, y+16) left,
    // (x+22, y+16) right, (x+12, y+21) down.
    Begin();
    const int hx = 130, hy = static_cast<int>(Hero->y);
    Paint(*map_, hx + 12, hy + 15 - 8 - 1, 1, 1, 1);  // a wall one block above the up probe
    Steer(2);
    int moved = 0;
    for (int i = 0; i < 80; ++i) {
        const float before = Hero->y;
        Tick();
        if (Hero->y != before) ++moved;
    }
    EXPECT_EQ(Hero->estado, HERO_PLAYING);  // a plain wall does not kill
    // He stands where the next probe is solid and the last one was free.
    EXPECT_EQ(map_->MapCollision(hx + 12, static_cast<int>(Hero->y + 15)), 1);
    EXPECT_EQ(map_->MapCollision(hx + 12, static_cast<int>(Hero->y + 0.25f + 15)), 0);
    EXPECT_LT(moved, 80);

    Begin();
    Paint(*map_, 0, 0, 320, 60 * 8, 0);
    Paint(*map_, 96, static_cast<int>(Hero->y) + 16, 8, 1, 1);  // the block of x 96..103
    Steer(4);
    for (int i = 0; i < 100; ++i) Tick();
    EXPECT_FLOAT_EQ(Hero->x, 101.5f);  // the probe x + 2 has reached x 103
}

TEST_F(HeroTest, OnlySolidDeadlyCellsKillAndNeverOnAreaOne) {
    const struct { int level, block; bool dies; } cases[] = {
        {2, 2, true}, {2, 3, false}, {2, 1, false}, {1, 2, false}, {5, 2, true},
    };
    for (const auto& c : cases) {
        map_ = MakeMap(60);
        Begin(c.level);
        Paint(*map_, 0, static_cast<int>(Hero->y) - 40, 320, 8, c.block);
        Steer(2);
        for (int i = 0; i < 200 && Hero->estado == HERO_PLAYING; ++i) Tick();
        EXPECT_EQ(Hero->estado, c.dies ? HERO_FALLEN : HERO_PLAYING) << c.level << " " << c.block;
    }
}

// A hero that counts his death sounds.
class CountingDax : public T_Dax {
public:
    int deathSounds = 0;
    void m_PlayDeadSound() override { ++deathSounds; }
};

TEST_F(HeroTest, TheUpLeftFallBelowTheMarginIsSilentAndKeepsTheWalkingCell) {
    for (int dir : {1, 2}) {
        Begin(3);
        auto hero = plat::New<CountingDax>();  // at the start place, playing
        Hero = hero;
        Paint(*map_, 0, static_cast<int>(Hero->y) + 15 - 8, 320, 8, 2);
        Hero->Frame_ind = 2;
        Hero->AnimDelay = 10;
        Steer(dir);
        for (int i = 0; i < 40 && Hero->estado == HERO_PLAYING; ++i) Tick();
        EXPECT_EQ(Hero->estado, HERO_FALLEN) << dir;
        if (dir == 1) {
            EXPECT_EQ(hero->deathSounds, 0);
            EXPECT_EQ(Hero->Frame_ind, 2);
        } else {
            // Straight up into the same water: the normal death start.
            EXPECT_EQ(hero->deathSounds, 1);
            EXPECT_EQ(Hero->Frame_ind, 0);
        }
    }
}

TEST_F(HeroTest, ADeathLastsTwentyFiveStepsThenHeRestartsWithOneLifeLess) {
    MusicOn();
    Begin(1);
    EXPECT_EQ(Music(), "playing");
    const auto tune = music::SidAudioStream::CurrentStream();
    ViewTop = 1000;  // area 1, band > 836: back to 1392
    Hero->y = 1124;
    ShotList->AddLast(plat::New<T_Bala>());
    Hero->AnimDelay = -1;  // the step comes at once
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    EXPECT_EQ(Hero->estado, HERO_SHOT);
    EXPECT_EQ(Music(), "paused") << "the music holds its breath while he dies";
    Steer(6);  // held keys do nothing while dying
    int ticks = 0;
    while (Hero->estado == HERO_SHOT && ticks < 1000) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 1 + 24 * 17);
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_EQ(Lives, 4);
    EXPECT_EQ(ViewTop, 1392);
    EXPECT_FLOAT_EQ(Hero->x, 130.0f);
    EXPECT_FLOAT_EQ(Hero->y, 1392.0f + 124);
    EXPECT_EQ(Direction, 2);
    EXPECT_EQ(LastDirection, 2);
    EXPECT_EQ(ShotList->Count(), 0);
    EXPECT_EQ(GrenadeReady, 1);
    EXPECT_EQ(Music(), "playing") << "and goes on with the next life";
    EXPECT_EQ(music::SidAudioStream::CurrentStream(), tune) << "where it was, not from the top";
    Frame();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
}

TEST_F(HeroTest, ADeathAtTheTopStartsTheGateWaveAgain) {
    Begin(1);
    ViewTop = 0;
    GateWaveCounter = -9;
    SpawnMarkers[3] = -4;
    SpawnMarkers[17] = 5;
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    for (int i = 0; i < 500 && Hero->estado == HERO_SHOT; ++i) Tick();
    EXPECT_EQ(GateWaveCounter, -1);
    EXPECT_EQ(SpawnMarkers[3], 0);
    EXPECT_EQ(SpawnMarkers[17], 5);  // slots 16..19 are left alone
    EXPECT_EQ(ViewTop, 196);
}

TEST_F(HeroTest, TheLastLifeEndsTheGameIntoTheNameEntryOrTheTitle) {
    // A table with room: any score qualifies.
    MusicOn();
    Begin(1);
    Lives = 1;
    Score = 20000;
    Hero->m_paso_a_estado_muerto(HERO_FALLEN);
    EXPECT_EQ(Music(), "paused");
    for (int i = 0; i < 500 && fw::Game->DestinationTScreen == nullptr; ++i) Tick();
    EXPECT_EQ(fw::Game->DestinationTScreen, RecordsEntryScreen);
    EXPECT_EQ(HiScore, 20000);
    EXPECT_EQ(LevelStartKind, 2);
    EXPECT_EQ(Lives, 1);

    // A full table whose lowest score is above ours: the title.
    fw::Game->DestinationTScreen = nullptr;
    for (int i = 0; i < 8; ++i) fw::Game->HighScores->Add("X", 50000 - i, 1);
    Begin(1);
    Lives = 1;
    Score = 100;
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    for (int i = 0; i < 500 && fw::Game->DestinationTScreen == nullptr; ++i) Tick();
    EXPECT_EQ(fw::Game->DestinationTScreen, TitleScreen);
    EXPECT_EQ(Music(), "stopped") << "the game is over";
    EXPECT_EQ(title_->starts, 1);
    EXPECT_EQ(HiScore, 20000);
}

TEST_F(HeroTest, EnemyShotsAndExplodingGrenadesHit) {
    Begin(2);
    const float hx = Hero->x, hy = Hero->y;
    // An enemy bullet on his box disappears with the hit.
    T_Bala::f_Create_Bala_Enemigo(8, hx + 4, hy - 20, BALA_ENEMY);
    auto bullet = FirstOf<T_Bala>();
    bullet->x = hx + 8;
    bullet->y = hy + 6;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_SHOT);
    EXPECT_EQ(CountShots(), 0);

    // A bazooka shell that kills stays.
    Begin(2);
    T_Bala::f_Create_Bala_Bazookero(8, Hero->x, Hero->y - 30);
    FirstOf<T_Bala>()->y = Hero->y;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_SHOT);
    EXPECT_EQ(CountShots(), 1);

    // An enemy grenade kills only while it bursts; a cannon shell never.
    Begin(2);
    auto g = plat::New<T_Granada>();
    g->owned = GRANADA_ENEMY;
    g->x = Hero->x;
    g->y = Hero->y;
    ShotList->AddLast(g);
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
    g->explota = 1;
    g->owned = GRANADA_CANNON;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
    g->owned = GRANADA_ENEMY;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_SHOT);

    // His own bullets never hit him, and God mode tests nothing at all.
    Begin(2);
    GodMode = 1;
    T_Bala::f_Create_Bala_Enemigo(8, Hero->x, Hero->y - 30, BALA_ENEMY);
    FirstOf<T_Bala>()->y = Hero->y + 6;
    FirstOf<T_Bala>()->x = Hero->x + 8;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
}

// The hero's box (x + 6, y + 4, 12 x 12) against a bazooka shell's box
// (x + 8, y + 7, 8 x 6) and a hut shot's (x + 8, y + 9, 6 x 5): touching
// edges hit, one pixel further misses, on each of the four sides.
TEST_F(HeroTest, ShellsAndHutShotsHitWithTheirOwnBoxes) {
    Begin(2);
    struct Kind {
        int owned;
        int ox, oy, w, h;
    };
    for (const Kind& k : {Kind{BALA_BAZOOKA, 8, 7, 8, 6}, Kind{BALA_HUT, 8, 9, 6, 5}}) {
        const int hx = 130 + 6, hy = ViewTop + 124 + 4;
        const int left = hx - k.ox - k.w, right = hx + 12 - k.ox;  // the shot's x that still touches
        const int top = hy - k.oy - k.h, bottom = hy + 12 - k.oy;
        const int midX = (left + right) / 2, midY = (top + bottom) / 2;
        struct Place {
            int x, y;
            bool hit;
        };
        const Place places[] = {
            {left, midY, true},  {left - 1, midY, false},  {right, midY, true},  {right + 1, midY, false},
            {midX, top, true},   {midX, top - 1, false},   {midX, bottom, true}, {midX, bottom + 1, false},
        };
        for (const Place& p : places) {
            ShotList->Clear();
            Hero->estado = HERO_PLAYING;
            Hero->x = 130;
            Hero->y = static_cast<float>(ViewTop + 124);
            auto shot = plat::New<T_Bala>();
            shot->owned = k.owned;
            shot->dir = DIR_DOWN_LEFT;
            shot->x = static_cast<float>(p.x);
            shot->y = static_cast<float>(p.y);
            shot->yfinalbala = shot->y + 90;
            ShotList->AddLast(shot);
            Tick();
            EXPECT_EQ(Hero->estado == HERO_SHOT, p.hit) << "kind " << k.owned << " at " << p.x - hx << ", " << p.y - hy;
        }
    }
}

TEST_F(HeroTest, TouchingAnEnemyAndAVehicleStartsTheDeathTwice) {
    Begin(2);
    // A trench soldier, down in his trench, and a motorbike, right on him.
    T_Enemigo::f_Create_Trinchero_Ini(Hero->x, static_cast<int>(Hero->y) + 15, 100);
    T_Vehiculo_Enemigo::f_Create_v_Moto(static_cast<int>(Hero->y) - 20);
    plat::As<T_Vehiculo_Enemigo>(EnemyList->Last())->x = Hero->x;
    auto& sounds = LogSounds();
    Hero->Frame_ind = 2;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_SHOT);
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"SND5", "SND5"}));
    Tick();
    EXPECT_EQ(sounds.played.size(), 2u);  // no more tests while dying
}

TEST_F(HeroTest, AtTheTopWithTheWaveOverHeWalksOutThroughTheGate) {
    MusicOn();
    Begin(1);
    ViewTop = 0;
    Hero->y = 60;
    Hero->x = 40;
    GateWaveCounter = -16;
    EnemyList->AddLast(plat::New<plat::Object>());
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);  // an enemy is left
    EnemyList->Clear();
    Tick();
    EXPECT_EQ(Hero->estado, HERO_LEAVING);
    // The shell switches screens before the next tick; until then the exit
    // test would send a hero in state 42 back on the walk.
    for (int i = 0; i < 2000 && fw::Game->DestinationTScreen == nullptr; ++i) {
        EXPECT_EQ(Music(), "playing") << "through the gate";
        Tick();
        Frame();
        EXPECT_GE(Hero->x, 40.0f);
        EXPECT_LE(Hero->x, 154.5f);
    }
    EXPECT_EQ(Music(), "stopped") << "out at the top";
    // The exit test later in the same tick puts a hero in state 42 back on
    // the walk; the screen is left all the same.
    EXPECT_EQ(Hero->estado, HERO_LEAVING);
    EXPECT_LT(Hero->y, -21.0f);
    EXPECT_EQ(complete_->starts, 1);
    EXPECT_EQ(fw::Game->DestinationTScreen, LevelCompleteScreen);
    EXPECT_EQ(LevelStartKind, 2);
}

TEST_F(HeroTest, TheFortressBurnsForThreeSecondsOnAreasFourAndEight) {
    MusicOn();
    Begin(8);
    GuardList->AddLast(plat::New<plat::Object>());
    ViewTop = 0;
    AddSpawnMarker(GateWaveCounter);  // no gate soldier comes while it burns
    Hero->x = 152;
    Hero->y = 0.1f;
    Hero->estado = HERO_LEAVING;
    auto& sounds = LogSounds();
    Tick();
    EXPECT_EQ(Hero->estado, HERO_FORTRESS_REACHED);
    EXPECT_EQ(Music(), "playing");
    Tick();
    EXPECT_EQ(Hero->estado, HERO_FORTRESS_BURNING);
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"SND7"}));
    EXPECT_EQ(Music(), "stopped") << "the flames alone are heard";
    std::vector<std::pair<float, float>> fires;
    for (const auto& o : *FireList)
        if (auto f = plat::As<T_Fuego>(o)) fires.emplace_back(f->x, f->y);
    ASSERT_EQ(fires.size(), 9u);
    EXPECT_EQ(fires[0], std::make_pair(80.0f, 0.0f));
    EXPECT_EQ(fires[6], std::make_pair(224.0f, 0.0f));
    EXPECT_EQ(fires[7], std::make_pair(44.0f, 54.0f));
    EXPECT_EQ(fires[8], std::make_pair(260.0f, 54.0f));
    EXPECT_TRUE(GuardList->IsEmpty());
    auto first = plat::As<T_Fuego>(FireList->First());
    int ticks = 0, drawn = 0, changes = 0;
    int cell = first->frame;
    while (fw::Game->DestinationTScreen == nullptr && ticks < 2000) {
        Tick();
        for (const auto& call : RecordFrame()) drawn += call.image == EnemyImage.get() ? 1 : 0;
        if (first->frame != cell) ++changes;
        cell = first->frame;
        ++ticks;
    }
    EXPECT_EQ(ticks, 620);  // 3100 ms of 5 ms ticks
    EXPECT_EQ(Hero->estado, HERO_LEVEL_LEFT);
    EXPECT_EQ(drawn, 9 * 619);   // nine flames in every frame while it burns
    EXPECT_EQ(changes, 15);      // on its 42nd tick, then every 41 ticks
    EXPECT_TRUE(FireList->IsEmpty());
    EXPECT_EQ(complete_->starts, 1);
}

// The hero's cells: which picture, which cell and where, by state and
// direction, drawn once through the level screen's frame.
class HeroCellTest : public HeroTest {
protected:
    struct Drawn {
        const plat::TImage* image = nullptr;
        int frame = -1;
        float x = 0, y = 0;
        int count = 0;
    };
    Drawn DrawHero() {
        Drawn d;
        plat::StartRecording();
        plat::ClearRecordedCalls();
        Hero->m_draw_dax();
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::IMAGE) {
                d = {c.image, c.frame, c.x, c.y, d.count + 1};
            }
        plat::StopRecording();
        return d;
    }
};

TEST_F(HeroCellTest, EveryStateAndDirectionShowsItsCell) {
    Begin();
    Hero->x = 100;
    const float sy = Hero->y - static_cast<float>(ViewTop) + 26;
    const plat::TImage* hero = HeroImage.get();
    const plat::TImage* pose = GrenadeThrowImage.get();
    const struct { int estado, dir, last, index, throwing; const plat::TImage* image; int cell;
                   float dx, dy; int indexAfter; } cases[] = {
        // Walking: the cell tables by direction.
        {40, 2, 2, 1, 0, hero, 1, 0, 0, 1},     {40, 8, 2, 2, 0, hero, 5, 0, 0, 2},
        {40, 9, 2, 0, 0, hero, 6, 0, 0, 0},     {40, 7, 2, 1, 0, hero, 10, 0, 0, 1},
        {40, 3, 2, 2, 0, hero, 14, 0, 0, 2},    {40, 1, 2, 0, 0, hero, 15, 0, 0, 0},
        {40, 4, 2, 3, 0, hero, 21, 0, 0, 3},    {40, 6, 2, 3, 0, hero, 25, 0, 0, 3},
        // Index 3 left over from walking sideways shows cell 0 of the new table.
        {40, 2, 2, 3, 0, hero, 0, 0, 0, 0},     {41, 9, 2, 3, 0, hero, 6, 0, 0, 0},
        // Standing: by the last direction; the throwing pose instead.
        {40, 5, 7, 0, 0, hero, 10, 0, 0, 0},    {40, 5, 8, 0, 0, hero, 4, 0, 0, 0},
        {40, 5, 9, 0, 0, hero, 7, 0, 0, 0},     {40, 5, 4, 0, 0, hero, 20, 0, 0, 0},
        {40, 5, 6, 0, 0, hero, 24, 0, 0, 0},    {40, 5, 1, 0, 0, hero, 16, 0, 0, 0},
        {40, 5, 2, 0, 0, hero, 1, 0, 0, 0},     {40, 5, 3, 0, 0, hero, 13, 0, 0, 0},
        {40, 5, 2, 0, 1, pose, 2, 0, 0, 0},
        // Entering, shot, fallen (placed by the direction of the fall).
        {44, 8, 8, 5, 0, hero, 0, 0, 0, 5},     {4, 2, 2, 0, 0, hero, 0, 0, 0, 0},
        {4, 2, 2, 8, 0, hero, 26, 0, 0, 8},     {4, 2, 2, 9, 0, hero, 27, 0, 0, 9},
        {4, 2, 2, 24, 0, hero, 27, 0, 0, 24},   {43, 2, 2, 5, 0, hero, 28, 0, 0, 5},
        {43, 2, 2, 6, 0, hero, 29, 0, 0, 6},    {43, 8, 8, 6, 0, hero, 29, 0, 15, 6},
        {43, 7, 7, 6, 0, hero, 29, 0, 15, 6},   {43, 4, 4, 6, 0, hero, 29, -21, 8, 6},
        {43, 6, 6, 6, 0, hero, 29, 21, 8, 6},   {43, 1, 1, 0, 0, hero, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Hero->estado = c.estado;
        Direction = c.dir;
        LastDirection = c.last;
        Hero->Frame_ind = c.index;
        Hero->anim_tirar_granada = c.throwing;
        Hero->frame_gr = 2;
        const Drawn d = DrawHero();
        const std::string what = std::to_string(c.estado) + "/" + std::to_string(c.dir) + "/" +
                                 std::to_string(c.last) + "/" + std::to_string(c.index);
        EXPECT_EQ(d.count, 1) << what;
        EXPECT_EQ(d.image, c.image) << what;
        EXPECT_EQ(d.frame, c.cell) << what;
        EXPECT_FLOAT_EQ(d.x, 100 + c.dx) << what;
        EXPECT_FLOAT_EQ(d.y, sy + c.dy) << what;
        EXPECT_EQ(Hero->Frame_ind, c.indexAfter) << what;
    }
    // The fortress states and the level left draw nothing of him.
    for (int estado : {35, 36, 42}) {
        Hero->estado = estado;
        EXPECT_EQ(DrawHero().count, 0) << estado;
    }
}

TEST_F(HeroCellTest, TheWalkingCellStepsEveryTwentyFiveTicksMovingOrNot) {
    Begin();
    Hero->AnimDelay = 0;
    Hero->Frame_ind = 0;
    Paint(*map_, 0, 0, 320, 60 * 8, 1);  // walled in: he cannot move at all
    Steer(2);
    std::vector<int> steps;
    for (int t = 1; t <= 80; ++t) {
        const int before = Hero->Frame_ind;
        Tick();
        if (Hero->Frame_ind != before) steps.push_back(t);
    }
    EXPECT_EQ(steps, (std::vector<int>{2, 27, 52, 77}));
    EXPECT_EQ(Hero->Frame_ind, 1);  // 0, 1, 2, back to 0, then 1: three cells up
    // Sideways the index runs to 3.
    Steer(4);
    Hero->Frame_ind = 2;
    Hero->AnimDelay = -1;
    Tick();
    EXPECT_EQ(Hero->Frame_ind, 3);
    // And a death steps every 17 ticks.
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    Hero->AnimDelay = -1;
    Tick();
    EXPECT_EQ(Hero->Frame_ind, 1);
    for (int i = 0; i < 16; ++i) Tick();
    EXPECT_EQ(Hero->Frame_ind, 1);
    Tick();
    EXPECT_EQ(Hero->Frame_ind, 2);
}

// His animation counters run on the time of play: a step that takes N + 1
// whole ticks takes 2N + 1 half ticks, so a death lasts about as long at any
// display rate (not half as long when every tick is a half tick).
TEST_F(HeroTest, HisAnimationsKeepTheirPaceInPartialTicks) {
    Begin();
    Paint(*map_, 0, 0, 320, 60 * 8, 1);  // walled in: only the cell changes
    Hero->AnimDelay = 0;
    Hero->Frame_ind = 0;
    Steer(2);
    std::vector<int> steps;
    for (int t = 1; t <= 110; ++t) {
        const int before = Hero->Frame_ind;
        Tick(0.5f);
        if (Hero->Frame_ind != before) steps.push_back(t);
    }
    EXPECT_EQ(steps, (std::vector<int>{2, 51, 100}));

    // The throwing pose: steps of 8 ticks, 15 half ticks each.
    Steer(5);
    Tick(0.5f);
    Hero->AnimDelaygr = 0;
    Hero->anim_tirar_granada = 1;
    int calls = 0;
    while (Hero->anim_tirar_granada == 1 && calls < 200) {
        Tick(0.5f);
        ++calls;
    }
    EXPECT_EQ(calls, 2 + 15 + 15);

    // A death: 25 steps of 17 ticks, 33 half ticks each.
    Hero->AnimDelay = -1;
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    calls = 0;
    while (Hero->estado == HERO_SHOT && calls < 2000) {
        Tick(0.5f);
        ++calls;
    }
    EXPECT_EQ(calls, 1 + 24 * 33);
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
}

}  // namespace
}  // namespace playtest
