// The level script tick by tick: the rule chains of the eight areas against
// their tables and the actors their calls make, windows and exact rows,
// actors made again after a death, several rules on one tick, the late
// rules, the door soldiers of random kind, area 6's trench soldiers, and
// the gate wave with its pauses, verde soldier, extra grenadiers, side doors
// and the exit it opens.

#include <map>
#include <set>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/pickups.h"
#include "game/play/script/area_tables.h"
#include "game/play/script/make_actor.h"
#include "game/play/script/spawn_script.h"
#include "game/play/script/spawned.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

// The number of arguments each creation function takes.
int Arity(Creation kind) {
    switch (kind) {
    case Creation::Motero: case Creation::Granadero_puente: case Creation::v_Ametralladora:
    case Creation::v_Baja: case Creation::v_Moto: case Creation::v_Moto_izq: case Creation::v_Camion:
        return 1;
    case Creation::Corredor: case Creation::Granadero: case Creation::Saltador_Camion: case Creation::Vigilante:
    case Creation::Vigilante_Ini: case Creation::Acuatico: case Creation::Vigilante_Casa:
    case Creation::Secuestradores: case Creation::Bazookero: case Creation::v_Jeep: case Creation::pack_gr:
    case Creation::Caseta: case Creation::fuego:
        return 2;
    case Creation::Canyonero: case Creation::Corredor_puerta: case Creation::Corredor_montanya_l6:
    case Creation::Granadero_puerta: case Creation::Trinchero: case Creation::Trinchero_Ini:
    case Creation::Puentero: case Creation::DoorSoldier:
        return 3;
    case Creation::Saltador: case Creation::Verde: case Creation::Sale_de_Puerta:
        return 4;
    }
    return -1;
}

class ScriptTest : public PlayTest {
protected:
    void Begin(int level, int rows = 220) {
        StartOnMap(MakeMap(rows), level);
        Frame();
        GodMode = 1;
        Clear();
    }
    static void Clear() {
        EnemyList->Clear();
        ShotList->Clear();
        GuardList->Clear();
        HutList->Clear();
    }
    static std::vector<int> EnemyKeys() {
        std::vector<int> keys;
        for (const auto& o : *EnemyList)
            if (auto e = plat::As<T_Enemigo>(o)) keys.push_back(e->py_creado);
        return keys;
    }
    // The chain run once at `view`; the indices of the rules that fired.
    static std::vector<std::size_t> ChainAt(int view) {
        ViewTop = view;
        std::vector<bool> fired(AreaTablesOf(Level).spawns.size(), false);
        RecordFiredRules(&fired);
        RunAreaChain();
        RecordFiredRules(nullptr);
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < fired.size(); ++i)
            if (fired[i]) out.push_back(i);
        return out;
    }
    static int Actors() { return EnemyList->Count() + ShotList->Count() + GuardList->Count(); }
};

TEST(SpawnTables, EveryCallTakesItsCreationFunctionsArguments) {
    auto check = [](const CreationCall& c, const std::string& where) {
        EXPECT_EQ(c.argc, Arity(c.kind)) << where;
        // A picker gives the direction, always the last argument, and only
        // to calls that take one.
        if (c.picker != Picker::None) {
            EXPECT_TRUE(c.kind == Creation::DoorSoldier || c.kind == Creation::Corredor_puerta ||
                        c.kind == Creation::Granadero_puerta || c.kind == Creation::Corredor_montanya_l6 ||
                        c.kind == Creation::Canyonero)
                << where;
        }
    };
    for (int level = 1; level <= 8; ++level) {
        const AreaTables& area = AreaTablesOf(level);
        const std::string name = "area " + std::to_string(level);
        for (std::size_t i = 0; i < area.spawns.size(); ++i) {
            const SpawnRule& r = area.spawns[i];
            const std::string where = name + " rule " + std::to_string(i + 1);
            check(r.call, where);
            EXPECT_LE(r.lo, r.hi) << where;
            EXPECT_GT(r.lo, 0) << where;  // the chain runs only below the top
        }
        for (const auto& band : area.checkpoints)
            for (const auto& c : band.calls) check(c, name + " checkpoint");
        for (const auto& c : area.startActors) check(c, name + " start");
        for (const auto& c : area.huts) check(c, name + " huts");
        const GateTable& gate = area.gate;
        check(gate.verde, name + " verde");
        EXPECT_EQ(gate.verde.kind, Creation::Verde) << name;
        EXPECT_EQ(gate.verde.args[2], gate.verdeAt) << name << ": the verde soldier's key is its counter";
        EXPECT_LT(gate.waitLo, gate.waitHi) << name;
        for (const auto& e : gate.extras) {
            check(e.call, name + " extra");
            EXPECT_EQ(e.call.kind, Creation::Granadero) << name;
            if (e.either) {
                EXPECT_EQ(e.other.kind, Creation::Granadero) << name;
            }
            EXPECT_TRUE(e.counter == -5 || e.counter == -10 || e.counter == -15) << name << " " << e.counter;
        }
        EXPECT_EQ(gate.doors.empty(), level != 2) << name;
    }
    // Area 1's runner between its rules 49 and 50.
    const SpawnRule& runner = AreaTablesOf(1).spawns[49];
    EXPECT_EQ(runner.lo, 78);
    EXPECT_EQ(runner.hi, 120);
    EXPECT_EQ(runner.key, 120);
    EXPECT_EQ(runner.call.kind, Creation::Corredor);
    EXPECT_EQ(runner.call.args[0], 100);
}

// At every view of every area, with nothing alive, exactly the rules whose
// rows hold the view fire (the late ones only from stage 9, a key two rules
// share only for the first), each makes an actor its own test finds by its
// key, and a second run at the same view makes nothing more.
TEST_F(ScriptTest, AtEveryViewExactlyTheRulesOfThatRowFireOnce) {
    for (int level = 1; level <= 8; ++level) {
        Begin(level);
        const auto rules = AreaTablesOf(level).spawns;
        int top = 0;
        for (const auto& r : rules) top = std::max(top, r.hi);
        for (int stage : {1, 9}) {
            Stage = stage;
            int fires = 0;
            for (int view = 1; view <= top + 1; ++view) {
                Clear();
                std::vector<std::size_t> expected;
                std::set<std::pair<int, int>> taken;
                for (std::size_t i = 0; i < rules.size(); ++i) {
                    const SpawnRule& r = rules[i];
                    if (r.lo <= view && view <= r.hi && (!r.stageAbove8 || stage > 8) &&
                        taken.insert({static_cast<int>(r.test), r.key}).second)
                        expected.push_back(i);
                }
                const auto fired = ChainAt(view);
                ASSERT_EQ(fired, expected) << "area " << level << " stage " << stage << " view " << view;
                for (std::size_t i : fired)
                    EXPECT_EQ(SpawnedAt(rules[i].test, rules[i].key), 1)
                        << "area " << level << " rule " << i + 1 << ": its actor has another key or list";
                const int made = Actors();
                EXPECT_TRUE(ChainAt(view).empty()) << "area " << level << " view " << view;
                EXPECT_EQ(Actors(), made) << "area " << level << " view " << view;
                fires += static_cast<int>(fired.size());
            }
            EXPECT_GT(fires, 0);
        }
    }
}

TEST_F(ScriptTest, WindowsAndExactRowsMakeTheirActorAgainOnlyWhileTheyHold) {
    Begin(1);
    // Rule 1 (1348..1390, a runner keyed 1390) and rule 9 (= 1146, a guard),
    // each killed (gone from the list) between the runs.
    const struct {
        int view;
        int key;
        bool made;
    } steps[] = {
        {1391, 1390, false}, {1390, 1390, true}, {1360, 1390, true}, {1348, 1390, true}, {1347, 1390, false},
        {1147, 1146, false}, {1146, 1146, true}, {1146, 1146, true}, {1145, 1146, false},
    };
    for (const auto& s : steps) {
        Clear();
        ViewTop = s.view;
        RunAreaChain();
        EXPECT_EQ(EnemySpawnedAt(s.key), s.made ? 1 : 0) << s.view;
    }
    // While he lives the rule keeps still; once he is gone it makes him again.
    Clear();
    ViewTop = 1370;
    RunAreaChain();
    const auto first = EnemyList->Last();
    RunAreaChain();
    EXPECT_EQ(EnemyList->Last(), first);
    EnemyList->Remove(first);
    RunAreaChain();
    EXPECT_EQ(EnemySpawnedAt(1390), 1);
    EXPECT_NE(EnemyList->Last(), first);
}

TEST_F(ScriptTest, ThreeGuardsOfOneRowComeOnOneTickAndOnlyTheDeadOneComesBack) {
    Begin(1);
    ViewTop = 493;
    RunAreaChain();  // one row below: only the runner of rule 32 (480..520)
    EXPECT_EQ(EnemyKeys(), (std::vector<int>{520}));
    ViewTop = 492;
    RunAreaChain();
    EXPECT_EQ(EnemyKeys(), (std::vector<int>{520, 4921, 4922, 4923}));
    std::vector<float> xs;
    for (const auto& o : *EnemyList)
        if (auto e = plat::As<T_Enemigo>(o); e->estado == ENEMY_GUARD) xs.push_back(e->x);
    EXPECT_EQ(xs, (std::vector<float>{20, 140, 260}));
    EnemyList->Remove(EnemyList->ToArray().at(2));  // the middle guard is shot
    RunAreaChain();
    EXPECT_EQ(EnemyKeys(), (std::vector<int>{520, 4921, 4923, 4922}));
    // The same in the whole tick: the guards stand and are still there.
    Clear();
    Tick();
    EXPECT_EQ(EnemyKeys(), (std::vector<int>{520, 4921, 4922, 4923}));
}

TEST_F(ScriptTest, LateRulesComeOnlyFromTheNinthAreaPlayed) {
    Begin(1);
    // Area 1 rules 2 (1327..1369) and 31 (514..554): runners of the later
    // rounds.
    for (int stage : {1, 8, 9, 12})
        for (int view : {1369, 554}) {
            Clear();
            Stage = stage;
            ViewTop = view;
            RunAreaChain();
            EXPECT_EQ(EnemySpawnedAt(view), stage > 8 ? 1 : 0) << stage << " " << view;
        }
    // The gate wave's late grenadiers likewise: area 3 at -5 makes (125, 6)
    // only from stage 9, (65, 4) always.
    for (int stage : {8, 9}) {
        Begin(3);
        Stage = stage;
        ViewTop = 0;
        GateWaveCounter = -4;
        TopClock = LastGateSpawnMs + 100000;
        RunGateWave();
        std::vector<int> rows;
        for (const auto& o : *EnemyList)
            if (auto e = plat::As<T_Enemigo>(o); e->estado == ENEMY_GRENADIER) rows.push_back(e->py_creado);
        EXPECT_EQ(rows, stage > 8 ? (std::vector<int>{125, 65}) : (std::vector<int>{65})) << stage;
    }
}

TEST_F(ScriptTest, ADoorSoldierTakesItsDirectionFirstThenItsKindByTheRoll) {
    Begin(7);
    // Area 7's first rule: 1444..1504, a door soldier at (28, 1504) heading
    // down-right or down.
    const SpawnRule& rule = AreaTablesOf(7).spawns[0];
    ASSERT_EQ(rule.call.kind, Creation::DoorSoldier);
    std::set<int> kinds;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        fw::SeedRandRange(seed);
        const int dir = RandomDir9or8();
        const bool runner = fw::RandRange(1, 10) % 2 == 0;
        fw::SeedRandRange(seed);
        Clear();
        ViewTop = rule.hi;
        RunAreaChain();
        auto e = plat::As<T_Enemigo>(EnemyList->First());
        ASSERT_TRUE(e);
        EXPECT_EQ(e->estado, runner ? ENEMY_RUNNER : ENEMY_GRENADIER) << seed;
        EXPECT_EQ(e->dir, dir) << seed;
        EXPECT_FLOAT_EQ(e->x, 28);
        EXPECT_EQ(e->py_creado, rule.key);
        kinds.insert(e->estado);
    }
    EXPECT_EQ(kinds.size(), 2u);  // both kinds come
}

TEST_F(ScriptTest, AreaSixClearsItsTrenchesWhenTheViewReachesRowOne) {
    for (int level : {6, 2}) {
        Begin(level);
        ViewTop = 40;
        // Trench soldiers among a guard, a runner, a grenadier and a vehicle.
        T_Enemigo::f_Create_Trinchero(100, 40, 200);
        T_Enemigo::f_Create_Vigilante(60, 40);
        T_Enemigo::f_Create_Trinchero(200, 41, 200);
        T_Enemigo::f_Create_Trinchero(250, 42, 200);
        T_Enemigo::f_Create_Corredor(120, 43);
        T_Vehiculo_Enemigo::f_Create_v_Moto(44);
        T_Enemigo::f_Create_Granadero(45, 4);
        T_Enemigo::f_Create_Trinchero(30, 46, 200);
        const auto before = EnemyList->ToArray();
        ViewTop = 2;
        RunSpawnScript();
        EXPECT_EQ(EnemyList->ToArray(), before);
        ViewTop = 1;
        RunSpawnScript();
        // Exactly the trench soldiers go; the rest stay, in their order.
        std::vector<plat::Ref<plat::Object>> rest;
        for (const auto& o : before) {
            const auto e = plat::As<T_Enemigo>(o);
            if (level != 6 || !e || e->estado != ENEMY_TRENCH) rest.push_back(o);
        }
        EXPECT_EQ(rest.size(), level == 6 ? 4u : 8u);
        EXPECT_EQ(EnemyList->ToArray(), rest) << level;
    }
}

// --- the gate wave ------------------------------------------------------------------

// One actor the gate wave made, as text.
std::string Describe(const T_Enemigo& e) {
    const auto n = [](float v) { return std::to_string(static_cast<int>(v)); };
    switch (e.estado) {
    case ENEMY_LEAVING_GATE: return "Gate(" + std::to_string(e.py_creado) + "," + std::to_string(e.newestado) + ")";
    case ENEMY_VERDE:
        return "Verde(" + n(e.x) + "," + n(e.y) + "," + std::to_string(e.py_creado) + "," + std::to_string(e.dir) + ")";
    case ENEMY_GRENADIER:
        return "Gren(" + n(e.x) + "," + std::to_string(e.py_creado) + "," + std::to_string(e.dir) + ")";
    case ENEMY_RUNNER: return "Runner(" + n(e.x) + "," + std::to_string(e.py_creado) + "," + std::to_string(e.dir) + ")";
    default: return "Soldier";
    }
}

class GateTest : public ScriptTest {
protected:
    // The view at the top of `level`, the wave not begun.
    void Top(int level, int stage = 1) {
        Begin(level);
        Stage = stage;
        ViewTop = 0;
    }
    // Steps of the wave, each long enough after the last, with the soldiers
    // of each step taken away after it; the steps that made anything.
    std::vector<std::string> Wave() {
        std::vector<std::string> steps;
        for (int i = 0; i < 40 && GateWaveCounter > -16; ++i) {
            TopClock = LastGateSpawnMs + 2001;
            RunGateWave();
            std::string step;
            for (const auto& o : *EnemyList)
                if (auto e = plat::As<T_Enemigo>(o)) step += (step.empty() ? "" : " ") + Describe(*e);
            EnemyList->Clear();
            if (!step.empty()) steps.push_back(step);
        }
        return steps;
    }
};

TEST_F(GateTest, AreaOneSendsFourteenGateSoldiersTheVerdeSoldierAndAGrenadierEveryFifthStep) {
    Top(1);
    GateNextKind = ENEMY_RUNNER;
    const auto steps = Wave();
    ASSERT_EQ(steps.size(), 15u);
    EXPECT_EQ(GateWaveCounter, -16);
    EXPECT_EQ(steps[1], "Verde(176,0,-2,7)");
    // The kind a gate soldier takes alternates from step to step, the verde
    // step included: runner, (verde), runner, grenadier, runner, ...
    EXPECT_EQ(steps[0], "Gate(-1,6)");
    EXPECT_EQ(steps[2], "Gate(-3,6)");
    EXPECT_EQ(steps[3].substr(0, 10), "Gate(-4,3)");
    for (int i : {3, 8, 13}) {  // the steps that lower the counter to -5, -10, -15
        const std::string gren = steps[static_cast<std::size_t>(i)].substr(steps[static_cast<std::size_t>(i)].find(' ') + 1);
        EXPECT_TRUE(gren == "Gren(0,80,6)" || gren == "Gren(318,90,4)") << gren;
    }
    int grenadiers = 0;
    for (const auto& s : steps) grenadiers += s.find("Gren") != std::string::npos ? 1 : 0;
    EXPECT_EQ(grenadiers, 3);
    // Fifteen changes: the next wave (any area but 2) begins with grenadiers.
    EXPECT_EQ(GateNextKind, ENEMY_GRENADIER);
    // A finished wave makes nothing more.
    TopClock += 100000;
    RunGateWave();
    EXPECT_TRUE(EnemyList->IsEmpty());
}

TEST_F(GateTest, AreaOnesExtraGrenadierIsChosenByAnEvenOrOddRoll) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Top(1);
        GateWaveCounter = -4;  // this step lowers it to -5
        TopClock = LastGateSpawnMs + 5000;
        fw::SeedRandRange(seed);
        fw::RandRange(750, 2000);  // the step's pause
        const bool even = fw::RandRange(1, 10) % 2 == 0;
        fw::SeedRandRange(seed);
        RunGateWave();
        ASSERT_EQ(EnemyList->Count(), 2);
        EXPECT_EQ(Describe(*plat::As<T_Enemigo>(EnemyList->Last())), even ? "Gren(0,80,6)" : "Gren(318,90,4)") << seed;
    }
}

TEST_F(GateTest, TheExtraGrenadiersOfEveryAreaAndStage) {
    // Per area, the grenadiers (x, row) of a whole wave in order, at stage 1
    // and from stage 9.
    const struct {
        int level;
        std::vector<std::string> early, late;
    } areas[] = {
        {3, {"Gren(318,65,4)", "Gren(318,64,4)", "Gren(0,124,6)", "Gren(0,123,6)"},
         {"Gren(0,125,6)", "Gren(318,65,4)", "Gren(318,64,4)", "Gren(0,124,6)", "Gren(0,123,6)", "Gren(318,63,4)"}},
        {4, {"Gren(0,110,6)", "Gren(318,161,4)", "Gren(0,111,6)", "Gren(0,162,6)"},
         {"Gren(0,110,6)", "Gren(318,160,4)", "Gren(318,161,4)", "Gren(0,111,6)", "Gren(0,162,6)", "Gren(318,112,4)"}},
        {5, {"Gren(0,55,6)", "Gren(318,110,4)", "Gren(0,55,6)"},
         {"Gren(0,55,6)", "Gren(318,65,4)", "Gren(318,110,4)", "Gren(0,124,6)", "Gren(0,55,6)", "Gren(318,63,4)"}},
        {6, {"Gren(318,100,4)", "Gren(0,100,6)", "Gren(318,100,4)"},
         {"Gren(318,100,4)", "Gren(0,55,6)", "Gren(0,100,6)", "Gren(318,55,4)", "Gren(0,55,6)", "Gren(318,100,4)"}},
        {7, {"Gren(0,125,6)", "Gren(318,65,4)", "Gren(318,64,4)", "Gren(0,124,6)", "Gren(0,123,6)", "Gren(318,63,4)"}, {}},
        {8, {"Gren(0,110,6)", "Gren(318,160,4)", "Gren(318,161,4)", "Gren(0,111,6)", "Gren(0,162,6)", "Gren(318,112,4)"}, {}},
    };
    for (const auto& a : areas)
        for (int stage : {1, 9}) {
            Top(a.level, stage);
            std::vector<std::string> grens;
            std::string verde;
            for (const auto& step : Wave()) {
                std::size_t at = 0;
                while ((at = step.find("Gren(", at)) != std::string::npos) {
                    grens.push_back(step.substr(at, step.find(')', at) - at + 1));
                    ++at;
                }
                if (step.rfind("Verde", 0) == 0) verde = step;
            }
            const auto& expected = stage > 8 && !a.late.empty() ? a.late : a.early;
            EXPECT_EQ(grens, expected) << "area " << a.level << " stage " << stage;
            EXPECT_EQ(verde, a.level == 4 || a.level == 8 ? "Verde(175,75,-2,7)" : "Verde(140,0,-2,9)") << a.level;
        }
}

TEST_F(GateTest, AreaTwoSendsADoorSoldierAfterEachGateSoldierAndKeepsTheKind) {
    Top(2);
    GateNextKind = ENEMY_GRENADIER;
    const auto steps = Wave();
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(GateWaveCounter, -16);
    EXPECT_EQ(steps[1], "Verde(176,0,-3,7)");  // alone, at -3
    const std::set<std::string> doors = {"(50,68,6)", "(290,68,4)", "(50,118,6)", "(290,118,4)"};
    std::set<std::string> seenDoors, seenKinds;
    int gate = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i == 1) continue;
        const std::string& s = steps[i];
        // "Gate(key,3) Kind(x,row,dir)": the gate soldier keeps the kind.
        const auto space = s.find(' ');
        ASSERT_NE(space, std::string::npos) << s;
        EXPECT_EQ(s.substr(s.find(',') + 1, 2), "3)") << s;
        const std::string door = s.substr(space + 1);
        const std::string kind = door.substr(0, door.find('('));
        EXPECT_TRUE(kind == "Gren" || kind == "Runner") << door;
        EXPECT_EQ(doors.count(door.substr(door.find('('))), 1u) << door;
        seenDoors.insert(door.substr(door.find('(')));
        seenKinds.insert(kind);
        ++gate;
    }
    EXPECT_EQ(gate, 7);
    EXPECT_EQ(seenKinds.size(), 2u);
    EXPECT_GE(seenDoors.size(), 3u);
    EXPECT_EQ(GateNextKind, ENEMY_GRENADIER);
    // Gate soldiers keyed -1, -4, -6, ..., -14, door soldiers marked -2, -5,
    // ..., -15, and the verde soldier -3: fifteen markers.
    EXPECT_EQ(std::count_if(SpawnMarkers.begin(), SpawnMarkers.end(), [](int m) { return m != 0; }), 15);
    for (int m : {-1, -2, -3, -4, -5, -14, -15}) EXPECT_EQ(SpawnMarkerSet(m), 1) << m;
}

// Each gate soldier leaves at x = 140 + 10 * RandomInt(0, 4), a fresh
// draw of the shared generator for every step.
TEST_F(GateTest, GateSoldiersLeaveAtOneOfFivePlacesAcrossTheGate) {
    std::map<int, int> seen;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        Top(1);
        GateWaveCounter = -1;
        TopClock = LastGateSpawnMs + 5000;
        plat::SeedRnd(seed);
        const int expected = 140 + 10 * plat::RandomInt(0, 4);
        plat::SeedRnd(seed);
        RunGateWave();
        ASSERT_EQ(EnemyList->Count(), 1) << seed;
        const auto soldier = plat::As<T_Enemigo>(EnemyList->First());
        ASSERT_EQ(soldier->estado, ENEMY_LEAVING_GATE);
        EXPECT_FLOAT_EQ(soldier->x, static_cast<float>(expected)) << seed;
        ++seen[static_cast<int>(soldier->x)];
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen.begin()->first, 140);
    EXPECT_EQ(seen.rbegin()->first, 180);
}

// Area 2's side door soldier: the first roll picks the door, the second
// the kind (1 a grenadier, 2 a runner), both after the step's pause.
TEST_F(GateTest, AreaTwosDoorAndKindFollowTheirRolls) {
    const std::string doors[] = {"(50,68,6)", "(290,68,4)", "(50,118,6)", "(290,118,4)"};
    std::set<std::string> seen;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        Top(2);
        GateWaveCounter = -1;
        TopClock = LastGateSpawnMs + 5000;
        fw::SeedRandRange(seed);
        fw::RandRange(1200, 1500);  // the step's pause
        const int door = fw::RandRange(1, 4);
        const int kind = fw::RandRange(1, 2);
        fw::SeedRandRange(seed);
        RunGateWave();
        ASSERT_EQ(EnemyList->Count(), 2) << seed;
        const std::string made = Describe(*plat::As<T_Enemigo>(EnemyList->Last()));
        const std::string expected = (kind == 1 ? "Gren" : "Runner") + doors[door - 1];
        EXPECT_EQ(made, expected) << seed;
        seen.insert(expected);
    }
    EXPECT_EQ(seen.size(), 8u) << "every door with both kinds";
}

TEST_F(GateTest, AStepWaitsForThePauseTheMarkersAndRoomInTheList) {
    Top(3);
    const int before = GateWaveCounter;
    // Never within 750 ms of the last step, always after 1500 ms.
    LastGateSpawnMs = 10000;
    TopClock = 10750;
    for (int i = 0; i < 50; ++i) RunGateWave();
    EXPECT_EQ(GateWaveCounter, before);
    TopClock = 11501;
    RunGateWave();
    EXPECT_EQ(GateWaveCounter, before - 1);
    EXPECT_EQ(LastGateSpawnMs, 11501);
    // Seven in EnemyList (vehicles count too) hold the wave; six let it go on.
    EnemyList->Clear();
    for (int i = 0; i < 6; ++i) T_Enemigo::f_Create_Vigilante(10, 500 + i);
    T_Vehiculo_Enemigo::f_Create_v_Moto(700);
    TopClock += 5000;
    RunGateWave();
    EXPECT_EQ(GateWaveCounter, before - 1);
    EnemyList->Remove(EnemyList->First());
    RunGateWave();
    EXPECT_EQ(GateWaveCounter, before - 2);
    EXPECT_EQ(EnemyList->Count(), 7);
    // A marker of the current counter holds it too.
    AddSpawnMarker(GateWaveCounter);
    EnemyList->Clear();
    TopClock += 5000;
    RunGateWave();
    EXPECT_EQ(GateWaveCounter, before - 2);
    // Below the top, nothing.
    ResetSpawnScript();
    ViewTop = 1;
    RunGateWave();
    EXPECT_EQ(GateWaveCounter, -1);
}

TEST_F(GateTest, TheFirstGateSoldierSeesTheClockOfTheTickBefore) {
    // The wave reads the gate clock as the tick before left it: on the first
    // tick at the top it still holds an old value.
    Begin(1);
    ViewTop = 1;
    Hero->y = 54 + 1;
    LastGateSpawnMs = PlayMilliSecs() - 100000;  // a wave long ago
    TopClock = LastGateSpawnMs;                  // left by that wave's last tick
    ViewTop = 0;
    Tick();
    EXPECT_EQ(GateWaveCounter, -1) << "the clock of the tick before is too close to the last step";
    EXPECT_EQ(TopClock, PlayMilliSecs() - 5);
    Tick();
    EXPECT_EQ(GateWaveCounter, -2);
    ASSERT_EQ(EnemyList->Count(), 1);
    EXPECT_EQ(Describe(*plat::As<T_Enemigo>(EnemyList->First())).substr(0, 8), "Gate(-1,");
    const double x = plat::As<T_Enemigo>(EnemyList->First())->x;
    EXPECT_TRUE(x == 140 || x == 150 || x == 160 || x == 170 || x == 180) << x;
}

TEST_F(GateTest, TheKindCarriesOverFromAreaToArea) {
    Top(1);
    GateNextKind = ENEMY_RUNNER;
    Wave();
    EXPECT_EQ(GateNextKind, ENEMY_GRENADIER);
    // A new area does not reset it; the first gate soldier of area 3 is a
    // grenadier-to-be.
    Top(3);
    const auto steps = Wave();
    EXPECT_EQ(steps[0], "Gate(-1,3)");
    EXPECT_EQ(GateNextKind, ENEMY_RUNNER);
}

TEST_F(GateTest, TheExitOpensOnlyAtMinusSixteenWithNoEnemyLeft) {
    Begin(1);
    ViewTop = 0;
    Hero->y = 54;
    AddSpawnMarker(-15);  // no step this time
    GateWaveCounter = -15;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
    GateWaveCounter = -16;
    T_Enemigo::f_Create_Verde(100, 100, -2, DIR_DOWN);
    Tick();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
    EnemyList->Clear();
    Tick();
    EXPECT_EQ(Hero->estado, HERO_LEAVING);
    // He walks to the middle, then up and out to the area-complete screen.
    Release(UpKeys[1]);
    int ticks = 0;
    while (complete_->starts == 0 && ticks < 2000) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(complete_->starts, 1);
    EXPECT_LT(Hero->y, -21);
    EXPECT_GE(Hero->x, 150);
    EXPECT_LE(Hero->x, 154);
}

TEST_F(GateTest, ADeathDuringTheWaveBringsTheWholeWaveAgain) {
    Begin(1);
    ViewTop = 0;
    Hero->y = 54;
    Lives = 3;
    Wave();
    GateWaveCounter = -7;
    AddSpawnMarker(-7);
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    int ticks = 0;
    while (Hero->estado == HERO_SHOT && ticks < 1000) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(GateWaveCounter, -1);
    EXPECT_EQ(std::count(SpawnMarkers.begin(), SpawnMarkers.end(), 0), 20);
    // Back at 196 with the guard of row 236; the chain goes on from there.
    EXPECT_EQ(ViewTop, 196);
    EXPECT_EQ(EnemySpawnedAt(236), 1);
    ViewTop = 0;
    const auto steps = Wave();
    EXPECT_EQ(steps.size(), 15u);
}

TEST_F(ScriptTest, ARestartedBandAndTheChainDoNotDoubleAnActor) {
    // Area 5's band > 902 restarts at 1256 with a runner keyed 1300, whose
    // rule's window (1250..1300) still holds there.
    Begin(5);
    ViewTop = 1000;
    Lives = 3;
    Hero->m_paso_a_estado_muerto(HERO_SHOT);
    int ticks = 0;
    while (Hero->estado == HERO_SHOT && ticks < 1000) {
        Tick();
        ++ticks;
    }
    ASSERT_EQ(ViewTop, 1256);
    Frame();
    for (int i = 0; i < 5; ++i) Tick();
    int runners = 0;
    for (int key : EnemyKeys()) runners += key == 1300 ? 1 : 0;
    EXPECT_EQ(runners, 1);
}

}  // namespace
}  // namespace playtest
