// Enemy soldiers: what the creation functions make, the frame every kind
// shares (hits, the window, the deaths), aiming, the rolls and pickers, the
// passes over the lists, the hero's contact test and the cells drawn.

#include <algorithm>
#include <functional>
#include <set>

#include "tests/game/play/enemies/enemy_fixture.h"

namespace playtest {
namespace {

using namespace game;

// --- creation --------------------------------------------------------------------------

TEST_F(EnemyTest, EachCreationFunctionMakesItsKindWhereTheTablesSayAndAppendsIt) {
    Begin();
    ASSERT_EQ(ViewTop, 624);
    const struct Case {
        const char* call;
        std::function<void()> make;
        int estado;
        float x, y;
        int key, dir, facing;
        float speed;
    } cases[] = {
        {"Canyonero", [] { T_Enemigo::f_Create_Canyonero(286, 820.9f, 4); }, 1, 286, 603, 820, 4, 0, 0.24f},
        {"Corredor_puerta", [] { T_Enemigo::f_Create_Corredor_puerta(188, 1542, 9); }, 6, 188, 1542, 1542, 9, 9, 0.235f},
        {"Corredor_montanya_l6", [] { T_Enemigo::f_Create_Corredor_montanya_l6(10, 700, 6); }, 37, 10, 700, 700, 6, 6, 0.25f},
        {"Granadero 4", [] { T_Enemigo::f_Create_Granadero(700, 4); }, 3, 318, 700, 700, 4, 4, 0.235f},
        {"Granadero 6", [] { T_Enemigo::f_Create_Granadero(700, 6); }, 3, 0, 700, 700, 6, 6, 0.235f},
        {"Granadero 5", [] { T_Enemigo::f_Create_Granadero(700, 5); }, 3, 0, 700, 700, 5, 5, 0.235f},
        {"Granadero_puerta", [] { T_Enemigo::f_Create_Granadero_puerta(50, 68, 6); }, 3, 50, 68, 68, 6, 6, 0.235f},
        {"Saltador 4", [] { T_Enemigo::f_Create_Saltador(1210, 4, -48, 50); }, 5, 270, 1240, 1210, 4, 4, 0.3f},
        {"Saltador 6", [] { T_Enemigo::f_Create_Saltador(1210, 6, 20, 50); }, 5, 20, 1240, 1210, 6, 6, 0.3f},
        {"Saltador 8", [] { T_Enemigo::f_Create_Saltador(1210, 8, 20, 50); }, 5, 0, 1240, 1210, 8, 8, 0.3f},
        {"Saltador_Camion", [] { T_Enemigo::f_Create_Saltador_Camion(100, 500); }, 32, 100, 520, 500, 0, 0, 0.3f},
        {"Vigilante", [] { T_Enemigo::f_Create_Vigilante(240, 1146); }, 7, 240, 609, 1146, 0, 8, 0.24f},
        {"Vigilante_Ini", [] { T_Enemigo::f_Create_Vigilante_Ini(91, 588); }, 7, 91, 573, 588, 0, 8, 0.24f},
        {"Acuatico", [] { T_Enemigo::f_Create_Acuatico(220, 294); }, 28, 220, 279, 294, 0, 8, 0.24f},
        {"Acuatico row 1536, area 1", [] { T_Enemigo::f_Create_Acuatico(220, 1536); }, 28, 220, 1521, 1536, 0, 8, 0.24f},
        {"Acuatico row 1536, area 5", [] { Level = 5; T_Enemigo::f_Create_Acuatico(220, 1536); Level = 1; },
         28, 220, 1560, 1536, 0, 8, 0.24f},
        {"Trinchero", [] { T_Enemigo::f_Create_Trinchero(125, 11181, 100); }, 19, 125, 609, 11181, 0, 8, 0.24f},
        {"Trinchero_Ini", [] { T_Enemigo::f_Create_Trinchero_Ini(125, 1117, 100); }, 19, 125, 1102, 1117, 0, 8, 0.24f},
        {"Puentero 4", [] { T_Enemigo::f_Create_Puentero(804, 4, 100); }, 10, 320, 804, 804, 4, 4, 0.24f},
        {"Puentero 6", [] { T_Enemigo::f_Create_Puentero(804, 6, 100); }, 10, 0, 804, 804, 6, 6, 0.24f},
        {"Motero", [] { T_Enemigo::f_Create_Motero(902); }, 11, 320, 860, 902, 4, 4, 0.24f},
        {"Granadero_puente", [] { T_Enemigo::f_Create_Granadero_puente(804); }, 18, 318, 804, 804, 4, 4, 0.3f},
        {"Verde", [] { T_Enemigo::f_Create_Verde(42, 692, 692, 9); }, 12, 42, 692, 692, 9, 0, 0.24f},
        {"Bazookero 6", [] { T_Enemigo::f_Create_Bazookero(522, 6); }, 2, 0, 624, 522, 6, 6, 0.2f},
        {"Bazookero 4", [] { T_Enemigo::f_Create_Bazookero(522, 4); }, 2, 320, 624, 522, 4, 4, 0.2f},
        {"Sale_de_Puerta", [] { T_Enemigo::f_Create_Sale_de_Puerta(150, 0, 3, -4); }, 13, 150, 0, -4, 8, 8, 0.235f},
    };
    for (const Case& c : cases) {
        EnemyList->AddLast(plat::New<plat::Object>());  // appended after what is there
        c.make();
        ASSERT_EQ(EnemyList->Count(), 2) << c.call;
        auto e = Last();
        ASSERT_TRUE(e) << c.call;
        EXPECT_EQ(e->estado, c.estado) << c.call;
        EXPECT_FLOAT_EQ(e->x, c.x) << c.call;
        EXPECT_FLOAT_EQ(e->y, c.y) << c.call;
        EXPECT_EQ(e->py_creado, c.key) << c.call;
        EXPECT_EQ(e->dir, c.dir) << c.call;
        EXPECT_EQ(e->facing, c.facing) << c.call;
        EXPECT_FLOAT_EQ(e->speed, c.speed) << c.call;
        EXPECT_EQ(e->Frame_ind, 0) << c.call;
        EXPECT_FLOAT_EQ(e->baladelay_enemigos, -1) << c.call;
        EXPECT_FLOAT_EQ(e->granadadelay_enemigos, -1) << c.call;
        EXPECT_EQ(e->Image, c.estado == ENEMY_CANNON ? EnemyCImage : EnemyImage) << c.call;
        EnemyList->Clear();
    }

    // What some kinds carry besides.
    clock_->Set(777777);
    T_Enemigo::f_Create_Canyonero(286, 820, 4);
    EXPECT_EQ(Last()->timeold, 777777);
    T_Enemigo::f_Create_Corredor_puerta(188, 1542, 9);
    EXPECT_FLOAT_EQ(Last()->corre_pix, 20);  // the first leg is half a leg
    T_Enemigo::f_Create_Saltador(1210, 4, -48, 50);
    EXPECT_EQ(Last()->xplus, -48);
    EXPECT_EQ(Last()->max_corre_saltador, 50);
    T_Enemigo::f_Create_Trinchero(125, 11181, 100);
    EXPECT_EQ(Last()->estado_trinchero, TRENCH_DOWN);
    EXPECT_EQ(Last()->estado_old_trinchero, TRENCH_DOWN);
    EXPECT_EQ(Last()->max_AnimDelay, 100);
    EXPECT_FLOAT_EQ(Last()->AnimDelay, 100);
    T_Enemigo::f_Create_Puentero(804, 4, 96);
    EXPECT_EQ(Last()->max_pix_puentero, 96);
    T_Enemigo::f_Create_Sale_de_Puerta(150, 0, 3, -4);
    EXPECT_EQ(Last()->newestado, 3);
    EXPECT_EQ(SpawnMarkers[0], -4);  // the gate soldier marks his key

    // The house guard joins GuardList.
    EnemyList->Clear();
    T_Enemigo::f_Create_Vigilante_Casa(45, 791);
    EXPECT_TRUE(EnemyList->IsEmpty());
    ASSERT_EQ(GuardList->Count(), 1);
    auto guard = plat::As<T_Enemigo>(GuardList->First());
    EXPECT_EQ(guard->estado, ENEMY_HOUSE_GUARD);
    EXPECT_FLOAT_EQ(guard->y, 609);
    EXPECT_EQ(guard->py_creado, 791);
}

TEST_F(EnemyTest, TheHillRunnerCarriesTheBurstRolledAtHisCreation) {
    Begin();
    plat::SeedRnd(99);
    const int burst = RollEnemyShot();
    plat::SeedRnd(99);
    T_Enemigo::f_Create_Corredor_montanya_l6(10, 700, 6);
    EXPECT_EQ(Last()->num_balas, burst);
    EXPECT_EQ(Last()->max_corre_pix, 240);
}

TEST_F(EnemyTest, ARunnerFromTheTopGetsItsOwnOffsetOfUpToThirtyPixels) {
    Begin();
    plat::SeedRnd(5);
    const int a = plat::RandomInt(-30, 30), b = plat::RandomInt(-30, 30);
    plat::SeedRnd(5);
    T_Enemigo::f_Create_Corredor(172, 1390);
    T_Enemigo::f_Create_Corredor(172, 1390);
    auto soldiers = EnemyList->ToArray();
    EXPECT_FLOAT_EQ(plat::As<T_Enemigo>(soldiers[0])->x, 172.0f + static_cast<float>(a));
    EXPECT_FLOAT_EQ(plat::As<T_Enemigo>(soldiers[1])->x, 172.0f + static_cast<float>(b));
    std::set<float> xs;
    for (int i = 0; i < 400; ++i) {
        T_Enemigo::f_Create_Corredor(172, 1390);
        xs.insert(Last()->x);
    }
    EXPECT_EQ(*xs.begin(), 142.0f);
    EXPECT_EQ(*xs.rbegin(), 202.0f);
    EXPECT_FLOAT_EQ(Last()->y, 603.0f);
}

TEST_F(EnemyTest, SpeedsGrowWithTheStageInThreeBands) {
    Begin();
    const struct { std::function<void()> make; float s1to4, s5to8, other; } kinds[] = {
        {[] { T_Enemigo::f_Create_Corredor(100, 1); }, 0.235f, 0.24f, 0.25f},
        {[] { T_Enemigo::f_Create_Granadero(700, 4); }, 0.235f, 0.24f, 0.25f},
        {[] { T_Enemigo::f_Create_Sale_de_Puerta(150, 0, 6, -2); }, 0.235f, 0.24f, 0.25f},
        {[] { T_Enemigo::f_Create_Puentero(700, 4, 50); }, 0.24f, 0.25f, 0.3f},
        {[] { T_Enemigo::f_Create_Verde(40, 600, 1, 9); }, 0.24f, 0.25f, 0.26f},
        {[] { T_Enemigo::f_Create_Bazookero(1, 4); }, 0.2f, 0.24f, 0.3f},
    };
    for (const auto& k : kinds) {
        for (int stage : {-1, 0, 1, 4, 5, 8, 9, 17}) {
            Stage = stage;
            k.make();
            const float want = stage >= 1 && stage <= 4 ? k.s1to4 : stage >= 5 && stage <= 8 ? k.s5to8 : k.other;
            EXPECT_FLOAT_EQ(Last()->speed, want) << "stage " << stage;
        }
    }
}

TEST_F(EnemyTest, AKidnapperGroupIsTwoKidnappersAroundTheirCaptiveAndStartsItsOwnCount) {
    Begin();
    KidnappersDown = 1;  // a group before still had one alive
    T_Enemigo::f_Create_Secuestradores(150, 960);
    EXPECT_EQ(KidnappersDown, 0);
    const auto group = EnemyList->ToArray();
    ASSERT_EQ(group.size(), 3u);
    const int states[] = {ENEMY_KIDNAPPER, ENEMY_CAPTIVE, ENEMY_KIDNAPPER};
    const float xs[] = {150, 168, 182};
    for (int i = 0; i < 3; ++i) {
        auto e = plat::As<T_Enemigo>(group[static_cast<std::size_t>(i)]);
        EXPECT_EQ(e->estado, states[i]);
        EXPECT_FLOAT_EQ(e->x, xs[i]);
        EXPECT_FLOAT_EQ(e->y, 960);
        EXPECT_EQ(e->py_creado, 960);
        EXPECT_EQ(e->libre, 0);
    }
}

// --- hits ----------------------------------------------------------------------------------

TEST_F(EnemyTest, ABulletBeatsAGrenadeAndOneBurstKillsSeveral) {
    Begin();
    auto a = Put(ENEMY_RUNNER, 100, 40);
    auto b = Put(ENEMY_RUNNER, 110, 40);
    a->dir = b->dir = 0;  // standing
    a->Frame_ind = b->Frame_ind = 2;
    auto bullet = HeroBullet(103, a->y + 3);
    auto grenade = PutGrenade(100, a->y);
    Update();
    // The bullet took the first soldier: one hit, one score, the bullet gone.
    EXPECT_EQ(a->estado, ENEMY_DYING);
    EXPECT_EQ(b->estado, ENEMY_DYING);
    EXPECT_EQ(Score, 600);
    EXPECT_FALSE(ShotList->Contains(bullet));
    EXPECT_TRUE(ShotList->Contains(grenade));  // it bursts on
    EXPECT_EQ(a->Frame_ind, 1);                // 0 at the hit, then the first count of the death
    EXPECT_EQ(b->Frame_ind, 1);
    // Dying, neither is hit again.
    HeroBullet(103, a->y + 3);
    Update();
    EXPECT_EQ(Score, 600);
    EXPECT_EQ(CountShots(), 1);
}

TEST_F(EnemyTest, WhatAHitDoesByKindAndWhoIsNeverHit) {
    Begin(4);
    // The state after a bullet and after a burst (the same state: no hit),
    // and the score of a hit.
    const struct { int estado, trench, byBullet, byBurst, score; } cases[] = {
        {ENEMY_RUNNER, 0, ENEMY_DYING, ENEMY_DYING, 300},
        {ENEMY_GRENADIER, 0, ENEMY_DYING, ENEMY_DYING, 300},
        {ENEMY_BAZOOKA, 0, ENEMY_DYING, ENEMY_DYING, 300},
        {ENEMY_KIDNAPPER, 0, ENEMY_KIDNAPPER_SCORE, ENEMY_KIDNAPPER_SCORE, 1000},
        {ENEMY_VERDE, 0, ENEMY_VERDE_SCORE, ENEMY_VERDE_SCORE, 2000},
        // Guards and swimmers die their own death by a burst.
        {ENEMY_GUARD, 0, ENEMY_DYING, ENEMY_DYING_GUARD, 300},
        {ENEMY_SWIMMER, 0, ENEMY_DYING, ENEMY_DYING_GUARD, 300},
        // The trench soldier: bullets never, a burst only while he is up.
        {ENEMY_TRENCH, TRENCH_UP, ENEMY_TRENCH, ENEMY_DYING_GUARD, 300},
        {ENEMY_TRENCH, TRENCH_HALF_UP, ENEMY_TRENCH, ENEMY_TRENCH, 0},
        {ENEMY_TRENCH, TRENCH_DOWN, ENEMY_TRENCH, ENEMY_TRENCH, 0},
        // Never hit at all.
        {ENEMY_RIDER, 0, ENEMY_RIDER, ENEMY_RIDER, 0},
        {ENEMY_CAPTIVE, 0, ENEMY_CAPTIVE, ENEMY_CAPTIVE, 0},
        {ENEMY_DYING, 0, ENEMY_DYING, ENEMY_DYING, 0},
        {ENEMY_DYING_GUARD, 0, ENEMY_DYING_GUARD, ENEMY_DYING_GUARD, 0},
        {ENEMY_KIDNAPPER_SCORE, 0, ENEMY_KIDNAPPER_SCORE, ENEMY_KIDNAPPER_SCORE, 0},
        {ENEMY_VERDE_SCORE, 0, ENEMY_VERDE_SCORE, ENEMY_VERDE_SCORE, 0},
    };
    for (const auto& c : cases) {
        for (const bool byBullet : {true, false}) {
            EnemyList->Clear();
            ShotList->Clear();
            Score = 0;
            auto e = Put(c.estado, 100, 40);
            e->estado_trinchero = c.trench;
            e->AnimDelay = 1000;  // no phase change of a trench this tick
            e->baladelay_enemigos = 1000;
            e->Frame_ind = 1;
            if (byBullet)
                HeroBullet(110, e->y + 10);
            else
                PutGrenade(104, e->y + 5);
            Update(1);
            const int want = byBullet ? c.byBullet : c.byBurst;
            SCOPED_TRACE(testing::Message() << "estado " << c.estado << " trench " << c.trench
                                            << (byBullet ? " bullet" : " burst"));
            EXPECT_EQ(e->estado, want);
            EXPECT_EQ(Score, want != c.estado ? c.score : 0);
        }
    }
    // A burst that finds a trench soldier under cover still restarts his count.
    EnemyList->Clear();
    ShotList->Clear();
    auto t = Put(ENEMY_TRENCH, 100, 40);
    t->estado_trinchero = TRENCH_HALF_UP;
    t->AnimDelay = 1000;
    t->Frame_ind = 3;
    PutGrenade(104, t->y + 5);
    Update();
    EXPECT_EQ(t->Frame_ind, 0);

    // Enemy bullets, the enemies' grenades and a grenade still in flight hit nobody.
    EnemyList->Clear();
    ShotList->Clear();
    Score = 0;
    auto r = Put(ENEMY_RUNNER, 100, 40);
    r->dir = 0;
    HeroBullet(110, r->y + 10, BALA_ENEMY);
    PutGrenade(104, r->y + 5, GRANADA_ENEMY);
    PutGrenade(104, r->y + 5, GRANADA_HERO, 0);
    Update();
    EXPECT_EQ(r->estado, ENEMY_RUNNER);
    EXPECT_EQ(Score, 0);

    // A house guard: a burst gives his own death in GuardList.
    GuardList->Clear();
    T_Enemigo::f_Create_Vigilante_Casa(100, 700);
    auto house = plat::As<T_Enemigo>(GuardList->First());
    house->y = static_cast<float>(ViewTop) + 40;
    PutGrenade(104, house->y + 5);
    UpdateGuards();
    EXPECT_EQ(house->estado, ENEMY_DYING_HOUSE_GUARD);
    EXPECT_EQ(Score, 300);
}

TEST_F(EnemyTest, TheHitBoxesTouchingAtTheirEdgesCount) {
    Begin();
    // The soldier's box is (x + 2, y + 2, 20, 16), the bullet's (x, y, 2, 2).
    const struct { float bx, by; bool hit; } cases[] = {
        {100, 40, true},  {99.9f, 40, false}, {122, 40, true},    {122.9f, 40, true},
        {123, 40, false}, {110, 40, true},    {110, 39.9f, false}, {110, 58, true}, {110, 59, false},
    };
    for (const auto& c : cases) {
        EnemyList->Clear();
        ShotList->Clear();
        auto e = Put(ENEMY_RUNNER, 100, 40);
        e->dir = 0;
        HeroBullet(c.bx, static_cast<float>(ViewTop) + c.by);
        Update();
        EXPECT_EQ(e->estado == ENEMY_DYING, c.hit) << c.bx << ", " << c.by;
    }
}

// --- the window, deaths ------------------------------------------------------------------------

TEST_F(EnemyTest, OutOfTheWindowASoldierLeavesAtOnce) {
    Begin();
    const float bottom = static_cast<float>((map_->mapheight - 2) * 8);
    const struct { float x, sy; bool stays; } cases[] = {
        {0, 40, true},     {-0.01f, 40, false}, {320, 40, true},      {320.01f, 40, false},
        {100, -42, true},  {100, -42.01f, false}, {100, 160, true},    {100, 160.01f, false},
    };
    for (const auto& c : cases) {
        EnemyList->Clear();
        auto e = Put(ENEMY_VERDE, c.x, c.sy);
        e->dir = 0;
        Update();
        EXPECT_EQ(EnemyList->Contains(e), c.stays) << c.x << ", " << c.sy;
    }
    // Above the map's top or below its last rows, even inside the view.
    ViewTop = 0;
    auto above = Put(ENEMY_VERDE, 100, -0.5f);
    above->dir = 0;
    Update();
    EXPECT_FALSE(EnemyList->Contains(above));
    ViewTop = static_cast<int>(bottom) - 100;
    auto below = Put(ENEMY_VERDE, 100, 100.5f);
    below->dir = 0;
    Update();
    EXPECT_FALSE(EnemyList->Contains(below));

    // A house guard out of the window stays in GuardList, and does nothing.
    ViewTop = 624;
    T_Enemigo::f_Create_Vigilante_Casa(100, 700);
    auto house = plat::As<T_Enemigo>(GuardList->First());
    house->y = 1000;
    house->num_balas = 3;
    UpdateGuards();
    EXPECT_EQ(GuardList->Count(), 1);
    EXPECT_EQ(CountShots(), 0);
}

TEST_F(EnemyTest, DeathsAndScoreSpritesLastTheirUpdatesAndFlicker) {
    Begin();
    const struct { int estado; int updates; } cases[] = {
        {ENEMY_DYING, 37}, {ENEMY_DYING_GUARD, 37}, {ENEMY_KIDNAPPER_SCORE, 41}, {ENEMY_VERDE_SCORE, 41},
    };
    for (const auto& c : cases) {
        auto e = Put(c.estado, 100, 40);
        int updates = 0;
        // Partial ticks count the same: the deaths count calls.
        while (EnemyList->Contains(e) && updates < 100) {
            fw::Delta = updates % 2 ? 0.3f : 1.0f;
            UpdateEnemies();
            ++updates;
        }
        EXPECT_EQ(updates, c.updates) << c.estado;
    }
    fw::Delta = 1;

    // The body shows two updates of every three, and nothing at first.
    auto e = Put(ENEMY_DYING, 100, 40);
    std::vector<int> shown;
    for (int i = 0; i <= 36; ++i) {
        e->Frame_ind = i;
        const auto cells = CellsOf(*e);
        shown.push_back(cells.empty() ? -1 : cells[0]);
    }
    EXPECT_EQ(shown[0], -1);
    EXPECT_EQ(shown[1], 28);
    EXPECT_EQ(shown[2], 28);
    EXPECT_EQ(shown[3], -1);
    EXPECT_EQ(shown[10], 29);
    EXPECT_EQ(shown[19], 28);
    EXPECT_EQ(shown[35], 29);
    EXPECT_EQ(shown[36], -1);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), -1), 13);
    e->estado = ENEMY_DYING_GUARD;
    e->Frame_ind = 18;
    EXPECT_EQ(CellsOf(*e), std::vector<int>{});
    e->Frame_ind = 17;
    EXPECT_EQ(CellsOf(*e), std::vector<int>{37});
    e->Frame_ind = 20;
    EXPECT_EQ(CellsOf(*e), std::vector<int>{38});
}

TEST_F(EnemyTest, AHouseGuardShotDeadLeavesGuardList) {
    Begin(8);
    // By a burst, his own death; by a bullet, the plain death.  Either way
    // the body goes once the death is over.
    for (const bool bullet : {true, false}) {
        GuardList->Clear();
        ShotList->Clear();
        T_Enemigo::f_Create_Vigilante_Casa(100, 700);
        auto house = plat::As<T_Enemigo>(GuardList->First());
        house->y = static_cast<float>(ViewTop) + 40;
        house->num_balas = 0;
        house->baladelay_enemigos = 1000;
        if (bullet)
            HeroBullet(110, house->y + 10);
        else
            PutGrenade(104, house->y + 5);
        for (int i = 0; i < 36; ++i) UpdateGuards();
        EXPECT_EQ(GuardList->Count(), 1) << bullet;
        EXPECT_EQ(house->estado, bullet ? ENEMY_DYING : ENEMY_DYING_HOUSE_GUARD);
        UpdateGuards();
        EXPECT_TRUE(GuardList->IsEmpty()) << bullet;
    }
}

// --- aiming, rolls and pickers ------------------------------------------------------------------

TEST_F(EnemyTest, AimingByTheZonesOfShooterAndHero) {
    Begin();
    // The centre of a zone 1..10 of the view.
    auto at = [](int zone) { return std::make_pair(64 * ((zone - 1) % 5) + 32, zone <= 5 ? 40 : 120); };
    const struct { int shooter, hero, dir; } cases[] = {
        // The hero in the shooter's own zone: the table gives no exception.
        {1, 1, 6}, {3, 3, 8}, {5, 5, 8}, {6, 6, 3}, {8, 8, 8}, {10, 10, 4},
        // Across the view.
        {1, 5, 6}, {5, 1, 4}, {1, 10, 9}, {10, 1, 1}, {3, 8, 8}, {8, 3, 2}, {6, 1, 2}, {2, 6, 8},
        {4, 9, 8}, {9, 4, 2}, {3, 6, 7}, {6, 7, 6}, {7, 6, 4}, {2, 3, 6}, {4, 3, 4},
    };
    for (const auto& c : cases) {
        const auto [hx, hy] = at(c.hero);
        HeroAt(static_cast<float>(hx), static_cast<float>(hy));
        const auto [sx, sy] = at(c.shooter);
        EXPECT_EQ(AimDirectionFromZones(sx, sy), c.dir) << c.shooter << " -> " << c.hero;
    }
    // Zone bounds: x = 0 and each column's right edge belong to the column;
    // row 80 is the upper half, 81 the lower.
    HeroAt(300, 40);  // zone 5
    EXPECT_EQ(AimDirectionFromZones(0, 80), 6);     // zone 1
    EXPECT_EQ(AimDirectionFromZones(64, 80), 6);    // zone 1
    EXPECT_EQ(AimDirectionFromZones(65, 81), 3);    // zone 7
    // Beside the view a shooter counts as its edge column: never no aim.
    EXPECT_EQ(AimDirectionFromZones(-40, 40), 6);
    EXPECT_EQ(AimDirectionFromZones(400, 120), 1);  // zone 10
}

TEST_F(EnemyTest, BurstsAndSeriesAreRolledInTheOrderOfTheirDraws) {
    // Shots: one draw of 1..3 (2 gives none), then the size by stage.
    const struct { int stage, most; } shots[] = {{1, 3}, {4, 3}, {5, 4}, {8, 4}, {9, 5}, {0, 5}};
    for (const auto& c : shots) {
        Stage = c.stage;
        for (unsigned seed = 1; seed < 60; ++seed) {
            plat::SeedRnd(seed);
            const int r = plat::RandomInt(1, 3);
            const int want = r == 2 ? 0 : plat::RandomInt(1, c.most);
            plat::SeedRnd(seed);
            EXPECT_EQ(RollEnemyShot(), want) << c.stage << " " << seed;
        }
    }
    // Grenades: one draw of 1..4 (2 and 4 give none), then the size by stage.
    const struct { int stage, most; } grenades[] = {{1, 2}, {4, 2}, {5, 3}, {8, 3}, {9, 4}, {-3, 4}};
    for (const auto& c : grenades) {
        Stage = c.stage;
        for (unsigned seed = 1; seed < 60; ++seed) {
            plat::SeedRnd(seed);
            const int r = plat::RandomInt(1, 4);
            const int want = (r == 2 || r == 4) ? 0 : plat::RandomInt(1, c.most);
            plat::SeedRnd(seed);
            EXPECT_EQ(RollEnemyGrenade(), want) << c.stage << " " << seed;
        }
    }
}

TEST(EnemyPickers, EachDrawsOnceFromRandRange) {
    const struct { int (*pick)(); int odd, even; } pairs[] = {
        {RandomDir6or9, 6, 9}, {RandomDir4or7, 4, 7}, {RandomDir9or8, 9, 8}, {RandomDir7or8, 7, 8}};
    for (const auto& p : pairs) {
        for (unsigned seed = 1; seed < 40; ++seed) {
            fw::SeedRandRange(seed);
            const int r = fw::RandRange(1, 10);
            const int next = fw::RandRange(1, 10);
            fw::SeedRandRange(seed);
            EXPECT_EQ(p.pick(), r % 2 ? p.odd : p.even);
            EXPECT_EQ(fw::RandRange(1, 10), next);  // exactly one draw was taken
        }
    }
    for (unsigned seed = 1; seed < 40; ++seed) {
        fw::SeedRandRange(seed);
        const int r = fw::RandRange(1, 9);
        fw::SeedRandRange(seed);
        EXPECT_EQ(RandomDirDownward(), r <= 3 ? 8 : r <= 6 ? 7 : 9);
    }
}

// --- the passes -------------------------------------------------------------------------------

// A soldier that does something of the test's to the lists in its update.
class ActingSoldier : public T_Enemigo {
public:
    std::function<void(ActingSoldier&)> act;
    int updates = 0;
    void m_Update_enemigo() override {
        ++updates;
        if (act) act(*this);
    }
};

TEST_F(EnemyTest, APassGoesOnAfterRemovalsAndReachesSoldiersMadeDuringIt) {
    Begin();
    auto a = plat::New<ActingSoldier>();
    auto b = plat::New<ActingSoldier>();
    auto c = plat::New<ActingSoldier>();
    auto d = plat::New<ActingSoldier>();
    EnemyList->AddLast(plat::New<plat::Object>());  // not a soldier: skipped
    for (const auto& s : {a, b, c, d}) EnemyList->AddLast(s);
    // a removes itself, b removes c (the next one), d makes a new soldier.
    auto made = plat::New<ActingSoldier>();
    a->act = [](ActingSoldier& self) { EnemyList->Remove(self.shared_from_this()); };
    b->act = [&](ActingSoldier&) { EnemyList->Remove(c); };
    d->act = [&](ActingSoldier&) {
        if (!EnemyList->Contains(made)) EnemyList->AddLast(made);
    };
    UpdateEnemies();
    EXPECT_EQ(a->updates, 1);
    EXPECT_EQ(b->updates, 1);
    EXPECT_EQ(c->updates, 0);
    EXPECT_EQ(d->updates, 1);
    EXPECT_EQ(made->updates, 1);  // appended during the pass, updated by it
    EXPECT_EQ(EnemyList->Count(), 4);

    // RemoveTrenchSoldiers takes every trench soldier and nothing else.
    EnemyList->Clear();
    T_Enemigo::f_Create_Trinchero(10, 1, 100);
    T_Enemigo::f_Create_Vigilante(20, 2);
    T_Enemigo::f_Create_Trinchero(30, 3, 100);
    T_Enemigo::f_Create_Trinchero(40, 4, 100);
    RemoveTrenchSoldiers();
    ASSERT_EQ(EnemyList->Count(), 1);
    EXPECT_EQ(Last()->estado, ENEMY_GUARD);
}

TEST_F(EnemyTest, TouchingASoldierKillsTheHeroUnlessHeIsDyingPlainlyOrTheCaptive) {
    const struct { int estado; bool kills; } cases[] = {
        {ENEMY_RUNNER, true},        {ENEMY_GUARD, true},       {ENEMY_DYING_GUARD, true},
        {ENEMY_KIDNAPPER_SCORE, true}, {ENEMY_RIDER, true},     {ENEMY_DYING, false},
        {ENEMY_CAPTIVE, false},
    };
    for (const auto& c : cases) {
        Begin(4);
        GodMode = 0;
        auto e = Put(c.estado, Hero->x + 4, Hero->y - static_cast<float>(ViewTop) + 5);
        e->dir = 0;
        e->AnimDelay = 1000;
        Tick();
        EXPECT_EQ(Hero->estado == HERO_SHOT, c.kills) << c.estado;
    }
    // Box edges: the soldier's box is (x + 6, y + 6, 12, 9), the hero's
    // (x + 6, y + 4, 12, 12).
    Begin(4);
    GodMode = 0;
    EXPECT_FALSE(EnemyTouchesHero(100, 100, 12, 12));  // nobody there
    Put(ENEMY_RUNNER, 106, 0)->y = 82;  // box 112..124 x 88..97
    EXPECT_TRUE(EnemyTouchesHero(100, 97, 12, 12));  // touching at the corner
    EXPECT_TRUE(EnemyTouchesHero(124, 88, 12, 12));
    EXPECT_FALSE(EnemyTouchesHero(125, 88, 12, 12));
    EXPECT_FALSE(EnemyTouchesHero(100, 98, 12, 12));
    // House guards in GuardList are never touched.
    EnemyList->Clear();
    T_Enemigo::f_Create_Vigilante_Casa(Hero->x, 0);
    plat::As<T_Enemigo>(GuardList->First())->y = Hero->y;
    EXPECT_FALSE(EnemyTouchesHero(static_cast<int>(Hero->x + 6), static_cast<int>(Hero->y + 4), 12, 12));
}

// --- drawing ------------------------------------------------------------------------------------

TEST_F(EnemyTest, EachStateDrawsItsCell) {
    Begin();
    const struct Case {
        const char* what;
        std::function<void(T_Enemigo&)> set;
        std::vector<int> cells;
    } cases[] = {
        {"runner up-left", [](T_Enemigo& e) { e.estado = 6; e.facing = 1; e.Frame_ind = 1; }, {18}},
        {"runner up", [](T_Enemigo& e) { e.estado = 6; e.facing = 2; }, {0}},
        {"runner up-right", [](T_Enemigo& e) { e.estado = 6; e.facing = 3; e.Frame_ind = 2; }, {16}},
        {"runner left", [](T_Enemigo& e) { e.estado = 6; e.facing = 4; }, {48}},
        {"runner right", [](T_Enemigo& e) { e.estado = 6; e.facing = 6; e.Frame_ind = 2; }, {54}},
        {"runner down-left", [](T_Enemigo& e) { e.estado = 6; e.facing = 7; }, {9}},
        {"runner down", [](T_Enemigo& e) { e.estado = 6; e.facing = 8; e.Frame_ind = 1; }, {4}},
        {"runner down-right", [](T_Enemigo& e) { e.estado = 6; e.facing = 9; }, {6}},
        {"runner no facing", [](T_Enemigo& e) { e.estado = 6; e.facing = 0; }, {}},
        {"hill runner", [](T_Enemigo& e) { e.estado = 37; e.facing = 4; e.Frame_ind = 1; }, {49}},
        {"grenadier waiting", [](T_Enemigo& e) { e.estado = 3; e.facing = 5; }, {56}},
        {"grenadier throwing", [](T_Enemigo& e) { e.estado = 3; e.facing = 5; e.Frame_indgr = 1; }, {57}},
        {"cannon right", [](T_Enemigo& e) { e.estado = 1; e.dir = 6; e.Frame_ind = 1; }, {40}},
        {"cannon left", [](T_Enemigo& e) { e.estado = 1; e.dir = 4; }, {42}},
        {"cannon no side", [](T_Enemigo& e) { e.estado = 1; e.dir = 8; }, {}},
        {"bazooka", [](T_Enemigo& e) { e.estado = 2; e.Frame_ind = 2; }, {60}},
        {"jumper running left",
         [](T_Enemigo& e) { e.estado = 5; e.dir = 4; e.max_corre_saltador = 30; e.xplus = 10; e.corre_pix = 40; e.Frame_ind = 2; },
         {50}},
        {"jumper in the air left",
         [](T_Enemigo& e) { e.estado = 5; e.dir = 4; e.max_corre_saltador = 30; e.xplus = 10; e.corre_pix = 40.5f; e.Frame_ind = 1; },
         {33}},
        {"jumper in the air right",
         [](T_Enemigo& e) { e.estado = 5; e.dir = 6; e.max_corre_saltador = 30; e.xplus = 10; e.corre_pix = 20.5f; },
         {45}},
        {"guard down-left", [](T_Enemigo& e) { e.estado = 7; e.facing = 7; }, {36}},
        {"guard down", [](T_Enemigo& e) { e.estado = 7; e.facing = 8; }, {34}},
        {"swimmer down-right", [](T_Enemigo& e) { e.estado = 28; e.facing = 9; }, {35}},
        {"house guard aiming up", [](T_Enemigo& e) { e.estado = 33; e.facing = 2; }, {}},
        {"kidnapper", [](T_Enemigo& e) { e.estado = 8; e.Frame_ind = 1; }, {31}},
        {"captive", [](T_Enemigo& e) { e.estado = 9; }, {39}},
        {"captive freed", [](T_Enemigo& e) { e.estado = 9; e.libre = 1; e.Frame_ind = 1; }, {42}},
        {"bridge soldier left", [](T_Enemigo& e) { e.estado = 10; e.dir = 4; }, {48}},
        {"bridge soldier right", [](T_Enemigo& e) { e.estado = 10; e.dir = 6; e.Frame_ind = 1; }, {53}},
        {"rider riding in", [](T_Enemigo& e) { e.estado = 11; e.corre_pix = 183; }, {20, 21}},
        {"rider throwing", [](T_Enemigo& e) { e.estado = 11; e.corre_pix = 184; e.Frame_indgr = 1; }, {24, 25}},
        {"verde left", [](T_Enemigo& e) { e.estado = 12; e.dir = 7; e.Frame_ind = 1; }, {69}},
        {"verde right", [](T_Enemigo& e) { e.estado = 12; e.dir = 3; }, {78}},
        {"gate soldier", [](T_Enemigo& e) { e.estado = 13; e.Frame_ind = 2; }, {5}},
        {"kidnapper score", [](T_Enemigo& e) { e.estado = 14; }, {44}},
        {"verde score", [](T_Enemigo& e) { e.estado = 15; }, {43}},
        {"bridge grenadier left", [](T_Enemigo& e) { e.estado = 18; e.facing = 4; }, {48}},
        {"bridge grenadier throwing", [](T_Enemigo& e) { e.estado = 18; e.facing = 5; e.Frame_indgr = 1; }, {57}},
        {"trench down", [](T_Enemigo& e) { e.estado = 19; e.estado_trinchero = 20; }, {65}},
        {"trench half up", [](T_Enemigo& e) { e.estado = 19; e.estado_trinchero = 21; }, {66}},
        {"trench up", [](T_Enemigo& e) { e.estado = 19; e.estado_trinchero = 22; e.facing = 9; }, {35}},
        {"lorry jumper", [](T_Enemigo& e) { e.estado = 32; e.Frame_ind = 1; }, {46}},
        {"no such state", [](T_Enemigo& e) { e.estado = 17; }, {}},
    };
    for (const Case& c : cases) {
        T_Enemigo e;
        e.x = 100;
        e.y = static_cast<float>(ViewTop) + 50;
        c.set(e);
        EXPECT_EQ(CellsOf(e), c.cells) << c.what;
    }
    // At the soldier's place in the play field; the rider's second cell 24
    // pixels to the right.
    T_Enemigo rider;
    rider.estado = ENEMY_RIDER;
    rider.x = 100;
    rider.y = static_cast<float>(ViewTop) + 50;
    plat::StartRecording();
    plat::ClearRecordedCalls();
    rider.m_Draw_enemigo();
    const auto calls = plat::RecordedCalls();
    plat::StopRecording();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FLOAT_EQ(calls[0].x, 100);
    EXPECT_FLOAT_EQ(calls[0].y, 76);
    EXPECT_FLOAT_EQ(calls[1].x, 124);
    EXPECT_EQ(calls[0].image, EnemyImage.get());
}

}  // namespace
}  // namespace playtest
