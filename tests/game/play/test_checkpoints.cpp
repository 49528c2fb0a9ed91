// Checkpoints: the restart view of every band of every area, the actors made
// again there, the huts standing again, and the bridge overlay windows.

#include <sstream>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/pickups.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class CheckpointTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        Hero = plat::New<T_Dax>();
    }
    // A soldier made again, by what its creation call gave him.
    static std::string Describe(const T_Enemigo& e) {
        const int x = static_cast<int>(e.x), key = e.py_creado;
        switch (e.estado) {
        case ENEMY_GUARD: return Text("Guard", {x, key});
        case ENEMY_TRENCH: return Text("Trench", {x, key, e.max_AnimDelay});
        case ENEMY_BRIDGE_GRENADIER: return Text("BridgeGren", {key});
        case ENEMY_SWIMMER: return Text("Swimmer", {x, key});
        case ENEMY_GRENADIER: return Text("Gren", {x, key, e.dir});
        case ENEMY_RUNNER: return Text("Runner", {x, key, e.dir});
        case ENEMY_BAZOOKA: return Text("Baz", {key, e.dir});
        case ENEMY_CANNON: return Text("Cannon", {x, key, e.dir});
        case ENEMY_RIDER: return Text("Rider", {key});
        default: return "Soldier";
        }
    }
    static std::string Text(const char* name, std::initializer_list<int> args) {
        std::string out = std::string(name) + "(";
        for (int a : args) out += (out.back() == '(' ? "" : ",") + std::to_string(a);
        return out + ")";
    }
    // The restart after a death at `view` on `level`: the new view.  The
    // log holds what was made, in the order of its list: the soldiers and
    // vehicles of EnemyList, then the grenade packs of ShotList.
    int RestartAt(int level, int view) {
        Level = level;
        ViewTop = view;
        ShotList->Clear();
        EnemyList->Clear();
        RestartFromCheckpoint();
        calls_.clear();
        auto add = [this](const std::string& text) { calls_ += (calls_.empty() ? "" : " ") + text; };
        for (const auto& o : *EnemyList) {
            if (auto e = plat::As<T_Enemigo>(o)) add(Describe(*e));
            if (auto v = plat::As<T_Vehiculo_Enemigo>(o))
                add(Text(v->tipo == VEHICLE_MOTORBIKE_LEFT ? "Moto" : "MotoL", {v->py_creado}));
        }
        for (const auto& o : *ShotList)
            if (auto p = plat::As<T_Pack_Granadas>(o)) add(Text("Pack", {static_cast<int>(p->x), p->py_creado}));
        return ViewTop;
    }
    std::string calls_;
};

TEST_F(CheckpointTest, EveryBandOfEveryAreaRestartsAtItsView) {
    // Per area: the band thresholds and the view each band restarts at.
    const struct { int level; std::vector<int> thresholds, views; } areas[] = {
        {1, {836, 506, 196, 0}, {1392, 836, 506, 196}},
        {2, {1041, 776, 506, 176, 0}, {1320, 1041, 776, 506, 176}},
        {3, {1010, 622, 171, 0}, {1536, 1010, 622, 171}},
        {4, {1056, 792, 520, 176, 0}, {1328, 1056, 792, 520, 176}},
        {5, {1256, 902, 590, 284, 0}, {1536, 1256, 902, 590, 284}},
        {6, {1116, 680, 282, 0}, {1496, 1116, 680, 282}},
        {7, {1200, 810, 490, 170, 0}, {1536, 1200, 810, 490, 170}},
        {8, {1216, 904, 600, 224, 0}, {1536, 1216, 904, 600, 224}},
    };
    for (const auto& a : areas) {
        ASSERT_EQ(CheckpointBands(a.level).size(), a.views.size()) << a.level;
        for (std::size_t i = 0; i < a.views.size(); ++i) {
            const bool last = i + 1 == a.views.size();
            const int inside = last ? a.thresholds[i] : a.thresholds[i] + 1;
            EXPECT_EQ(RestartAt(a.level, inside), a.views[i]) << a.level << " at " << inside;
            if (!last) {  // the threshold itself belongs to the band below
                EXPECT_EQ(RestartAt(a.level, a.thresholds[i]), a.views[i + 1]) << a.level;
            }
        }
    }
    // The map's start view is the top band's view, for the eight areas.
    const int heights[] = {0, 196, 187, 214, 188, 214, 209, 214, 214};
    for (int level = 1; level <= 8; ++level)
        EXPECT_EQ((heights[level] - 2) * 8 - 160, CheckpointBands(level)[0].view) << level;
    // Outside 1..8, or a negative view, nothing moves.
    EXPECT_EQ(RestartAt(9, 500), 500);
    EXPECT_EQ(RestartAt(1, -5), -5);
}

TEST_F(CheckpointTest, TheActorsOfTheCheckpointAreMadeAgainInOrder) {
    RestartAt(1, 837);
    EXPECT_EQ(calls_, "");
    RestartAt(1, 300);
    EXPECT_EQ(calls_, "Guard(91,588) Guard(165,556)");
    RestartAt(1, 0);
    EXPECT_EQ(calls_, "Guard(140,236)");
    RestartAt(2, 1000);
    EXPECT_EQ(calls_, "Trench(125,1117,100) Trench(152,1118,200) Trench(291,1088,200) Trench(23,1048,150) "
                      "Pack(272,1108)");
    RestartAt(2, 600);
    EXPECT_EQ(calls_, "BridgeGren(804) Pack(200,895)");
    RestartAt(3, 100);
    EXPECT_EQ(calls_, "Moto(206)");
    RestartAt(4, 100);
    EXPECT_EQ(calls_, "MotoL(240) Baz(200,6) Baz(220,4) Pack(290,230)");
    RestartAt(5, 300);
    EXPECT_EQ(calls_, "Gren(0,615,6) Cannon(280,590,4)");
    RestartAt(6, 100);
    EXPECT_EQ(calls_, "Trench(232,374,200) Swimmer(220,294) Pack(200,360)");
    RestartAt(8, 1300);
    EXPECT_EQ(calls_, "Guard(105,1616) Guard(150,1616)");
}

TEST_F(CheckpointTest, DestroyedHutsStandAgainOnlyOnAreasTwoAndSix) {
    for (int level : {2, 6, 4}) {
        HutList->Clear();
        T_Caseta::f_Create_Caseta(512, 4);
        T_Caseta::f_Create_Caseta(345, 6);
        auto first = plat::As<T_Caseta>(HutList->First());
        first->estado = HUT_DESTROYED;
        first->bala_delay = 17;
        RestartAt(level, 300);
        EXPECT_EQ(first->estado, level == 4 ? HUT_DESTROYED : HUT_STANDING) << level;
        EXPECT_EQ(first->bala_delay, 17);  // nothing else of a hut is reset
        EXPECT_EQ(HutList->Count(), 2);
    }
}

TEST_F(CheckpointTest, AreaSevenDrawsTheDirectionBeforeTheKind) {
    // The runner of the top band is always a runner, heading 9 or 8.
    for (unsigned seed = 1; seed < 20; ++seed) {
        fw::SeedRandRange(seed);
        RestartAt(7, 1300);
        EXPECT_TRUE(calls_ == "Runner(28,1614,9)" || calls_ == "Runner(28,1614,8)") << calls_;
    }
    // A door soldier: the direction picker first, then the roll for the kind.
    fw::SeedRandRange(77);
    const int d = fw::RandRange(1, 10) % 2 ? 7 : 8;
    const bool runner = fw::RandRange(1, 10) % 2 == 0;
    fw::SeedRandRange(77);
    RestartAt(7, 900);
    EXPECT_EQ(calls_, std::string(runner ? "Runner" : "Gren") + "(268,1280," + std::to_string(d) + ")");
}

TEST_F(CheckpointTest, TheHeroWalksInAgainFacingUp) {
    Hero->x = 10;
    Hero->estado = HERO_FALLEN;
    Hero->Frame_ind = 17;
    Direction = 7;
    LastDirection = 7;
    plat::SimulateKeyDown(plat::KEY_LEFT);
    fw::Game->DoPeekEvent();
    ASSERT_EQ(fw::KeyDownCode(plat::KEY_LEFT), 1);
    RestartAt(3, 700);
    EXPECT_EQ(ViewTop, 1010);
    EXPECT_FLOAT_EQ(Hero->x, 130);
    EXPECT_FLOAT_EQ(Hero->y, 1134);
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_EQ(Hero->Frame_ind, 0);
    EXPECT_EQ(Direction, 2);
    EXPECT_EQ(LastDirection, 2);
    EXPECT_EQ(fw::KeyDownCode(plat::KEY_LEFT), 0);  // keys held at the death are forgotten
}

TEST(Overlay, WindowsPerArea) {
    const struct { int level, view; bool riders, bridge; } cases[] = {
        {1, 520, false, false}, {1, 521, true, true}, {1, 799, true, true}, {1, 800, false, false},
        {2, 0, false, true},    {2, 1500, false, true}, {3, 619, true, true}, {3, 620, false, false},
        {4, 700, false, false}, {5, 894, true, true},  {5, 895, false, false}, {6, 700, false, true},
        {7, 725, true, true},   {7, 500, false, false}, {8, 700, false, false},
    };
    for (const auto& c : cases) {
        const auto w = OverlayAt(c.level, c.view);
        EXPECT_EQ(w.riders, c.riders) << c.level << " " << c.view;
        EXPECT_EQ(w.bridgeGrenadiers, c.bridge) << c.level << " " << c.view;
    }
}

TEST_F(CheckpointTest, TheOverlayDrawsRidersAndBridgeGrenadiersOverTheFrontLayer) {
    // Cells of the enemy sheet drawn in one frame, in order.
    auto enemyCells = [this] {
        std::vector<int> cells;
        for (const auto& c : RecordFrame())
            if (c.kind == plat::DrawRecord::IMAGE && c.image == EnemyImage.get()) cells.push_back(c.frame);
        return cells;
    };
    auto map = MakeMap(120);  // the view starts at 784
    const struct { int level; std::vector<int> cells; } cases[] = {
        // Area 1 at 784: both kinds; the bridge grenadier is drawn by the
        // enemy pass as well, the rider (two cells) only over the front layer.
        {1, {48, 20, 21, 48}},
        {2, {48, 48}},  // bridge grenadiers only, at every view
        {4, {48}},      // no overlay at all
    };
    for (const auto& c : cases) {
        StartOnMap(map, c.level);
        T_Enemigo::f_Create_Motero(ViewTop + 100);
        T_Enemigo::f_Create_Granadero_puente(ViewTop + 50);
        EXPECT_EQ(enemyCells(), c.cells) << c.level;
    }
}

}  // namespace
}  // namespace playtest
