// The posted soldiers on the test map: the cannon on the play clock, the
// bazooka soldier and the guards by stage, the swimmer and the house guard,
// the trench soldier's phases, the bridge soldiers, the motorbike rider and
// the kidnappers with their captive.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>

#include "tests/game/play/enemies/enemy_fixture.h"

namespace playtest {
namespace {

using namespace game;

// The updates (0-based) on which a new entry of class T joined ShotList.
template <class T>
std::vector<int> Arrivals(int updates) {
    std::vector<int> at;
    for (int i = 0; i < updates; ++i) {
        int before = 0;
        for (const auto& o : *ShotList) before += plat::Is<T>(o) ? 1 : 0;
        fw::Delta = 1.0f;
        UpdateEnemies();
        int after = 0;
        for (const auto& o : *ShotList) after += plat::Is<T>(o) ? 1 : 0;
        if (after > before) at.push_back(i);
    }
    return at;
}

TEST_F(EnemyTest, TheCannonFiresEveryTwoSecondsOfThePlayClockWhateverTheTicks) {
    for (const std::int64_t start : {std::int64_t{1000000}, std::int64_t{2147483647} - 700, std::int64_t{1} << 40}) {
        for (const int step : {1, 7, 50, 333}) {
            Begin();
            clock_->Set(start);
            T_Enemigo::f_Create_Canyonero(286, 820, DIR_LEFT);
            std::vector<std::int64_t> times;
            for (std::int64_t t = 0; t <= 7000; t += step) {
                const int before = CountGrenades();
                Update();
                if (CountGrenades() > before) times.push_back(clock_->Now() - start);
                clock_->Advance(step);
            }
            SCOPED_TRACE(testing::Message() << "start " << start << " step " << step);
            ASSERT_EQ(times.size(), 3u);
            std::int64_t last = 0;
            for (const std::int64_t t : times) {
                EXPECT_GT(t - last, 2000);  // more than two seconds after the last
                EXPECT_LE(t - last - step, 2000);  // on the first update that is
                last = t;
            }
        }
    }
    // The shell leaves in front of the barrel: 20 left and 10 down facing
    // left, 40 right facing right.
    for (const int side : {DIR_LEFT, DIR_RIGHT}) {
        Begin();
        T_Enemigo::f_Create_Canyonero(side == DIR_LEFT ? 286.0f : 20.0f, 820, side);
        auto cannon = Last();
        clock_->Advance(2001);
        Update();
        auto shell = FirstOf<T_Granada>();
        ASSERT_TRUE(shell) << side;
        EXPECT_EQ(shell->owned, GRANADA_CANNON);
        EXPECT_FLOAT_EQ(shell->x, side == DIR_LEFT ? cannon->x - 20 : cannon->x + 40);
        EXPECT_FLOAT_EQ(shell->y, side == DIR_LEFT ? cannon->y + 10 : cannon->y);
        // The firing animation plays its three cells once.
        std::vector<int> cells{cannon->Frame_ind};
        for (int i = 0; i < 40; ++i) {
            Update();
            if (cells.back() != cannon->Frame_ind) cells.push_back(cannon->Frame_ind);
        }
        EXPECT_EQ(cells, (std::vector<int>{0, 1, 2, 0}));
        EXPECT_EQ(cannon->anim_disp_canyonero, 0);
    }
}

TEST_F(EnemyTest, GunnerAndGuardRunWhenTheHeroComesClose) {
    Begin();
    const struct Case {
        const char* who;
        std::function<void()> make;
        float near;  // how far below him the hero may come
        int dir;
        float rise;  // the guard jumps up as he starts
    } cases[] = {
        {"gunner", [] { T_Enemigo::f_Create_Canyonero(200, 820, DIR_LEFT); }, 50, DIR_UP_LEFT, 0},
        {"guard", [] { T_Enemigo::f_Create_Vigilante(200, 1146); }, 60, DIR_UP, 10},
    };
    for (const Case& c : cases) {
        EnemyList->Clear();
        c.make();
        auto e = Last();
        const int kind = e->estado;
        const auto image = e->Image;
        e->y = static_cast<float>(ViewTop) + 60;
        HeroAt(130, 60 + c.near);
        Update();
        EXPECT_EQ(e->estado, kind) << c.who;
        HeroAt(130, 60 + c.near - 0.1f);
        Update();
        EXPECT_EQ(e->estado, ENEMY_RUNNER) << c.who;
        EXPECT_EQ(e->dir, c.dir) << c.who;
        EXPECT_EQ(e->facing, c.dir) << c.who;
        EXPECT_FLOAT_EQ(e->y, static_cast<float>(ViewTop) + 60 - c.rise) << c.who;
        EXPECT_FLOAT_EQ(e->corre_pix, 0) << c.who;
        EXPECT_EQ(e->Image, image) << c.who;  // the gunner keeps the cannon's sheet
    }
    // The guard, who had not walked yet, runs a whole leg upwards.
    auto guard = Last();
    int steps = 0;
    while (guard->dir == DIR_UP && steps < 400) {
        Update();
        ++steps;
    }
    EXPECT_EQ(steps, 168);  // 167 steps of 0.24 to pass 40, then the turn
}

TEST_F(EnemyTest, TheBazookaSoldierFiresAtOnceThenByStage) {
    Begin();
    const struct { int stage, every; } cases[] = {{1, 201}, {3, 201}, {4, 161}, {5, 121}, {9, 121}, {0, 121}};
    for (const auto& c : cases) {
        Stage = c.stage;
        EnemyList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Bazookero(522, DIR_RIGHT);
        auto e = Last();
        EXPECT_EQ(Arrivals<T_Bala>(2 * c.every + 1), (std::vector<int>{0, c.every, 2 * c.every})) << c.stage;
        EXPECT_NEAR(e->x, e->speed * static_cast<float>(2 * c.every + 1), 1e-3);
    }
    // He aims straight down when the hero is within 50 pixels sideways, else
    // down-left or down-right.
    const struct { float x, hero; int facing; } aims[] = {
        {100, 140, 8}, {100, 60.5f, 8}, {100, 150, 9}, {200, 150, 7}, {150, 150, 8}, {100, 50, 7}};
    for (const auto& a : aims) {
        EnemyList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Bazookero(1, DIR_RIGHT);
        Last()->x = a.x;
        Last()->speed = 0;
        HeroAt(a.hero, 124);
        Update();
        EXPECT_EQ(Last()->facing, a.facing) << a.x << " " << a.hero;
        auto rocket = FirstOf<T_Bala>();
        EXPECT_EQ(rocket->owned, BALA_BAZOOKA);
        EXPECT_EQ(rocket->dir, a.facing);
    }
}

TEST_F(EnemyTest, AGuardDrawsHisBurstThenFiresByStage) {
    Begin();
    const struct { int stage, every; } cases[] = {{1, 351}, {2, 251}, {9, 251}};
    for (const auto& c : cases) {
        Stage = c.stage;
        EnemyList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Vigilante(150, 1146);
        const unsigned seed = SeedGiving(1, 10, 3);
        fw::SeedRandRange(seed);
        // The burst is drawn on the first update and fired from the next.
        EXPECT_EQ(Arrivals<T_Bala>(3 * c.every), (std::vector<int>{1, 1 + c.every, 1 + 2 * c.every})) << c.stage;
    }
}

TEST_F(EnemyTest, SwimmersAndHouseGuardsShootOnlyDownwards) {
    for (const int level : {4, 8}) {
        Begin(level);
        for (const bool house : {false, true}) {
            EnemyList->Clear();
            GuardList->Clear();
            ShotList->Clear();
            if (house)
                T_Enemigo::f_Create_Vigilante_Casa(20, 1);
            else
                T_Enemigo::f_Create_Acuatico(20, 1);
            auto e = plat::As<T_Enemigo>(house ? GuardList->First() : EnemyList->First());
            e->x = 150;
            e->y = static_cast<float>(ViewTop) + 20;  // zone 3
            auto update = [house] { house ? UpdateGuards() : UpdateEnemies(); };
            SCOPED_TRACE(testing::Message() << "area " << level << (house ? " house guard" : " swimmer"));

            // The hero beside him (not more than 24 pixels below): he looks
            // down and does nothing else.
            HeroAt(300, 44);
            e->num_balas = 3;
            update();
            EXPECT_EQ(e->facing, DIR_DOWN);
            EXPECT_EQ(CountShots(), 0);

            // Sideways by the aim table (zone 3 to zone 5 gives 6): he shoots
            // down-left instead, through the map.
            HeroAt(300, 45);
            e->facing = 0;
            update();
            EXPECT_EQ(e->facing, DIR_DOWN_LEFT);
            ASSERT_EQ(CountShots(), 1);
            const auto bullet = FirstOf<T_Bala>();
            EXPECT_EQ(bullet->owned, BALA_ENEMY_THROUGH);
            EXPECT_FLOAT_EQ(bullet->x, e->x + 2);
            EXPECT_FLOAT_EQ(bullet->y, e->y - 1 + 22);
            const struct { float x, sy; int facing; } aims[] = {
                {20, 140, DIR_DOWN_LEFT},    // zone 6: down-left by the table
                {200, 140, DIR_DOWN_RIGHT},  // zone 9
                {150, 140, DIR_DOWN},        // zone 8
                {20, 45, DIR_DOWN_LEFT},     // zone 1: left by the table
            };
            for (const auto& a : aims) {
                HeroAt(a.x, a.sy);
                update();
                EXPECT_EQ(e->facing, a.facing) << a.x << " " << a.sy;
            }

            // The pause after a shot: 200 updates for the swimmer and the
            // house guards of area 4, 150 for those of area 8.
            ShotList->Clear();
            e->num_balas = 2;
            e->baladelay_enemigos = -1;
            const int every = (house && level == 8) ? 151 : 201;
            std::vector<int> at;
            for (int i = 0; i < 2 * every; ++i) {
                const int before = CountShots();
                update();
                if (CountShots() > before) at.push_back(i);
            }
            EXPECT_EQ(at, (std::vector<int>{0, every}));

            // The next burst: 1 to 10 shots for the swimmer, 1 to 20 for the
            // house guard.
            e->num_balas = 0;
            e->baladelay_enemigos = -1;
            fw::SeedRandRange(31);
            const int burst = fw::RandRange(1, house ? 20 : 10);
            fw::SeedRandRange(31);
            update();
            EXPECT_EQ(e->num_balas, burst);
        }
    }
}

TEST_F(EnemyTest, TheTrenchSoldierRisesShootsWhileHeHasShotsAndSinks) {
    Begin();
    // No shots drawn: up for one period, down again, nothing fired.
    for (const int burst : {0, 2}) {
        EnemyList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Trinchero(150, 1, 10);
        auto e = Last();
        e->y = static_cast<float>(ViewTop) + 20;
        fw::SeedRandRange(SeedGiving(0, 2, burst));
        std::vector<int> phases, shots, cells;
        // Until he is down again (a new burst is drawn as he rises next).
        for (int i = 0; i < (burst == 0 ? 50 : 250); ++i) {
            const int before = CountShots();
            Update();
            if (CountShots() > before) shots.push_back(i);
            if (phases.empty() || phases.back() != e->estado_trinchero) {
                phases.push_back(e->estado_trinchero);
                cells.push_back(CellsOf(*e).at(0));
            }
        }
        // Each phase lasts the period plus one update.
        // Up at update 22, firing at once and again 201 updates later; he
        // sinks at the first period's end after his last shot.
        EXPECT_EQ(phases, (std::vector<int>{20, 21, 22, 21, 20}));
        const std::vector<int> fired = burst == 0 ? std::vector<int>{} : std::vector<int>{22, 223};
        EXPECT_EQ(shots, fired);
        EXPECT_EQ(cells[0], 65);
        EXPECT_EQ(cells[1], 66);
        EXPECT_EQ(cells[2], 34);  // up, aiming down at the hero below
    }
    // Up, he never aims upwards or sideways.
    EnemyList->Clear();
    T_Enemigo::f_Create_Trinchero(20, 1, 10);
    auto e = Last();
    e->y = static_cast<float>(ViewTop) + 20;
    e->estado_trinchero = TRENCH_UP;
    e->AnimDelay = 1000;
    e->num_balas = 1;
    HeroAt(300, 40);  // the table says 6
    Update();
    EXPECT_EQ(e->facing, DIR_DOWN);
}

TEST_F(EnemyTest, TheBridgeSoldierCrossesAtDoubleSpeedAndTurnsDown) {
    Begin();
    for (const int side : {DIR_LEFT, DIR_RIGHT}) {
        EnemyList->Clear();
        T_Enemigo::f_Create_Puentero(ViewTop + 40, side, 20);
        auto e = Last();
        e->speed = 0.25f;
        int updates = 0;
        while (e->estado == ENEMY_BRIDGE_SOLDIER && updates < 200) {
            Update();
            ++updates;
        }
        // Moving left he stops at the distance, moving right just past it.
        EXPECT_EQ(updates, side == DIR_LEFT ? 41 : 42) << side;
        EXPECT_FLOAT_EQ(e->x, side == DIR_LEFT ? 300.0f : 20.5f);
        EXPECT_EQ(e->estado, ENEMY_RUNNER);
        EXPECT_EQ(e->dir, DIR_DOWN);
        EXPECT_EQ(e->facing, DIR_DOWN);
        EXPECT_FLOAT_EQ(e->corre_pix, 0);
    }
}

TEST_F(EnemyTest, TheBridgeGrenadierWalksInThrowsAndWalksOffRight) {
    Begin();
    // His series is RandomInt(1, 3), drawn once he is 80 pixels in.
    std::set<int> seriesSeen;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        EnemyList->Clear();
        T_Enemigo::f_Create_Granadero_puente(ViewTop + 30);
        auto g = Last();
        g->corre_pix = 80;
        plat::SeedRnd(seed);
        const int drawn = plat::RandomInt(1, 3);
        plat::SeedRnd(seed);
        Update();
        EXPECT_EQ(g->num_granadas, drawn) << seed;
        seriesSeen.insert(g->num_granadas);
    }
    EXPECT_EQ(seriesSeen, (std::set<int>{1, 2, 3}));

    EnemyList->Clear();
    T_Enemigo::f_Create_Granadero_puente(ViewTop + 30);
    auto e = Last();
    e->speed = 0.25f;
    plat::SeedRnd(17);
    const int series = plat::RandomInt(1, 3);
    plat::SeedRnd(17);
    Update(320);  // 80 pixels in
    EXPECT_FLOAT_EQ(e->x, 238);
    EXPECT_EQ(e->num_granadas, -1);
    Update();
    EXPECT_EQ(e->num_granadas, series);
    EXPECT_FLOAT_EQ(e->corre_pix, -1);
    int updates = 0;
    while (e->num_granadas > 0 && updates < 2000) {
        Update();
        ++updates;
    }
    EXPECT_EQ(CountGrenades(), series);
    EXPECT_EQ(e->facing, DIR_RIGHT);
    const float x = e->x;
    Update(4);
    EXPECT_FLOAT_EQ(e->x, x + 1);

    // Still walking in (no series yet), he neither throws nor walks off.
    EnemyList->Clear();
    ShotList->Clear();
    T_Enemigo::f_Create_Granadero_puente(ViewTop + 30);
    auto w = Last();
    w->corre_pix = -1;
    w->num_granadas = -1;
    Update(300);
    EXPECT_FLOAT_EQ(w->x, 318);
    EXPECT_EQ(CountGrenades(), 0);
}

TEST_F(EnemyTest, TheRiderRidesInThrowsFromAfarAndRidesOffWhenClose) {
    Begin();
    const struct { int stage, every; } cases[] = {{2, 132}, {3, 122}, {5, 112}};
    for (const auto& c : cases) {
        Stage = c.stage;
        EnemyList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Motero(ViewTop + 62);  // rides at row 20 of the view
        auto e = Last();
        e->speed = 0.25f;
        Update(245);
        EXPECT_EQ(CellsOf(*e), (std::vector<int>{20, 21}));
        Update();  // 184.5 pixels in at three times his speed
        EXPECT_FLOAT_EQ(e->x, 135.5f);
        EXPECT_EQ(CellsOf(*e), (std::vector<int>{22, 23}));
        const auto at = Arrivals<T_Granada>(2 * c.every + 2);
        EXPECT_EQ(at, (std::vector<int>{c.every / 2 + 1, c.every + c.every / 2 + 1})) << c.stage;
        EXPECT_FLOAT_EQ(FirstOf<T_Granada>()->x, 143.5f);
    }
    // Between 30 and 60 pixels above the hero he waits; closer he rides off.
    EnemyList->Clear();
    ShotList->Clear();
    T_Enemigo::f_Create_Motero(ViewTop + 62);
    auto e = Last();
    e->corre_pix = 184;
    e->x = 100;
    HeroAt(130, 80);  // 60 below
    Update(300);
    EXPECT_FLOAT_EQ(e->x, 100);
    EXPECT_EQ(CountGrenades(), 0);
    HeroAt(130, 80.5f);  // farther than 60: he throws
    Update(150);
    EXPECT_EQ(CountGrenades(), 1);
    EXPECT_FLOAT_EQ(e->x, 100);
    ShotList->Clear();
    HeroAt(130, 50.5f);
    Update(10);
    EXPECT_FLOAT_EQ(e->x, 100);
    HeroAt(130, 50);  // 30 below
    Update(10);
    EXPECT_NEAR(e->x, 100 - 10 * 0.48f, 1e-3);
    EXPECT_EQ(e->Frame_indgr, 0);
}

TEST_F(EnemyTest, BothKidnappersDownFreeTheCaptive) {
    Begin();
    T_Enemigo::f_Create_Secuestradores(150, ViewTop + 40);
    const auto group = EnemyList->ToArray();
    auto first = plat::As<T_Enemigo>(group[0]);
    auto captive = plat::As<T_Enemigo>(group[1]);
    auto last = plat::As<T_Enemigo>(group[2]);
    // 80 pixels above the hero or more they stand; closer they lead him
    // away, each of the three on his own test.
    HeroAt(130, 120);
    Update(10);
    EXPECT_FLOAT_EQ(first->x, 150);
    EXPECT_FLOAT_EQ(captive->x, 168);
    EXPECT_FLOAT_EQ(last->x, 182);
    HeroAt(130, 119.9f);
    Update(10);
    EXPECT_NEAR(captive->x, 168 - 2.4f, 1e-3);
    EXPECT_NEAR(captive->y, static_cast<float>(ViewTop) + 40 - 2.4f, 1e-3);
    EXPECT_EQ(captive->dir, DIR_UP_LEFT);
    for (const auto& kidnapper : {first, last}) {
        EXPECT_EQ(kidnapper->dir, DIR_UP_LEFT);
        EXPECT_NEAR(kidnapper->y, static_cast<float>(ViewTop) + 40 - 2.4f, 1e-3);
    }
    EXPECT_NEAR(first->x, 150 - 2.4f, 1e-3);
    EXPECT_NEAR(last->x, 182 - 2.4f, 1e-3);

    // One kidnapper shot: 1000, and the captive is still led away.
    auto shoot = [](const plat::Ref<T_Enemigo>& e) { HeroBullet(e->x + 10, e->y + 10); };
    shoot(first);
    Update();
    EXPECT_EQ(Score, 1000);
    EXPECT_EQ(KidnappersDown, 1);
    EXPECT_EQ(first->estado, ENEMY_KIDNAPPER_SCORE);
    Update(5);
    EXPECT_EQ(captive->libre, 0);
    // The captive himself is never hit.
    shoot(captive);
    Update();
    EXPECT_EQ(Score, 1000);
    EXPECT_EQ(captive->estado, ENEMY_CAPTIVE);
    ShotList->Clear();

    // The second one: the captive stops and shows himself freed.
    shoot(last);
    Update();  // the captive comes before him in the list: freed next update
    EXPECT_EQ(KidnappersDown, 2);
    EXPECT_EQ(Score, 2000);
    Update();
    EXPECT_EQ(captive->libre, 1);
    const float x = captive->x;
    Update(30);
    EXPECT_FLOAT_EQ(captive->x, x);
    const auto cells = CellsOf(*captive);
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_TRUE(cells[0] == 41 || cells[0] == 42) << cells[0];

    // A new group starts its own count.
    T_Enemigo::f_Create_Secuestradores(50, ViewTop + 40);
    EXPECT_EQ(KidnappersDown, 0);
    EXPECT_EQ(captive->libre, 1);
}

}  // namespace
}  // namespace playtest
