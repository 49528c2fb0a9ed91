// Bullets and grenades: fire control, ranges and bursts by direction, walls,
// the water pass, speeds by stage, the hero's grenade, enemy arcs and a run
// at a display rate above the logic rate.

#include <cmath>
#include <functional>

#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class ShotTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(80);
    }
    void Begin(int level = 1) {
        StartOnMap(map_, level);
        Frame();
    }
    // The fire button acted on at once in `dir`, the cool-down over.
    void FireNow(int dir) {
        Direction = dir;
        FireButtons = 1;
        FireCoolDown = -1;
        HandleFireButtons();
    }
    // The grenade button acted on at once in `dir`.
    void ThrowNow(int dir) {
        Direction = dir;
        FireButtons = 2;
        HandleFireButtons();
    }
    // Runs until the first bullet of the list is gone; returns the ticks and
    // records where it was last seen and whether it burst.
    int FlyOut(float& lastX, float& lastY, bool& burst) {
        auto b = FirstOf<T_Bala>();
        burst = false;
        int ticks = 0;
        while (b && ShotList->Contains(b) && ticks < 2000) {
            lastX = b->x;
            lastY = b->y;
            if (b->explota) burst = true;
            Tick();
            ++ticks;
        }
        return ticks;
    }
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(ShotTest, OneBulletPerPressAndPressesInsideTheCoolDownAreDropped) {
    Begin();
    Tick();  // FireCoolDown starts at 0: the first tick could not have fired
    Hold(FireKeys[1]);
    Tick();
    EXPECT_EQ(CountShots(), 1);
    for (int i = 0; i < 40; ++i) Tick();  // held: no auto-fire
    EXPECT_EQ(CountShots(), 1);
    Release(FireKeys[1]);
    ShotList->Clear();
    // Presses 10 ticks apart: every other one is inside the 75 ms cool-down.
    int made = 0;
    for (int p = 0; p < 6; ++p) {
        Press(FireKeys[1]);
        Tick();
        made += CountShots();
        ShotList->Clear();
        for (int i = 0; i < 9; ++i) Tick();
    }
    EXPECT_EQ(made, 3);
    // 15 ticks after a shot the next press fires.
    Press(FireKeys[1]);
    Tick();
    ASSERT_EQ(CountShots(), 1);
    ShotList->Clear();
    for (int i = 0; i < 14; ++i) Tick();
    Press(FireKeys[1]);
    Tick();
    EXPECT_EQ(CountShots(), 1);
}

TEST_F(ShotTest, HeroBulletRangesAndBurstsByDirection) {
    struct Case { int dir; float endX, endY; bool burst; };
    const Case cases[] = {
        {2, -1, -80, true},  {1, -1, -80, true}, {3, -1, -80, true},
        {4, -110, -1, true}, {6, 110, -1, true}, {8, -1, 0, false},
    };
    for (const auto& c : cases) {
        Begin();
        Hero->x = 150;
        FireNow(c.dir);
        FireButtons = 0;
        auto b = FirstOf<T_Bala>();
        ASSERT_TRUE(b) << c.dir;
        const float x0 = b->x, y0 = b->y;
        float x = 0, y = 0;
        bool burst = false;
        FlyOut(x, y, burst);
        EXPECT_EQ(burst, c.burst) << c.dir;
        if (c.endY != -1 && c.dir != 8) {
            EXPECT_LE(y, y0 + c.endY + 0.01f) << c.dir;
        }
        if (c.endX != -1) {
            EXPECT_NEAR(x, x0 + c.endX, 1.6f) << c.dir;
        }
        if (c.dir == 8) {
            EXPECT_GE(y, static_cast<float>(ViewTop + 155) - 1.6f);
        }
    }
}

TEST_F(ShotTest, AStandingHeroFiresWhereHeLastLooked) {
    Begin();
    LastDirection = 6;
    FireNow(5);
    ASSERT_TRUE(FirstOf<T_Bala>());
    EXPECT_EQ(FirstOf<T_Bala>()->dir, 6);
    EXPECT_FLOAT_EQ(FirstOf<T_Bala>()->x, Hero->x + 22);
}

TEST_F(ShotTest, WallsBurstBulletsButSwallowDownwardShots) {
    Begin();
    Paint(*map_, 0, static_cast<int>(Hero->y) - 40, 320, 8, 1);
    FireNow(2);
    float x, y;
    bool burst;
    FlyOut(x, y, burst);
    EXPECT_TRUE(burst);
    EXPECT_GT(y, Hero->y - 40);

    Begin();
    Paint(*map_, 0, static_cast<int>(Hero->y) + 60, 320, 8, 1);
    FireNow(8);
    const int ticks = FlyOut(x, y, burst);
    EXPECT_FALSE(burst);
    EXPECT_LT(ticks, 40);  // gone at the wall, long before its range
}

TEST_F(ShotTest, ABurstAtTheScreenEdgeVanishes) {
    Begin();
    Hero->x = 4;
    FireNow(4);
    float x, y;
    bool burst;
    FlyOut(x, y, burst);
    EXPECT_FALSE(burst);
}

TEST_F(ShotTest, NoBulletAboveTheTopOfTheMap) {
    Begin();
    ViewTop = 0;
    Hero->y = -3;
    FireNow(2);
    EXPECT_EQ(CountShots(), 0);
}

TEST_F(ShotTest, WaterCarriesBulletsAtTheTopOfAreasFiveAndSix) {
    for (int level : {5, 6, 4}) {
        Begin(level);
        ViewTop = 0;
        Hero->x = 150;
        Hero->y = 120;
        Hero->y_old = 120;
        Paint(*map_, 0, 0, 320, 100, 2);  // water over the whole upper field
        FireNow(2);
        float x, y;
        bool burst;
        FlyOut(x, y, burst);
        if (level == 4) {
            EXPECT_TRUE(burst);
            EXPECT_GT(y, 90.0f);
        } else {
            EXPECT_FALSE(burst) << level;  // on past its range until it leaves the view
            EXPECT_LT(y, 1.6f) << level;
        }
    }
}

TEST_F(ShotTest, EnemyProjectileSpeedsFollowTheStage) {
    Begin();
    const struct { int stage; float bullet, shell, hut; } cases[] = {
        {1, 0.25f, 0.4f, 0.35f}, {3, 0.25f, 0.4f, 0.35f}, {4, 0.3f, 0.5f, 0.35f},
        {5, 0.3f, 0.5f, 0.4f},   {8, 0.3f, 0.5f, 0.4f},   {9, 0.35f, 0.55f, 0.45f},
    };
    for (const auto& c : cases) {
        Stage = c.stage;
        ShotList->Clear();
        T_Bala::f_Create_Bala_Enemigo(8, 100, static_cast<float>(ViewTop + 20), BALA_ENEMY);
        T_Bala::f_Create_Bala_Bazookero(8, 100, static_cast<float>(ViewTop + 20));
        T_Bala::f_Create_Bala_Caseta(7, 100, static_cast<float>(ViewTop + 20));
        auto all = ShotList->ToArray();
        ASSERT_EQ(all.size(), 3u);
        EXPECT_FLOAT_EQ(plat::As<T_Bala>(all[0])->Speed(), c.bullet) << c.stage;
        EXPECT_FLOAT_EQ(plat::As<T_Bala>(all[1])->Speed(), c.shell) << c.stage;
        EXPECT_FLOAT_EQ(plat::As<T_Bala>(all[2])->Speed(), c.hut) << c.stage;
    }
}

TEST_F(ShotTest, ABulletThatIgnoresTheMapPassesWallsDownwards) {
    Begin();
    Paint(*map_, 0, ViewTop + 60, 320, 16, 1);
    T_Bala::f_Create_Bala_Enemigo(8, 100, static_cast<float>(ViewTop + 20), BALA_ENEMY_THROUGH);
    auto b = FirstOf<T_Bala>();
    const float y0 = b->y;
    for (int i = 0; i < 500 && b->explota == 0; ++i) Tick();
    EXPECT_EQ(b->explota, 1);
    EXPECT_NEAR(b->y, y0 + 110, 0.3f);
    // Fired upwards it bursts where it starts.
    ShotList->Clear();
    T_Bala::f_Create_Bala_Enemigo(2, 100, static_cast<float>(ViewTop + 100), BALA_ENEMY_THROUGH);
    b = FirstOf<T_Bala>();
    const float ys = b->y;
    Tick();
    EXPECT_EQ(b->explota, 1);
    EXPECT_FLOAT_EQ(b->y, ys);
}

TEST_F(ShotTest, TheHerosGrenadeClimbsEightyPixelsThenBursts) {
    Begin();
    Hold(UpKeys[1]);
    Tick();
    Press(GrenadeKeys[1]);
    Tick();
    EXPECT_EQ(Grenades, 4);
    EXPECT_EQ(GrenadeReady, 0);
    auto g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    const float y0 = g->yinigr;
    // A second press while it is in the air does nothing.
    Press(GrenadeKeys[1]);
    Tick();
    EXPECT_EQ(CountGrenades(), 1);
    EXPECT_EQ(Grenades, 4);
    int ticks = 2;
    while (g->explota == 0 && ticks < 500) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 101);  // created on the tick before: 100 ticks of climb
    EXPECT_LE(g->y, y0 - 80);
    int burst = 0;
    while (ShotList->Contains(g) && burst < 500) {
        Tick();
        ++burst;
    }
    EXPECT_EQ(burst, 5 + 15 * 3 + 1);
    EXPECT_EQ(GrenadeReady, 1);
}

TEST_F(ShotTest, StandingHeThrowsAfterHisPose) {
    Begin();
    Tick();
    auto& sounds = LogSounds();
    ThrowNow(5);
    EXPECT_EQ(sounds.played, std::vector<std::string>{"SND3"}) << "the throw is heard as it starts";
    FireButtons = 0;
    EXPECT_EQ(Hero->anim_tirar_granada, 1);
    EXPECT_EQ(CountGrenades(), 0);
    int ticks = 0;
    while (CountGrenades() == 0 && ticks < 100) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 1 + 8 + 8 + 1);  // three steps of the pose
    EXPECT_EQ(Hero->anim_tirar_granada, 0);
    EXPECT_EQ(Direction, 2);
}

TEST_F(ShotTest, NoGrenadesNoThrowAndInfiniteLivesKeepTheCount) {
    Begin();
    Grenades = 0;
    ThrowNow(2);
    EXPECT_EQ(CountGrenades(), 0);
    EXPECT_EQ(GrenadeReady, 1);

    InfiniteLives = 1;
    Grenades = 3;
    HandleFireButtons();
    EXPECT_EQ(CountGrenades(), 1);
    EXPECT_EQ(Grenades, 3);
    HandleFireButtons();
    EXPECT_EQ(CountGrenades(), 1);  // still one at a time
}

TEST_F(ShotTest, ADeathWithTheGrenadeInTheAirDoesNotTakeThrowingAway) {
    Begin();
    ThrowNow(2);
    FireButtons = 0;
    ASSERT_EQ(GrenadeReady, 0);
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    for (int i = 0; i < 600 && Hero->estado == HERO_SHOT; ++i) Tick();
    ASSERT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_EQ(GrenadeReady, 1);
    Frame();
    ThrowNow(2);
    EXPECT_EQ(CountGrenades(), 1);
}

TEST(ScreenZone, ColumnsRowsAndTheClampedEdges) {
    const struct { float x; int sy, zone; } cases[] = {
        {0, 0, 1},    {64, 80, 1},  {64.1f, 80, 2}, {128, 10, 2}, {300, 81, 10},
        {320, 0, 5},  {400, 100, 10}, {-100, 0, 1}, {-100, 120, 6}, {191, 90, 8},
    };
    for (const auto& c : cases) EXPECT_EQ(ScreenZoneOf(c.x, c.sy), c.zone) << c.x << "," << c.sy;
}

TEST_F(ShotTest, EnemyGrenadesAimThroughTheSpeedTable) {
    Begin();
    Hero->x = 150;  // zone 3 (upper) or 8 (lower)
    Hero->y = static_cast<float>(ViewTop + 124);
    // A thrower in the hero's own zone throws nothing.
    T_Granada::f_create_granada_enemigo(140, static_cast<float>(ViewTop + 100));
    EXPECT_EQ(CountGrenades(), 0);
    // One column away in the same half: 4 or 5 pixels a step.
    T_Granada::f_create_granada_enemigo(100, static_cast<float>(ViewTop + 100));
    auto g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->zona_origen, 7);
    EXPECT_EQ(g->zona_final, 8);
    EXPECT_EQ(g->vx, 4);
    EXPECT_EQ(g->vy, -8);
    EXPECT_FLOAT_EQ(g->yfinalgr, static_cast<float>(ViewTop + 120));
    // Thrown from the lower half at a hero in the upper half: -12.
    ShotList->Clear();
    Hero->y = static_cast<float>(ViewTop + 30);
    T_Granada::f_create_granada_enemigo(300, static_cast<float>(ViewTop + 130));
    g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->vy, -12);
    EXPECT_EQ(g->vx, GrenadeSpeedTable[10][3]);
    // A thrower beside the screen still reads the table inside its bounds.
    ShotList->Clear();
    T_Granada::f_create_granada_canyon(500, static_cast<float>(ViewTop + 30));
    g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    EXPECT_EQ(g->zona_origen, 5);
    EXPECT_EQ(g->vy, -8);  // only enemy grenades start steeper
}

TEST_F(ShotTest, ArcsStepEveryNinthTickAndBurstByTheirTarget) {
    Begin();
    // Aimed at the lower half from row 128: it bursts after its first step.
    Hero->x = 150;
    Hero->y = static_cast<float>(ViewTop + 124);
    T_Granada::f_create_granada_enemigo(20, static_cast<float>(ViewTop + 128));
    auto g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    for (int i = 0; i < 8; ++i) Tick();
    EXPECT_FLOAT_EQ(g->x, 20);
    Tick();
    EXPECT_FLOAT_EQ(g->x, 20.0f + static_cast<float>(GrenadeSpeedTable[6][8]));
    EXPECT_FLOAT_EQ(g->y, static_cast<float>(ViewTop + 120));
    EXPECT_EQ(g->explota, 1);

    // Aimed at the upper half: it bursts only while falling, at row 40 or below.
    ShotList->Clear();
    Hero->y = static_cast<float>(ViewTop + 20);
    T_Granada::f_create_granada_enemigo(20, static_cast<float>(ViewTop + 60));
    g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    std::vector<int> vys;
    while (g->explota == 0 && vys.size() < 60) {
        const int before = g->vy;
        Tick();
        if (g->vy != before) vys.push_back(g->vy);
    }
    EXPECT_EQ(g->explota, 1);
    EXPECT_GE(g->y, static_cast<float>(ViewTop + 40));
    EXPECT_GT(g->vy, 0);
    EXPECT_EQ(vys.front(), -7);
}

TEST_F(ShotTest, AtTwoHundredFortyFramesASecondHeStillFiresAndThrows) {
    // Every tick of a 240 Hz display is a partial tick of 200/240.
    const float delta = 200.0f / 240.0f;
    Begin();
    Hold(UpKeys[1]);
    Tick(delta);  // the cool-down leaves 0 on the first tick
    // The hero's own bullets (the soldiers of the area fire too).
    auto heroShots = [] {
        int n = 0;
        for (const auto& o : *ShotList)
            if (auto b = plat::As<T_Bala>(o); b && b->owned == BALA_HERO) ++n;
        return n;
    };
    int shots = 0;
    for (int i = 0; i < 240; ++i) {
        if (i % 30 == 0) Press(FireKeys[1]);
        const int before = heroShots();
        Tick(delta);
        Frame();
        if (heroShots() > before) ++shots;
    }
    EXPECT_EQ(shots, 8);  // one per press, 30 ticks apart
    Press(GrenadeKeys[1]);
    Tick(delta);
    auto g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    const float y0 = g->yinigr;
    int ticks = 0;
    while (ShotList->Contains(g) && ticks < 1000) {
        Tick(delta);
        ++ticks;
    }
    EXPECT_LT(ticks, 1000);
    EXPECT_NEAR(y0 - 80, g->y, 1.0f);
    EXPECT_EQ(GrenadeReady, 1);
    // Enemy arcs keep their step size at this rate.
    T_Granada::f_create_granada_enemigo(20, static_cast<float>(ViewTop + 60));
    g = FirstOf<T_Granada>();
    ASSERT_TRUE(g);
    for (int i = 0; i < 40 && g->x == 20; ++i) Tick(delta);
    EXPECT_FLOAT_EQ(g->x, 20.0f + static_cast<float>(g->zona_origen == g->zona_final ? 0 : GrenadeSpeedTable[static_cast<std::size_t>(g->zona_origen)][static_cast<std::size_t>(g->zona_final)]));
}

// A burst counts time, not updates: with the half ticks of a fast display
// a bullet's, a shell's and the hero's grenade's burst last as long as with
// whole ticks, and so does the window in which they kill.
TEST_F(ShotTest, BurstsLastAsLongAtHalfTicks) {
    Begin();
    const float row = static_cast<float>(ViewTop) + 100;
    auto bullet = [&] {
        T_Bala::f_Create_Bala_Enemigo(DIR_UP, 100, row, BALA_ENEMY);
        auto b = FirstOf<T_Bala>();
        b->yfinalbala = b->y;  // at the end of its range
        return plat::Ref<plat::Object>(b);
    };
    auto shell = [&] {
        T_Bala::f_Create_Bala_Bazookero(DIR_DOWN, 100, row);
        auto b = FirstOf<T_Bala>();
        b->yfinalbala = b->y;
        return plat::Ref<plat::Object>(b);
    };
    auto grenade = [&] { return plat::Ref<plat::Object>(PutGrenade(100, row)); };
    struct Case {
        const char* what;
        std::function<plat::Ref<plat::Object>()> make;
        int wholeTicks, halfTicks;  // updates until it is gone
    };
    const Case cases[] = {
        {"bullet", bullet, 21, 37},    // cells of 5 ticks (the first of 4.5 at half ticks)
        {"shell", shell, 51, 97},      // 15 ticks a cell
        {"grenade", grenade, 51, 97},
    };
    for (const Case& c : cases) {
        for (const float delta : {1.0f, 0.5f}) {
            ShotList->Clear();
            GrenadeReady = 0;
            const auto shot = c.make();
            fw::Delta = delta;
            int updates = 0;
            while (ShotList->Contains(shot) && updates < 1000) {
                if (auto b = plat::As<T_Bala>(shot)) b->m_Update_Bala();
                if (auto g = plat::As<T_Granada>(shot)) g->m_update_granada();
                ++updates;
            }
            EXPECT_EQ(updates, delta == 1.0f ? c.wholeTicks : c.halfTicks) << c.what << " at " << delta;
        }
    }
    EXPECT_EQ(GrenadeReady, 1);
}

// Where each kind of projectile starts and where its flight ends, by
// direction, for a shooter standing at (100, 100 rows into the view).
TEST_F(ShotTest, StartsAndEndsOfEveryKind) {
    Begin();
    const float vt = static_cast<float>(ViewTop);
    const float sx = 100, sy = vt + 100;
    Hero->x = sx;
    Hero->y = sy;
    enum { HERO, ENEMY, THROUGH, SHELL, HUT };
    const struct { int who, dir; float x, y, xEnd, yEnd; } cases[] = {
        {HERO, 1, 102, sy + 8, 0, sy + 8 - 80},     {HERO, 2, 116, sy + 2, 0, sy + 2 - 80},
        {HERO, 3, 120, sy + 7, 0, sy + 7 - 80},     {HERO, 4, 98, sy + 9, 0, 0},
        {HERO, 6, 122, sy + 9, 232, 0},             {HERO, 7, 102, sy + 22, 0, vt + 155},
        {HERO, 8, 106, sy + 22, 0, vt + 155},       {HERO, 9, 122, sy + 22, 0, vt + 155},
        {ENEMY, 1, 102, sy + 8, 0, sy + 8 - 80},    {ENEMY, 2, 116, sy - 2, 0, sy - 2 - 80},
        {ENEMY, 3, 120, sy + 7, 0, sy + 7 - 80},    {ENEMY, 4, 98, sy + 9, 0, 0},
        {ENEMY, 6, 122, sy + 9, 222, 0},            {ENEMY, 7, 102, sy + 22, 0, sy + 22 + 80},
        {ENEMY, 8, 106, sy + 22, 0, sy + 22 + 80},  {ENEMY, 9, 122, sy + 22, 0, sy + 22 + 80},
        {THROUGH, 2, 116, sy - 2, 0, sy - 2 + 110}, {THROUGH, 6, 122, sy + 9, 222, sy + 9 + 110},
        {THROUGH, 8, 106, sy + 22, 0, sy + 22 + 110},
        {SHELL, 7, 96, sy + 8, 0, sy + 8 + 120},    {SHELL, 2, 96, sy + 8, 0, sy + 8 + 120},
        {HUT, 7, 90, sy + 42, 0, sy + 42 + 90},     {HUT, 9, 138, sy + 40, 0, sy + 40 + 90},
    };
    for (const auto& c : cases) {
        ShotList->Clear();
        switch (c.who) {
        case HERO:
            Direction = c.dir;
            T_Bala::f_Create_Bala_Dax();
            break;
        case ENEMY: T_Bala::f_Create_Bala_Enemigo(c.dir, sx, sy, BALA_ENEMY); break;
        case THROUGH: T_Bala::f_Create_Bala_Enemigo(c.dir, sx, sy, BALA_ENEMY_THROUGH); break;
        case SHELL: T_Bala::f_Create_Bala_Bazookero(c.dir, sx, sy); break;
        case HUT: T_Bala::f_Create_Bala_Caseta(c.dir, sx, sy); break;
        }
        auto b = FirstOf<T_Bala>();
        const std::string what = std::to_string(c.who) + "/" + std::to_string(c.dir);
        ASSERT_TRUE(b) << what;
        EXPECT_EQ(b->owned, c.who == HERO ? 1 : c.who == ENEMY ? 2 : c.who == THROUGH ? 5 : c.who == SHELL ? 3 : 4)
            << what;
        EXPECT_EQ(b->dir, c.dir) << what;
        EXPECT_FLOAT_EQ(b->x, c.x) << what;
        EXPECT_FLOAT_EQ(b->y, c.y) << what;
        EXPECT_FLOAT_EQ(b->xfinalbala, c.xEnd) << what;
        EXPECT_FLOAT_EQ(b->yfinalbala, c.yEnd) << what;
    }
    // Sideways ranges stop at the screen's edges.
    ShotList->Clear();
    Hero->x = 250;
    Direction = 6;
    T_Bala::f_Create_Bala_Dax();
    EXPECT_FLOAT_EQ(FirstOf<T_Bala>()->xfinalbala, 320);
}

// Shells and hut shots: how they fly, how long they burst, and the cells
// every projectile shows while flying and bursting.
TEST_F(ShotTest, ShellsAndHutShotsFlyBurstAndShowTheirCells) {
    Begin();
    Stage = 1;
    const float vt = static_cast<float>(ViewTop);
    auto cellOf = [&](const plat::Ref<plat::Object>& shot, const plat::TImage*& image, float& x, float& y) {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        if (auto b = plat::As<T_Bala>(shot)) b->m_Draw_Bala();
        if (auto g = plat::As<T_Granada>(shot)) g->m_draw_granada();
        int frame = -1;
        image = nullptr;
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == plat::DrawRecord::IMAGE) {
                frame = c.frame;
                image = c.image;
                x = c.x;
                y = c.y;
            }
        plat::StopRecording();
        return frame;
    };
    const plat::TImage* image = nullptr;
    float x = 0, y = 0;

    // A hut shot down-left moves twice as fast sideways; straight down it
    // stands still.
    T_Bala::f_Create_Bala_Caseta(7, 200, vt + 20);
    auto hut = FirstOf<T_Bala>();
    Tick();
    EXPECT_FLOAT_EQ(hut->x, 190 - 0.7f);
    EXPECT_FLOAT_EQ(hut->y, vt + 62 + 0.35f);
    EXPECT_EQ(cellOf(hut, image, x, y), 8);
    EXPECT_EQ(image, GrenadeImage.get());
    hut->dir = 8;
    const float hx = hut->x, hy = hut->y;
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_FLOAT_EQ(hut->x, hx);
    EXPECT_FLOAT_EQ(hut->y, hy);
    EXPECT_EQ(hut->explota, 0);

    // A shell flies down to the end of its range, then bursts in 4 cells:
    // 5 ticks for the first, 15 for each of the others.
    ShotList->Clear();
    T_Bala::f_Create_Bala_Bazookero(8, 100, vt + 10);
    auto shell = FirstOf<T_Bala>();
    EXPECT_EQ(cellOf(shell, image, x, y), 62);
    EXPECT_EQ(image, EnemyImage.get());
    EXPECT_FLOAT_EQ(y, shell->y - vt + 26);
    shell->dir = 7;
    EXPECT_EQ(cellOf(shell, image, x, y), 63);
    shell->dir = 9;
    EXPECT_EQ(cellOf(shell, image, x, y), 64);
    shell->dir = 8;
    int ticks = 0;
    while (shell->explota == 0 && ticks < 1000) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 301);  // 120 rows at 0.4 a tick
    std::vector<int> cells;
    int burst = 1;
    cells.push_back(cellOf(shell, image, x, y));
    EXPECT_EQ(image, GrenadeImage.get());
    while (ShotList->Contains(shell) && burst < 500) {
        Tick();
        ++burst;
        const int cell = cellOf(shell, image, x, y);
        if (ShotList->Contains(shell) && cell != cells.back()) cells.push_back(cell);
    }
    EXPECT_EQ(burst, 5 + 15 * 3 + 1);
    EXPECT_EQ(cells, (std::vector<int>{5, 4, 3, 5}));

    // An enemy bullet's burst is drawn 11 left and 10 up of it.
    ShotList->Clear();
    T_Bala::f_Create_Bala_Enemigo(2, 100, vt + 100, BALA_ENEMY);
    auto bullet = FirstOf<T_Bala>();
    bullet->explota = 1;
    bullet->frame_exp = 2;
    EXPECT_EQ(cellOf(bullet, image, x, y), 2);
    EXPECT_EQ(image, ShotBurstImage.get());
    EXPECT_FLOAT_EQ(x, bullet->x - 11);
    EXPECT_FLOAT_EQ(y, bullet->y - 10 - vt + 26);

    // Grenades: the hero's climbs through cells 0..2, an enemy grenade's
    // and a cannon shell's by the height of the arc, the shell 26 rows up.
    ShotList->Clear();
    Hero->x = 150;
    Hero->y = vt + 124;
    T_Granada::f_create_granada_Dax();
    auto mine = FirstOf<T_Granada>();
    mine->frame_ind = 2;
    EXPECT_EQ(cellOf(mine, image, x, y), 2);
    mine->explota = 1;
    mine->frame_exp = 1;
    EXPECT_EQ(cellOf(mine, image, x, y), 4);
    T_Granada::f_create_granada_enemigo(20, vt + 60);
    T_Granada::f_create_granada_canyon(20, vt + 60);
    auto all = ShotList->ToArray();
    ASSERT_EQ(all.size(), 3u);
    auto enemy = plat::As<T_Granada>(all[1]);
    auto cannon = plat::As<T_Granada>(all[2]);
    for (int tira : {0, 1, 2}) {
        enemy->frame_tira = cannon->frame_tira = tira;
        EXPECT_EQ(cellOf(enemy, image, x, y), 2 - tira);
        EXPECT_FLOAT_EQ(y, enemy->y - vt + 26);
        EXPECT_EQ(cellOf(cannon, image, x, y), 8 - tira);
        EXPECT_FLOAT_EQ(y, cannon->y - vt);
    }
    enemy->explota = cannon->explota = 1;
    for (int e : {0, 1, 2, 3}) {
        enemy->frame_exp = cannon->frame_exp = e;
        EXPECT_EQ(cellOf(enemy, image, x, y), (std::vector<int>{11, 10, 9, 11})[static_cast<std::size_t>(e)]);
        EXPECT_EQ(cellOf(cannon, image, x, y), (std::vector<int>{11, 10, 9, 11})[static_cast<std::size_t>(e)]);
    }
}

// A death in the middle of the throwing pose: the shots are cleared and
// throwing is allowed again, so the interrupted throw must not go on after
// the restart and put a second grenade of his in the air.
TEST_F(ShotTest, ADeathDuringTheThrowingPoseDropsTheThrow) {
    Begin();
    ThrowNow(5);
    FireButtons = 0;
    ASSERT_EQ(Hero->anim_tirar_granada, 1);
    ASSERT_EQ(Grenades, 4);
    Hero->AnimDelay = -1;
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    for (int i = 0; i < 600 && Hero->estado == HERO_SHOT; ++i) Tick();
    ASSERT_EQ(Hero->estado, HERO_ENTERING);
    Frame();
    EXPECT_EQ(Hero->anim_tirar_granada, 0);
    for (int i = 0; i < 40; ++i) Tick();
    EXPECT_EQ(CountGrenades(), 0);
    EXPECT_EQ(GrenadeReady, 1);
    // A new throw is the one grenade in the air.
    Hold(UpKeys[1]);
    Press(GrenadeKeys[1]);
    Tick();
    for (int i = 0; i < 40; ++i) Tick();
    EXPECT_EQ(CountGrenades(), 1);
    EXPECT_EQ(GrenadeReady, 0);
    EXPECT_EQ(Grenades, 3);
}

// The buttons are read only while he plays: the last value read stays and
// keeps acting in the other states, except while he dies.
TEST_F(ShotTest, TheLastButtonReadKeepsActingOutsidePlay) {
    Begin();
    Tick();
    Press(FireKeys[1]);
    Tick();
    ASSERT_EQ(FireButtons, 1);
    ASSERT_EQ(CountShots(), 1);
    ShotList->Clear();
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    Hero->AnimDelay = 100;
    for (int i = 0; i < 40; ++i) Tick();
    EXPECT_EQ(CountShots(), 0);  // the dying states refuse
    Hero->estado = HERO_LEAVING;
    ViewTop = 0;
    GateWaveCounter = -16;
    Hero->x = 152;
    Hero->y = 50;
    for (int i = 0; i < 30; ++i) Tick();
    EXPECT_EQ(CountShots(), 2);  // on the exit walk: every 15 ticks
    EXPECT_EQ(FireButtons, 1);
}

}  // namespace
}  // namespace playtest
