// The area tables as the game reads them (generated from assets/areas/):
// the chains of the eight areas, the shapes a rule takes, and the actors an
// area starts with.

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/script/area_tables.h"
#include "game/play/script/make_actor.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

TEST(AreaTables, EveryAreaHasItsChainAndNothingOutsideOneToEight) {
    const std::size_t rules[] = {0, 54, 44, 49, 49, 61, 50, 54, 61};
    for (int level = 0; level <= 9; ++level) {
        const AreaTables& area = AreaTablesOf(level);
        EXPECT_EQ(area.spawns.size(), level <= 8 ? rules[level] : 0u) << level;
        EXPECT_EQ(IsFortressArea(level), level == 4 || level == 8) << level;
    }
    EXPECT_TRUE(AreaTablesOf(-1).checkpoints.empty());

    // A window with the late-stage condition, an exact row, a picker with a
    // door soldier of random kind, a house guard's test.
    const SpawnRule& late = AreaTablesOf(1).spawns[1];
    EXPECT_EQ(late.lo, 1327);
    EXPECT_EQ(late.hi, 1369);
    EXPECT_EQ(late.test, SpawnTest::Enemy);
    EXPECT_EQ(late.key, 1369);
    EXPECT_TRUE(late.stageAbove8);
    EXPECT_EQ(late.call.kind, Creation::Corredor);
    EXPECT_EQ(late.call.argc, 2);
    EXPECT_EQ(late.call.args[0], 80);
    const SpawnRule& exact = AreaTablesOf(1).spawns[9];
    EXPECT_EQ(exact.lo, exact.hi);
    EXPECT_EQ(exact.test, SpawnTest::Pickup);
    const SpawnRule& door = AreaTablesOf(7).spawns[0];
    EXPECT_EQ(door.call.kind, Creation::DoorSoldier);
    EXPECT_EQ(door.call.picker, Picker::Dir9or8);
    EXPECT_EQ(AreaTablesOf(4).spawns[45].test, SpawnTest::Guard);
}

TEST_F(PlayTest, AnAreaStartsWithItsHutsThenItsStartActors) {
    auto soldier = [](int i) { return plat::As<T_Enemigo>(EnemyList->ToArray().at(static_cast<std::size_t>(i))); };
    auto map = MakeMap(100);
    StartOnMap(map, 2);
    EXPECT_TRUE(EnemyList->IsEmpty());
    std::vector<std::pair<int, int>> huts;
    for (const auto& o : *HutList)
        if (auto hut = plat::As<T_Caseta>(o)) huts.emplace_back(hut->py_creado, hut->lugar);
    EXPECT_EQ(huts, (std::vector<std::pair<int, int>>{{512, 4}, {345, 6}, {240, 4}}));
    // Area 8: the two guards by the fortress.
    StartOnMap(map, 8);
    EXPECT_TRUE(HutList->IsEmpty());
    ASSERT_EQ(EnemyList->Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(soldier(i)->estado, ENEMY_GUARD);
        EXPECT_FLOAT_EQ(soldier(i)->x, i == 0 ? 105.0f : 150.0f);
        EXPECT_FLOAT_EQ(soldier(i)->y, 1601.0f);
        EXPECT_EQ(soldier(i)->py_creado, 1616);
    }
    // Area 7: a runner from the door, heading down-right or down.
    StartOnMap(map, 7);
    ASSERT_EQ(EnemyList->Count(), 1);
    EXPECT_EQ(soldier(0)->estado, ENEMY_RUNNER);
    EXPECT_TRUE(soldier(0)->dir == DIR_DOWN_RIGHT || soldier(0)->dir == DIR_DOWN) << soldier(0)->dir;
}

}  // namespace
}  // namespace playtest
