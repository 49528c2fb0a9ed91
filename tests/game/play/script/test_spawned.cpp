// What the level script asks before it makes an actor (the spawned-at tests
// and the spawn markers), and the idle grenadier sent to a player who stands
// still.

#include <functional>
#include <set>

#include "game/play/script/idle_grenadier.h"
#include "game/play/script/spawned.h"
#include "tests/game/play/enemies/enemy_fixture.h"

namespace playtest {
namespace {

using namespace game;

// An actor of another class that carries a creation key too.
struct OtherKeyed : plat::Object {
    int py_creado = 0;
};

TEST_F(EnemyTest, TheSpawnedAtTestsLookForTheKeyInTheirListAndClass) {
    Begin(4);
    EXPECT_EQ(EnemySpawnedAt(1390), 0);
    T_Enemigo::f_Create_Corredor(172, 1390);
    auto other = plat::New<OtherKeyed>();
    other->py_creado = 4921;
    EnemyList->AddLast(other);
    T_Enemigo::f_Create_Vigilante_Casa(45, 791);
    EXPECT_EQ(EnemySpawnedAt(1390), 1);
    EXPECT_EQ(EnemySpawnedAt(4921), 0);  // not a soldier
    EXPECT_EQ(SpawnedIn<OtherKeyed>(*EnemyList, 4921), 1);
    EXPECT_EQ(EnemySpawnedAt(791), 0);  // house guards are in GuardList
    EXPECT_EQ(ExtraEnemySpawnedAt(791), 1);
    EXPECT_EQ(ExtraEnemySpawnedAt(1390), 0);
    // A dying soldier is still there; a gone one is not.
    auto runner = plat::As<T_Enemigo>(EnemyList->First());
    runner->estado = ENEMY_DYING;
    EXPECT_EQ(EnemySpawnedAt(1390), 1);
    EnemyList->Remove(runner);
    EXPECT_EQ(EnemySpawnedAt(1390), 0);
    // Two soldiers of one row with keys row * 10 + 1 and + 2 are told apart.
    T_Enemigo::f_Create_Vigilante(20, 4921);
    EXPECT_EQ(EnemySpawnedAt(4921), 1);
    EXPECT_EQ(EnemySpawnedAt(4922), 0);
}

TEST(SpawnMarkers, SixteenSlotsAreWrittenAndTwentyRead) {
    ResetRunState();
    for (int i = 1; i <= 17; ++i) AddSpawnMarker(-i);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(SpawnMarkers[static_cast<std::size_t>(i)], -(i + 1));
    EXPECT_EQ(SpawnMarkerSet(-16), 1);
    EXPECT_EQ(SpawnMarkerSet(-17), 0);  // no slot was left for it
    for (int i = 16; i < 20; ++i) EXPECT_EQ(SpawnMarkers[static_cast<std::size_t>(i)], 0);
    // The first empty slot is filled first.
    SpawnMarkers[4] = 0;
    AddSpawnMarker(-30);
    EXPECT_EQ(SpawnMarkers[4], -30);
    // All twenty slots are read.
    SpawnMarkers[18] = -40;
    EXPECT_EQ(SpawnMarkerSet(-40), 1);
    // An area's start clears slots 0 to 15.
    ResetSpawnScript();
    EXPECT_EQ(SpawnMarkerSet(-30), 0);
    EXPECT_EQ(SpawnMarkerSet(-40), 1);
    ResetRunState();
}

TEST_F(EnemyTest, TheIdleGrenadierComesFromTheFirstOpenPlace) {
    Begin();
    // Which of the four places are walled: where he comes from then.
    const struct { int walls; int dy, side; float x; } cases[] = {
        {0, 21, 4, 318}, {1, 21, 6, 0}, {2, 120, 4, 318}, {3, 130, 6, 0}, {4, 0, 0, 0},
    };
    const struct { int x, dy; } places[] = {{310, 21}, {10, 21}, {310, 120}, {10, 130}};
    for (const auto& c : cases) {
        EnemyList->Clear();
        Paint(*map_, 0, 0, 320, 800, 0);
        for (int i = 0; i < c.walls; ++i) Paint(*map_, places[i].x, ViewTop + places[i].dy, 1, 1, 1);
        PlayClock = 10000;
        LastScrollTime = 6999;
        RunIdleGrenadier();
        EXPECT_EQ(LastScrollTime, 10000);  // the three seconds start again, made or not
        if (c.walls == 4) {
            EXPECT_TRUE(EnemyList->IsEmpty());
            continue;
        }
        ASSERT_EQ(EnemyList->Count(), 1) << c.walls;
        EXPECT_EQ(Last()->estado, ENEMY_GRENADIER);
        EXPECT_FLOAT_EQ(Last()->y, static_cast<float>(ViewTop + c.dy)) << c.walls;
        EXPECT_EQ(Last()->py_creado, ViewTop + c.dy);
        EXPECT_EQ(Last()->dir, c.side) << c.walls;
        EXPECT_FLOAT_EQ(Last()->x, c.x);
    }
    Paint(*map_, 0, 0, 320, 800, 0);

    // More than 3000 ms either way, and the view below its last 30 rows.
    const struct { double play, last; int view; bool comes; } clocks[] = {
        {10000, 7000, 624, false}, {10000, 6999.5, 624, true}, {7000, 10000.5, 624, true},
        {10000, 0, 31, true},      {10000, 0, 30, false},      {10000, 0, 0, false},
    };
    for (const auto& c : clocks) {
        EnemyList->Clear();
        PlayClock = c.play;
        LastScrollTime = c.last;
        ViewTop = c.view;
        RunIdleGrenadier();
        EXPECT_EQ(EnemyList->Count(), c.comes ? 1 : 0) << c.play << " " << c.last << " " << c.view;
    }
}

// The ticks on which soldiers new to EnemyList appeared.
std::vector<int> NewSoldiers(const std::function<void()>& tick, int ticks) {
    std::set<const plat::Object*> seen;
    std::vector<int> at;
    for (int t = 0; t < ticks; ++t) {
        tick();
        for (const auto& o : *EnemyList)
            if (seen.insert(o.get()).second) at.push_back(t);
    }
    return at;
}

TEST_F(EnemyTest, StandingStillBringsAGrenadierEveryThreeSecondsWalkingUpDoesNot) {
    Begin();
    // The play clock moves 5 ms a tick: more than 3000 ms after the start
    // on tick 601, then every 601 ticks.
    EXPECT_EQ(NewSoldiers([this] { Tick(); }, 1900), (std::vector<int>{601, 1202, 1803}));

    // Pushing the view up keeps the grenadiers away (on an area without a
    // rule chain, which would bring soldiers of its own).
    Begin(0);
    Hold(UpKeys[1]);
    EXPECT_TRUE(NewSoldiers([this] { Tick(); }, 1900).empty());
    Release(UpKeys[1]);
}

TEST_F(PlayTest, OnAreaOneAStandingHeroMeetsGrenadiersThatThrowAndDieWhenShot) {
    StartArea(1);
    Frame();
    GodMode = 1;  // he only watches
    int ticks = 0;
    while (EnemyList->IsEmpty() && ticks < 700) {
        Tick();
        Frame();
        ++ticks;
    }
    EXPECT_EQ(ticks, 602);
    ASSERT_EQ(EnemyList->Count(), 1);
    EXPECT_EQ(plat::As<T_Enemigo>(EnemyList->First())->estado, ENEMY_GRENADIER);
    // They walk their legs, and before long one throws at the hero.
    bool threw = false;
    for (int i = 0; i < 12000 && !threw; ++i) {
        Tick();
        Frame();
        for (const auto& o : *ShotList)
            if (auto gr = plat::As<T_Granada>(o); gr && gr->owned == GRANADA_ENEMY) threw = true;
    }
    EXPECT_TRUE(threw);
    // A bullet of the hero on one: 300, a flickering death, gone.
    plat::Ref<T_Enemigo> g;
    for (const auto& o : *EnemyList)
        if (auto e = plat::As<T_Enemigo>(o); e && e->estado == ENEMY_GRENADIER) g = e;
    ASSERT_TRUE(g);
    auto b = plat::New<T_Bala>();
    b->owned = BALA_HERO;
    b->dir = DIR_RIGHT;
    b->x = g->x + 10;
    b->y = g->y + 10;
    b->xfinalbala = 320;
    ShotList->AddLast(b);
    const int score = Score;
    Tick();
    EXPECT_EQ(Score, score + 300);
    EXPECT_EQ(g->estado, ENEMY_DYING);
    int left = 0;
    while (EnemyList->Contains(g) && left < 100) {
        Tick();
        ++left;
    }
    EXPECT_EQ(left, 36);
}

}  // namespace
}  // namespace playtest
