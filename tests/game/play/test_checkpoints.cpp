// Checkpoints: the restart view of every band of every area, the actors made
// again there, the huts standing again, and the bridge overlay windows.

#include <sstream>

#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class CheckpointTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        auto& h = PlayHooks();
        auto log = [this](const std::string& text) { calls_ += (calls_.empty() ? "" : " ") + text; };
        h.Create = [=](const CreationCall& call) {
            std::string text = Label(call.kind) + "(";
            for (int i = 0; i < call.argc; ++i) text += (i ? "," : "") + std::to_string(call.args[i]);
            log(text + ")");
        };
        h.PickDirection = [](Picker picker) {
            const bool odd = fw::RandRange(1, 10) % 2 != 0;
            return picker == Picker::Dir9or8 ? (odd ? 9 : 8) : picker == Picker::Dir7or8 ? (odd ? 7 : 8) : 0;
        };
        h.ResetHuts = [=] { log("HutsUp"); };
        Hero = plat::New<T_Dax>();
    }
    // The short name of an actor in the log.
    static std::string Label(Creation kind) {
        switch (kind) {
        case Creation::Vigilante_Ini: return "Guard";
        case Creation::Trinchero_Ini: return "Trench";
        case Creation::pack_gr: return "Pack";
        case Creation::Granadero_puente: return "BridgeGren";
        case Creation::Acuatico: return "Swimmer";
        case Creation::v_Moto: return "Moto";
        case Creation::v_Moto_izq: return "MotoL";
        case Creation::Granadero: return "Gren";
        case Creation::Bazookero: return "Baz";
        case Creation::Corredor: return "Runner";
        case Creation::Motero: return "Rider";
        case Creation::Canyonero: return "Cannon";
        case Creation::Corredor_puerta: return "DoorRunner";
        case Creation::Granadero_puerta: return "DoorGren";
        default: return "Other";
        }
    }
    // The restart after a death at `view` on `level`: the new view.
    int RestartAt(int level, int view) {
        Level = level;
        ViewTop = view;
        calls_.clear();
        RestartFromCheckpoint();
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
    EXPECT_EQ(calls_, "Trench(125,1117,100) Trench(152,1118,200) Pack(272,1108) Trench(291,1088,200) "
                      "Trench(23,1048,150)");
    HutList->AddLast(plat::New<plat::Object>());
    RestartAt(2, 600);
    EXPECT_EQ(calls_, "Pack(200,895) BridgeGren(804) HutsUp");
    RestartAt(4, 100);
    EXPECT_EQ(calls_, "MotoL(240) Baz(200,6) Baz(220,4) Pack(290,230)");  // huts only on 2 and 6
    RestartAt(5, 300);
    EXPECT_EQ(calls_, "Gren(615,6) Cannon(280,590,4)");
    RestartAt(6, 100);
    EXPECT_EQ(calls_, "Trench(232,374,200) Pack(200,360) Swimmer(220,294) HutsUp");
    RestartAt(8, 1300);
    EXPECT_EQ(calls_, "Guard(105,1616) Guard(150,1616)");
}

TEST_F(CheckpointTest, AreaSevenDrawsTheDirectionBeforeTheKind) {
    // The runner of the top band is always a runner, heading 9 or 8.
    for (unsigned seed = 1; seed < 20; ++seed) {
        fw::SeedRandRange(seed);
        RestartAt(7, 1300);
        EXPECT_TRUE(calls_ == "DoorRunner(28,1614,9)" || calls_ == "DoorRunner(28,1614,8)") << calls_;
    }
    // A door soldier: the direction picker first, then the roll for the kind.
    fw::SeedRandRange(77);
    const int d = fw::RandRange(1, 10) % 2 ? 7 : 8;
    const bool runner = fw::RandRange(1, 10) % 2 == 0;
    fw::SeedRandRange(77);
    RestartAt(7, 900);
    EXPECT_EQ(calls_, std::string(runner ? "DoorRunner" : "DoorGren") + "(268,1280," + std::to_string(d) + ")");
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

TEST_F(CheckpointTest, TheOverlayDrawsAfterTheFrontLayerAndBeforeTheBars) {
    auto map = MakeMap(120);
    int overlays = 0;
    PlayHooks().DrawOverlayEnemies = [&](bool riders, bool bridge) {
        ++overlays;
        EXPECT_FALSE(riders);
        EXPECT_TRUE(bridge);
    };
    StartOnMap(map, 2);
    Frame();
    EXPECT_EQ(overlays, 1);
    StartOnMap(map, 4);
    Frame();
    EXPECT_EQ(overlays, 1);
}

}  // namespace
}  // namespace playtest
