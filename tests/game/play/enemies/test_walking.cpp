// The walking soldiers on the test map: the runner's and the grenadier's
// legs, probes, new directions and fire, the verde soldier's diagonals, the
// gate soldier, the jumpers and the runner of area 6.

#include <algorithm>
#include <functional>
#include <set>

#include "tests/game/play/enemies/enemy_fixture.h"

namespace playtest {
namespace {

using namespace game;

// Per direction 1..9: the probe point and lists A and B of the runner.
struct Way {
    int px, py;
    std::vector<int> listA, listB;
};
const Way kRunner[10] = {
    {},
    {2, 15, {1, 2, 3, 4, 7}, {9, 8, 6}},
    {12, 15, {1, 2, 3, 4, 6}, {7, 8, 9}},
    {22, 15, {1, 2, 3, 6, 9}, {4, 7, 8}},
    {2, 16, {1, 2, 4, 7, 8}, {3, 6, 9}},
    {},
    {22, 16, {2, 3, 6, 8, 9}, {1, 4, 7}},
    {2, 21, {1, 4, 7, 8, 9}, {2, 3, 6}},
    {12, 21, {4, 6, 7, 8, 9}, {1, 2, 3}},
    {22, 21, {3, 6, 7, 8, 9}, {4, 1, 2}},
};
const int kDx[10] = {0, -1, 0, 1, -1, 0, 1, -1, 0, 1};
const int kDy[10] = {0, -1, -1, -1, 0, 0, 0, 1, 1, 1};

class WalkingTest : public EnemyTest {
protected:
    // A walker at (150, 60) of the view, at a speed whose sums are exact.
    plat::Ref<T_Enemigo> Walker(int estado, int dir) {
        auto e = Put(estado, 150, 60);
        e->dir = e->facing = dir;
        e->speed = 0.25f;
        e->baladelay_enemigos = 100000;  // holds its fire
        return e;
    }
    // A solid block under the pixel (x, y) of the map.
    void Wall(float x, float y) { Paint(*map_, static_cast<int>(x), static_cast<int>(y), 1, 1, 1); }
    void Open() { Paint(*map_, 0, 0, 320, 800, 0); }
};

TEST_F(WalkingTest, ARunnerWalksFortyPixelsThenTakesListAAndANewBurst) {
    Begin();
    for (int d : {1, 2, 3, 4, 6, 7, 8, 9}) {
        EnemyList->Clear();
        auto e = Walker(ENEMY_RUNNER, d);
        e->num_balas = 2;  // replaced at the leg's end even with shots left
        const float x0 = e->x, y0 = e->y;
        const unsigned seed = 40u + static_cast<unsigned>(d);
        plat::SeedRnd(seed);
        const int pick = plat::RandomInt(1, 5);
        const int burst = RollEnemyShot();
        plat::SeedRnd(seed);
        Update(160);
        EXPECT_FLOAT_EQ(e->corre_pix, 40) << d;
        EXPECT_EQ(e->dir, d);
        Update();
        EXPECT_EQ(e->dir, kRunner[d].listA[static_cast<std::size_t>(pick - 1)]) << d;
        EXPECT_FLOAT_EQ(e->corre_pix, 0);
        EXPECT_EQ(e->num_balas, burst) << d;
        EXPECT_EQ(e->facing, AimDirectionFromZones(static_cast<int>(e->x), static_cast<int>(e->y) - ViewTop));
        // Going down he zig-zags on the exact multiples of 3: six steps right
        // below 20, seven left between 20 and 40.
        const float zig = d == DIR_DOWN ? -0.25f : 0.0f;
        EXPECT_FLOAT_EQ(e->x, x0 + 40.0f * static_cast<float>(kDx[d]) + zig) << d;
        EXPECT_FLOAT_EQ(e->y, y0 + 40.0f * static_cast<float>(kDy[d])) << d;
    }
}

TEST_F(WalkingTest, ABlockedRunnerTakesListBBeforeTheLegEndsAndListAAfter) {
    Begin();
    for (int d : {1, 2, 3, 4, 6, 7, 8, 9}) {
        for (const bool legOver : {false, true}) {
            EnemyList->Clear();
            Open();
            auto e = Walker(ENEMY_RUNNER, d);
            e->corre_pix = legOver ? 41 : 10;
            e->num_balas = 2;
            Wall(e->x + static_cast<float>(kRunner[d].px), e->y + static_cast<float>(kRunner[d].py));
            plat::SeedRnd(7);
            const int pick = plat::RandomInt(1, legOver ? 5 : 3);
            const int burst = legOver ? RollEnemyShot() : 2;
            plat::SeedRnd(7);
            const float x0 = e->x, y0 = e->y;
            Update();
            const auto& list = legOver ? kRunner[d].listA : kRunner[d].listB;
            EXPECT_EQ(e->dir, list[static_cast<std::size_t>(pick - 1)]) << d << " " << legOver;
            EXPECT_EQ(e->num_balas, burst) << d << " " << legOver;
            EXPECT_FLOAT_EQ(e->corre_pix, 0);
            EXPECT_FLOAT_EQ(e->x, x0);
            EXPECT_FLOAT_EQ(e->y, y0);
        }
    }
    Open();
}

TEST_F(WalkingTest, ARunnerFiresHisBurstAtOnceThenAfterEachDelay) {
    Begin();
    const struct { int stage; int every; } cases[] = {{1, 201}, {4, 201}, {5, 151}, {8, 151}, {9, 121}};
    for (const auto& c : cases) {
        Stage = c.stage;
        EnemyList->Clear();
        ShotList->Clear();
        auto e = Walker(ENEMY_RUNNER, 0);  // standing
        e->facing = DIR_DOWN;
        e->baladelay_enemigos = -1;
        e->num_balas = 3;
        std::vector<int> shots;
        for (int i = 0; i < 800; ++i) {
            const int before = CountShots();
            Update();
            if (CountShots() > before) shots.push_back(i);
        }
        EXPECT_EQ(shots, (std::vector<int>{0, c.every, 2 * c.every})) << c.stage;
        EXPECT_EQ(e->num_balas, 0);
        const auto bullet = FirstOf<T_Bala>();
        EXPECT_EQ(bullet->owned, BALA_ENEMY);
        EXPECT_EQ(bullet->dir, DIR_DOWN);
        EXPECT_FLOAT_EQ(bullet->x, e->x + 6);
    }
}

TEST_F(WalkingTest, PartialTicksScaleStepsAndDelaysButNotTheZigZag) {
    Begin();
    auto e = Walker(ENEMY_RUNNER, DIR_RIGHT);
    e->facing = DIR_DOWN;
    e->num_balas = 2;
    e->baladelay_enemigos = -1;
    fw::Delta = 0.5f;
    for (int i = 0; i < 10; ++i) UpdateEnemies();
    fw::Delta = 1.0f;
    EXPECT_FLOAT_EQ(e->x, 150 + 10 * 0.125f);
    EXPECT_FLOAT_EQ(e->corre_pix, 1.25f);
    EXPECT_FLOAT_EQ(e->baladelay_enemigos, 200 - 10 * 0.5f);  // the shot of the first update
    EXPECT_EQ(CountShots(), 1);

    // Down, the zig-zag step is the whole speed whatever the tick.
    EnemyList->Clear();
    auto d = Walker(ENEMY_RUNNER, DIR_DOWN);
    d->corre_pix = 2.75f;
    fw::Delta = 0.5f;
    UpdateEnemies();
    UpdateEnemies();  // 3.0: a multiple of 3
    fw::Delta = 1.0f;
    EXPECT_FLOAT_EQ(d->corre_pix, 3.0f);
    EXPECT_FLOAT_EQ(d->x, 150.25f);
}

TEST_F(WalkingTest, NoShotLeavesWithoutADirectionToFlyIn) {
    Begin();
    for (const int facing : {0, static_cast<int>(DIR_NONE)}) {
        EnemyList->Clear();
        auto e = Walker(ENEMY_RUNNER, 0);
        e->facing = facing;
        e->num_balas = 2;
        e->baladelay_enemigos = -1;
        Update(5);
        EXPECT_EQ(CountShots(), 0) << facing;
        EXPECT_EQ(e->num_balas, 2) << facing;
    }
}

TEST_F(WalkingTest, AGrenadierProbesAtItsLeftEdgeAndWalksLongerLegs) {
    Begin();
    // The probe points per direction (left edge also when moving right).
    const int px[10] = {0, 2, 12, 2, 2, 0, 2, 2, 12, 2};
    const int py[10] = {0, 15, 15, 15, 16, 0, 16, 21, 21, 21};
    const std::vector<int> listB[10] = {{}, {9, 7, 6}, {7, 8, 9}, {4, 7, 8}, {3, 6, 9}, {},
                                        {1, 4, 7}, {2, 3, 6}, {1, 2, 3}, {4, 1, 2}};
    // Blocked early he takes list B (up-left: 9, 7, 6, not the runner's
    // 9, 8, 6); the seeds draw every entry of every list.
    for (int d : {1, 2, 3, 4, 6, 7, 8, 9}) {
        std::set<int> drawn;
        for (unsigned seed = 1; seed <= 12; ++seed) {
            EnemyList->Clear();
            Open();
            auto e = Walker(ENEMY_GRENADIER, d);
            e->corre_pix = 10;
            Wall(e->x + static_cast<float>(px[d]), e->y + static_cast<float>(py[d]));
            plat::SeedRnd(seed);
            const int pick = plat::RandomInt(1, 3);
            plat::SeedRnd(seed);
            Update();
            EXPECT_EQ(e->dir, listB[d][static_cast<std::size_t>(pick - 1)]) << d << " draw " << pick;
            EXPECT_EQ(e->num_granadas, 0) << d;
            drawn.insert(pick);
        }
        EXPECT_EQ(drawn.size(), 3u) << d;
    }

    // Walking right into a wall, he notices it when his left edge reaches it.
    EnemyList->Clear();
    Open();
    Paint(*map_, 96, 0, 8, 800, 1);
    auto e = Walker(ENEMY_GRENADIER, DIR_RIGHT);
    e->x = 60;
    int steps = 0;
    while (e->dir == DIR_RIGHT && steps < 500) {
        Update();
        ++steps;
    }
    EXPECT_GE(e->x, 94.0f);
    EXPECT_LT(e->x, 94.5f);
    Open();

    // A leg is 44 pixels; blocked after 40 he has finished it only in
    // directions 3, 6 and 8 (a new way and a series rolled), not in the
    // others (list B, no series).
    const int upRight[9] = {0, 1, 2, 3, 6, 9, 2, 3, 6};
    for (int d : {1, 2, 3, 4, 6, 7, 8, 9}) {
        EnemyList->Clear();
        Open();
        auto g = Walker(ENEMY_GRENADIER, d);
        g->corre_pix = 41;
        Wall(g->x + static_cast<float>(px[d]), g->y + static_cast<float>(py[d]));
        const bool finished = d == 3 || d == 6 || d == 8;
        plat::SeedRnd(11);
        int want = 0, series = 0;
        if (!finished) {
            want = listB[d][static_cast<std::size_t>(plat::RandomInt(1, 3) - 1)];
        } else {
            want = d == 3 ? upRight[plat::RandomInt(1, 8)] : kRunner[d].listA[static_cast<std::size_t>(plat::RandomInt(1, 5) - 1)];
            series = RollEnemyGrenade();
        }
        plat::SeedRnd(11);
        Update();
        EXPECT_EQ(g->dir, want) << d;
        EXPECT_EQ(g->num_granadas, series) << d;
        EXPECT_FLOAT_EQ(g->corre_pix, 0);
    }
    Open();
}

TEST_F(WalkingTest, AGrenadierAfterAnUpwardLegPicksFromEightDraws) {
    Begin();
    // Per direction 1, 2, 3: the new direction for a draw of 1..8.
    const int picks[4][9] = {
        {},
        {0, 1, 2, 3, 4, 2, 1, 7, 4},
        {0, 1, 2, 3, 4, 6, 1, 2, 3},
        {0, 1, 2, 3, 6, 9, 2, 3, 6},
    };
    std::set<int> seen;
    for (int d : {1, 2, 3}) {
        for (unsigned seed = 1; seed < 40; ++seed) {
            EnemyList->Clear();
            auto e = Walker(ENEMY_GRENADIER, d);
            e->corre_pix = 44;
            plat::SeedRnd(seed);
            const int draw = plat::RandomInt(1, 8);
            const int series = RollEnemyGrenade();
            plat::SeedRnd(seed);
            Update();
            EXPECT_EQ(e->dir, picks[d][draw]) << d << " draw " << draw;
            EXPECT_EQ(e->num_granadas, series);
            seen.insert(d * 10 + draw);
        }
    }
    EXPECT_GT(seen.size(), 18u);  // the seeds reach most draws
    // Other directions pick from the runner's list A.
    EnemyList->Clear();
    auto e = Walker(ENEMY_GRENADIER, DIR_DOWN_LEFT);
    e->corre_pix = 44;
    plat::SeedRnd(8);
    const int draw = plat::RandomInt(1, 5);
    plat::SeedRnd(8);
    Update();
    EXPECT_EQ(e->dir, kRunner[7].listA[static_cast<std::size_t>(draw - 1)]);
}

TEST_F(WalkingTest, AGrenadierThrowsHisSeriesStandingThenWalksOffLeft) {
    Begin();
    HeroAt(250, 124);  // another zone than his
    auto e = Walker(ENEMY_GRENADIER, DIR_NONE);
    e->num_granadas = 2;
    std::vector<int> throws;
    std::vector<int> pose;  // the throwing table's index, by update
    for (int i = 0; i < 200; ++i) {
        const int before = CountGrenades();
        Update();
        pose.push_back(e->Frame_indgr);
        if (CountGrenades() > before) throws.push_back(i);
    }
    // The arm is raised (cell 57) for the 21 updates before each grenade,
    // lowered (cell 56) while he waits for the next.
    EXPECT_EQ(throws, (std::vector<int>{22, 149}));
    EXPECT_EQ(pose[0], 0);
    EXPECT_EQ(pose[1], 1);
    EXPECT_EQ(pose[21], 1);
    EXPECT_EQ(pose[22], 0);
    EXPECT_EQ(pose[127], 0);
    EXPECT_EQ(pose[128], 1);
    const auto grenade = FirstOf<T_Granada>();
    EXPECT_EQ(grenade->owned, GRANADA_ENEMY);
    EXPECT_FLOAT_EQ(grenade->x, 150);
    // The series over, he walks off to the left.
    EXPECT_EQ(e->num_granadas, 0);
    EXPECT_EQ(e->dir, DIR_LEFT);
    EXPECT_LT(e->x, 150.0f);

    // The pause between throws by stage: 85, 75 and 60 updates.
    const struct { int stage, gap; } gaps[] = {{2, 127}, {3, 117}, {5, 102}, {0, 102}};
    for (const auto& c : gaps) {
        Stage = c.stage;
        EnemyList->Clear();
        ShotList->Clear();
        auto g = Walker(ENEMY_GRENADIER, DIR_NONE);
        g->num_granadas = 2;
        std::vector<int> at;
        for (int i = 0; i < 200; ++i) {
            const int before = CountGrenades();
            Update();
            if (CountGrenades() > before) at.push_back(i);
        }
        ASSERT_EQ(at.size(), 2u) << c.stage;
        EXPECT_EQ(at[1] - at[0], c.gap) << c.stage;
    }
}

TEST_F(WalkingTest, TheVerdeSoldierWalksDiagonalsAndNeverShoots) {
    Begin();
    const struct { int dir; float dx, dy, leg; std::vector<int> picks; int blocked; } ways[] = {
        {1, -1, -2, 40, {1, 3, 7}, 9}, {3, 1, -1, 40, {1, 3, 9}, 7}, {7, -1, 1, 40, {1, 7, 9}, 3},
        {8, 0, 1, 60, {9, 7}, 1},      {9, 1, 1, 40, {3, 7, 9}, 1},
    };
    for (const auto& w : ways) {
        EnemyList->Clear();
        Open();
        auto e = Walker(ENEMY_VERDE, w.dir);
        e->num_balas = 5;
        e->baladelay_enemigos = -1;
        e->y = static_cast<float>(ViewTop) + 100;
        const float x0 = e->x, y0 = e->y;
        const int n = static_cast<int>(w.leg * 4);
        Update(n);
        EXPECT_FLOAT_EQ(e->x, x0 + w.dx * w.leg) << w.dir;
        EXPECT_FLOAT_EQ(e->y, y0 + w.dy * w.leg) << w.dir;
        plat::SeedRnd(21);
        const int pick = plat::RandomInt(1, static_cast<int>(w.picks.size()));
        plat::SeedRnd(21);
        Update();
        EXPECT_EQ(e->dir, w.picks[static_cast<std::size_t>(pick - 1)]) << w.dir;
        EXPECT_EQ(CountShots(), 0);
        // Blocked at once: the one way out.
        EnemyList->Clear();
        auto b = Walker(ENEMY_VERDE, w.dir);
        Paint(*map_, 0, 0, 320, 800, 1);
        Update();
        EXPECT_EQ(b->dir, w.blocked) << w.dir;
    }
    Open();
}

TEST_F(WalkingTest, TheGateSoldierWalksOutThenBecomesWhatTheGateMade) {
    // Out of the gate: 32 pixels down (47 on area 4), then his new state.
    for (const int level : {1, 4}) {
        Begin(level);
        ViewTop = 0;
        T_Enemigo::f_Create_Sale_de_Puerta(150, 0, ENEMY_GRENADIER, -3);
        auto e = Last();
        e->speed = 0.25f;
        const int moves = level == 4 ? 189 : 129;
        Update(moves);
        EXPECT_EQ(e->estado, ENEMY_LEAVING_GATE) << level;
        EXPECT_FLOAT_EQ(e->y, 0.25f * static_cast<float>(moves));
        Update();
        EXPECT_EQ(e->estado, ENEMY_GRENADIER) << level;
        EXPECT_EQ(e->dir, DIR_DOWN);
        EXPECT_EQ(e->facing, DIR_DOWN);
        EXPECT_FLOAT_EQ(e->corre_pix, 0);
    }
    // On area 3 the gate opens onto paths that fan out by x.
    Begin(3);
    ViewTop = 0;
    auto byDraw = [](float x, int c) {
        if (x >= 130 && x < 150) return c % 2 ? 9 : 8;
        if (x >= 150 && x <= 160) return c <= 3 ? 7 : c <= 7 ? 8 : 9;
        if (x > 160 && x <= 180) return c % 2 ? 7 : 8;
        return 8;
    };
    for (const float x : {129.5f, 130.0f, 149.5f, 150.0f, 160.0f, 160.5f, 180.0f, 180.5f}) {
        for (unsigned seed = 1; seed < 12; ++seed) {
            EnemyList->Clear();
            T_Enemigo::f_Create_Sale_de_Puerta(x, 0, ENEMY_RUNNER, -5);
            auto e = Last();
            e->corre_pix = 33;
            fw::SeedRandRange(seed);
            const int c = fw::RandRange(1, 10);
            fw::SeedRandRange(seed);
            Update();
            EXPECT_EQ(e->estado, ENEMY_RUNNER);
            EXPECT_EQ(e->dir, byDraw(x, c)) << x << " draw " << c;
        }
    }
}

TEST_F(WalkingTest, AJumperRunsJumpsUpAndOffAndLandsAsARunner) {
    Begin();
    HeroAt(130, 150);
    // Base 10, run 20 to the left: the jump starts after 30 pixels.
    T_Enemigo::f_Create_Saltador(ViewTop + 20, DIR_LEFT, 10, 20);
    auto e = Last();
    e->x = 200;
    e->speed = 0.25f;
    const float x0 = e->x, y0 = e->y;
    float top = y0;
    std::vector<int> frames;
    int updates = 0;
    while (e->estado == ENEMY_JUMPER && updates < 1000) {
        Update();
        ++updates;
        top = std::min(top, e->y);
        if (e->corre_pix > 30.25f && e->corre_pix <= 88.0f) frames.push_back(e->Frame_ind);
    }
    // 121 steps along the ledge, 56 up, 32 across, 112 down and forward, 32
    // straight down, then the landing.
    EXPECT_EQ(updates, 121 + 56 + 32 + 112 + 32 + 1);
    EXPECT_FLOAT_EQ(top, y0 - 14);
    EXPECT_FLOAT_EQ(e->x, x0 - 30.25f - 50);
    EXPECT_FLOAT_EQ(e->y, y0 - 14 + 28 + 8);
    EXPECT_EQ(frames.front(), 0);
    EXPECT_EQ(frames.back(), 1);
    EXPECT_EQ(e->estado, ENEMY_RUNNER);
    EXPECT_EQ(e->dir, DIR_UP);
    EXPECT_EQ(e->facing, DIR_UP);
    EXPECT_FLOAT_EQ(e->corre_pix, 10);
    EXPECT_FLOAT_EQ(e->speed, 0.24f);

    // A base larger than the run to the right: the jump starts at once.
    EnemyList->Clear();
    T_Enemigo::f_Create_Saltador(ViewTop + 20, DIR_RIGHT, 40, 30);
    auto j = Last();
    const float jy = j->y;
    EXPECT_EQ(CellsOf(*j), std::vector<int>{45});
    Update();
    EXPECT_FLOAT_EQ(j->y, jy - 0.3f);
    EXPECT_FLOAT_EQ(j->x, 40.3f);
    // Sideways he never jumps.
    EnemyList->Clear();
    T_Enemigo::f_Create_Saltador(ViewTop + 20, DIR_DOWN, 40, 30);
    auto s = Last();
    Update(10);
    EXPECT_FLOAT_EQ(s->x, 0);
    EXPECT_EQ(s->estado, ENEMY_JUMPER);
}

TEST_F(WalkingTest, TheLorryJumperLandsAsAFastRunner) {
    Begin();
    T_Enemigo::f_Create_Saltador_Camion(100, ViewTop + 40);
    auto e = Last();
    const float x0 = e->x, y0 = e->y;
    EXPECT_FLOAT_EQ(y0, static_cast<float>(ViewTop + 60));
    float top = y0;
    int updates = 0;
    while (e->estado == ENEMY_LORRY_JUMPER && updates < 500) {
        Update();
        top = std::min(top, e->y);
        ++updates;
    }
    EXPECT_EQ(updates, 95);  // 94 steps of 0.3 to pass 28, then the landing
    EXPECT_NEAR(top, y0 - 7, 0.3);
    EXPECT_NEAR(e->x, x0 + 21, 0.6);
    EXPECT_NEAR(e->y, y0 + 7, 0.6);
    EXPECT_EQ(e->estado, ENEMY_RUNNER);
    EXPECT_TRUE(e->dir == DIR_RIGHT || e->dir == DIR_DOWN_RIGHT) << e->dir;
    EXPECT_EQ(e->facing, e->dir);
    EXPECT_FLOAT_EQ(e->corre_pix, 6);
    EXPECT_FLOAT_EQ(e->speed, 0.3f);
}

TEST_F(WalkingTest, TheHillRunnerCrossesOnceFiringAndLeaves) {
    Begin();
    Stage = 9;
    T_Enemigo::f_Create_Corredor_montanya_l6(300, ViewTop + 30, DIR_LEFT);
    auto e = Last();
    e->num_balas = 2;
    std::vector<int> shots;
    int updates = 0;
    while (EnemyList->Contains(e) && updates < 2000) {
        const int before = CountShots();
        Update();
        if (CountShots() > before) shots.push_back(updates);
        ++updates;
    }
    EXPECT_EQ(updates, 961);  // 960 steps of 0.25 for 240 pixels, then gone
    EXPECT_FLOAT_EQ(e->x, 60);
    EXPECT_EQ(shots, (std::vector<int>{0, 101}));  // every 101 updates from stage 9 on
    EXPECT_EQ(e->num_balas, 0);                    // never another burst
}

}  // namespace
}  // namespace playtest
