// Frames of the vehicles, the shooting huts, the grenade packs and the
// burning fortress in motion on the real maps, drawn headless and saved as
// pictures (tests/play_frames/scenery_*.png in the build folder) for a
// person to look at; the test itself checks only that they were drawn.

#include <string>

#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/fires.h"
#include "game/play/pickups.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class SceneryFrames : public PictureTest {
protected:
    // An area at a view, the hero standing below the middle, no actor but
    // the test's (the huts of the area stay).
    void At(int level, int view) {
        StartArea(level);
        Frame();
        ViewTop = view;
        Hero->y = static_cast<float>(view + 130);
        EnemyList->Clear();
        GuardList->Clear();
        ShotList->Clear();
        GodMode = 1;
    }
    // `n` frames of play, one picture every `every` ticks.
    void Film(const std::string& name, int n, int every) {
        for (int i = 0; i < n; ++i) {
            for (int t = 0; t < every; ++t) Tick();
            Save("scenery_" + name + "_" + std::to_string(i) + ".png");
        }
    }
};

// Each vehicle where the areas' scripts make it, the view at its row.
TEST_F(SceneryFrames, VehiclesOnTheirAreas) {
    if (!open_) GTEST_SKIP() << "no display";

    // Area 2: the machine-gun car drives up behind the hero and fires, the
    // jeep comes in from the left, the motorbike from the right.
    At(2, 1235);
    T_Vehiculo_Enemigo::f_Create_v_Ametralladora(1235);
    T_Vehiculo_Enemigo::f_Create_v_Jeep(1260, DIR_RIGHT);
    T_Vehiculo_Enemigo::f_Create_v_Moto(1235);
    Film("area2", 4, 100);

    // Area 3: the lorry drops its soldiers, a motorbike rides the other way;
    // later a jeep comes in from the right.
    At(3, 444);
    T_Vehiculo_Enemigo::f_Create_v_Camion(444);
    T_Vehiculo_Enemigo::f_Create_v_Moto_izq(424);
    Film("area3_lorry", 4, 100);
    At(3, 249);
    T_Vehiculo_Enemigo::f_Create_v_Jeep(249, DIR_LEFT);
    Film("area3_jeep", 2, 150);

    // Area 7: low cars rolling down.
    At(7, 330);
    T_Vehiculo_Enemigo::f_Create_v_Baja(400);
    T_Vehiculo_Enemigo::f_Create_v_Baja(330);
    Film("area7", 2, 80);
    EXPECT_FALSE(EnemyList->IsEmpty());
}

TEST_F(SceneryFrames, HutsOfAreasTwoAndSixFireAndFall) {
    if (!open_) GTEST_SKIP() << "no display";
    At(2, 230);
    Film("huts_2", 3, 120);
    // A grenade of the hero bursting over the right hut: the rubble shows.
    for (const auto& o : *HutList) {
        auto hut = plat::As<T_Caseta>(o);
        if (hut->lugar == DIR_RIGHT) PutGrenade(hut->x + 12, hut->y + 18);
    }
    Tick();
    ShotList->Clear();
    Save("scenery_huts_2_destroyed.png");
    EXPECT_EQ(Score, 1000);

    At(6, 1380);
    Film("huts_6", 2, 150);
}

TEST_F(SceneryFrames, AGrenadePackBlinks) {
    if (!open_) GTEST_SKIP() << "no display";
    At(1, 1080);
    T_Pack_Granadas::f_Create_pack_gr(218, 1138);
    T_Pack_Granadas::f_Create_pack_gr(60, 1160);
    Film("pack", 2, 42);
}

TEST_F(SceneryFrames, TheFortressBurns) {
    if (!open_) GTEST_SKIP() << "no display";
    At(4, 0);
    Hero->estado = HERO_FORTRESS_REACHED;
    Hero->y = -1;
    Film("fortress", 3, 41);
    EXPECT_FALSE(FireList->IsEmpty());
}

}  // namespace
}  // namespace playtest
