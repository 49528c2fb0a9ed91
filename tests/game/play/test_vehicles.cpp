// Enemy vehicles: where each kind starts, how it crosses the field and
// leaves it, the machine-gun car's burst, the lorry's soldiers, the cells
// drawn, contact with the hero and the hero's shots passing them.

#include <cmath>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/pickups.h"
#include "game/play/script/make_actor.h"
#include "game/play/script/spawned.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class VehicleTest : public PlayTest {
protected:
    // Area 2 on a 240-row map (the view starts at 1744); the hero stands
    // at the left edge and nothing hits him.
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(240);
        StartOnMap(map_, 2);
        HutList->Clear();
        Frame();
        GodMode = 1;
        Hero->x = 3;
    }
    plat::Ref<T_Vehiculo_Enemigo> Last() const { return plat::As<T_Vehiculo_Enemigo>(EnemyList->Last()); }
    static CreationCall Call(Creation kind, int row, int side = 0) {
        return {kind, static_cast<std::uint8_t>(side ? 2 : 1), {row, side, 0, 0}, Picker::None};
    }
    // The vehicles' own pass only, as the tick runs it.
    void Pass(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) UpdateVehicles();
    }
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(VehicleTest, EachKindStartsWhereItsCallPutsIt) {
    Stage = 1;
    const int row = ViewTop + 40;
    const struct { Creation kind; int side; int tipo; float x, y, speed; int facing; } cases[] = {
        {Creation::v_Jeep, 6, VEHICLE_JEEP, 0, row + 20.0f, 0.5f, 6},
        {Creation::v_Jeep, 4, VEHICLE_JEEP, 320, row + 20.0f, 0.5f, 4},
        {Creation::v_Jeep, 5, VEHICLE_JEEP, 0, row + 20.0f, 0.5f, 5},
        {Creation::v_Moto, 0, VEHICLE_MOTORBIKE_LEFT, 320, row + 20.0f, 0.5f, 0},
        {Creation::v_Moto_izq, 0, VEHICLE_MOTORBIKE_RIGHT, 0, row + 20.0f, 0.35f, 0},
        {Creation::v_Camion, 0, VEHICLE_LORRY, 320, row + 20.0f, 0.35f, 0},
    };
    for (const auto& c : cases) {
        MakeActor(Call(c.kind, row, c.side));
        auto v = Last();
        ASSERT_TRUE(v);
        EXPECT_EQ(v->tipo, c.tipo);
        EXPECT_EQ(v->py_creado, row);
        EXPECT_FLOAT_EQ(v->x, c.x) << c.tipo << " " << c.side;
        EXPECT_FLOAT_EQ(v->y, c.y);
        EXPECT_FLOAT_EQ(v->speed, c.speed);
        EXPECT_EQ(v->facing, c.facing);
        EXPECT_EQ(v->Image, EnemyImage);
    }
    // The lorry is slower on stage 3 only.
    for (int stage : {2, 3, 4}) {
        Stage = stage;
        T_Vehiculo_Enemigo::f_Create_v_Camion(row);
        EXPECT_FLOAT_EQ(Last()->speed, stage == 3 ? 0.3f : 0.35f);
    }
    // The low car rolls down from just above its row, on the cannon's sheet.
    fw::SeedRandRange(5);
    const int x = fw::RandRange(80, 240);
    fw::SeedRandRange(5);
    MakeActor(Call(Creation::v_Baja, row));
    EXPECT_EQ(Last()->tipo, VEHICLE_LOW_CAR);
    EXPECT_FLOAT_EQ(Last()->x, static_cast<float>(x));
    EXPECT_FLOAT_EQ(Last()->y, row - 21.0f);
    EXPECT_FLOAT_EQ(Last()->speed, 0.6f);
    EXPECT_EQ(Last()->Image, EnemyCImage);
}

TEST_F(VehicleTest, TheMachineGunCarNeverStartsBetween129And155) {
    auto& sounds = LogSounds();
    bool remapped = false, kept = false;
    for (unsigned seed = 1; seed < 400 && !(remapped && kept); ++seed) {
        fw::SeedRandRange(seed);
        const int r = fw::RandRange(80, 240);
        const int shots = fw::RandRange(3, 7);
        fw::SeedRandRange(seed);
        EnemyList->Clear();
        sounds.played.clear();
        MakeActor(Call(Creation::v_Ametralladora, 1500));
        auto car = Last();
        const bool inGap = r > 128 && r <= 155;
        EXPECT_FLOAT_EQ(car->x, inGap ? 90.0f : static_cast<float>(r)) << r;
        EXPECT_EQ(car->num_balas, shots);
        EXPECT_FLOAT_EQ(car->y, 1660.0f);  // from below the row's view
        EXPECT_FLOAT_EQ(car->speed, 0.6f);
        EXPECT_EQ(sounds.played, std::vector<std::string>{"SND6"});
        (inGap ? remapped : kept) = true;
        EXPECT_TRUE(car->x < 129 || car->x > 155);
    }
    EXPECT_TRUE(remapped);
    EXPECT_TRUE(kept);
    // The edges of the gap: 128 and 156 stay, 129 and 155 move to 90.
    for (const auto& [drawn, x] : std::vector<std::pair<int, float>>{{128, 128}, {129, 90}, {155, 90}, {156, 156}}) {
        fw::SeedRandRange(SeedGiving(80, 240, drawn));
        EnemyList->Clear();
        MakeActor(Call(Creation::v_Ametralladora, 1500));
        EXPECT_FLOAT_EQ(Last()->x, x) << drawn;
    }
}

TEST_F(VehicleTest, TheMachineGunCarClimbsFiresAnAimedBurstAndDrivesOff) {
    ViewTop = 1500;
    T_Vehiculo_Enemigo::f_Create_v_Ametralladora(ViewTop);
    auto car = Last();
    car->x = 200;
    car->num_balas = 3;
    const float y0 = car->y;

    std::vector<int> shotTicks, dirs;
    int tick = 0, climbEnd = 0;
    while (EnemyList->Contains(car) && tick < 3000) {
        ++tick;
        // The hero walks from column to column, so every shot aims anew.
        Hero->x = static_cast<float>((tick / 40) % 5) * 64 + 20;
        const float y = car->y;
        const int before = CountShots();
        Pass();
        if (!EnemyList->Contains(car)) break;
        const float dy = y - car->y;
        if (car->corre_pix < 150) {
            EXPECT_NEAR(dy, 0.6f, 1e-4) << tick;  // climbing
        } else if (climbEnd == 0) {
            climbEnd = tick;
        }
        const bool shot = CountShots() > before;
        if (shot) {
            shotTicks.push_back(tick);
            auto b = plat::As<T_Bala>(ShotList->Last());
            EXPECT_EQ(b->owned, BALA_ENEMY);
            EXPECT_EQ(b->dir, car->facing);
            // Aimed from where the car is after this tick's move.
            EXPECT_EQ(b->dir, AimDirectionFromZones(200, static_cast<int>(car->y - static_cast<float>(ViewTop))));
            dirs.push_back(b->dir);
        }
        if (climbEnd && tick > climbEnd) {
            EXPECT_NEAR(dy, car->num_balas > 0 || shot ? 0.3f : 0.6f, 1e-4) << tick;
        }
    }
    // 150 pixels of climbing at 0.6; the shot delay runs out on the tick
    // after, the first shot leaves on the next and one every 76 ticks after.
    EXPECT_GE(climbEnd, 250);
    EXPECT_LE(climbEnd, 251);
    ASSERT_EQ(shotTicks.size(), 3u);
    EXPECT_EQ(shotTicks[0], climbEnd + 2);
    EXPECT_EQ(shotTicks[1] - shotTicks[0], 76);
    EXPECT_EQ(shotTicks[2] - shotTicks[1], 76);
    EXPECT_NE(dirs[0], dirs[1]);
    EXPECT_FLOAT_EQ(car->speed, 0.6f);
    // It leaves over the top of the view: more than 42 rows above it.
    EXPECT_FALSE(EnemyList->Contains(car));
    EXPECT_LT(car->y - static_cast<float>(ViewTop), -42.0f);
    EXPECT_GE(car->y - static_cast<float>(ViewTop), -42.7f);
    EXPECT_LT(car->y, y0);
}

TEST_F(VehicleTest, TheOthersCrossTheFieldAndGoWhenTheyLeaveIt) {
    Stage = 1;
    const int row = ViewTop + 40;
    const struct { Creation kind; int side; float dx, dy; int ticks; } cases[] = {
        // Across 320 pixels at 0.5 or 0.35, and removed on the tick after.
        {Creation::v_Jeep, 6, 0.5f, 0, 642},
        {Creation::v_Jeep, 4, -0.5f, 0, 642},
        {Creation::v_Moto, 0, -0.5f, 0, 642},
        {Creation::v_Moto_izq, 0, 0.35f, 0, 916},
        {Creation::v_Camion, 0, -0.35f, 0, 916},
        {Creation::v_Baja, 0, 0, 0.6f, 0},
    };
    for (const auto& c : cases) {
        EnemyList->Clear();
        MakeActor(Call(c.kind, row, c.side));
        auto v = Last();
        const float x0 = v->x, y0 = v->y;
        // Created on the very edge, it is kept on its first tick.
        Pass();
        ASSERT_TRUE(EnemyList->Contains(v));
        EXPECT_FLOAT_EQ(v->x, x0 + c.dx);
        EXPECT_FLOAT_EQ(v->y, y0 + c.dy);
        int ticks = 1;
        while (EnemyList->Contains(v) && ticks < 2000) {
            Pass();
            ++ticks;
        }
        if (c.kind == Creation::v_Baja) {
            // Removed on the tick after it passes the bottom of the view.
            EXPECT_GT(v->y - static_cast<float>(ViewTop), 160.0f);
            EXPECT_LE(v->y - static_cast<float>(ViewTop), 160.6f);
        } else {
            EXPECT_NEAR(ticks, c.ticks, 1) << static_cast<int>(c.kind) << " " << c.side;
            EXPECT_TRUE(v->x < 0 || v->x > 320);
        }
    }
    // A jeep of another side stands at x 0 and does not move, until the view
    // leaves it behind.
    EnemyList->Clear();
    T_Vehiculo_Enemigo::f_Create_v_Jeep(row, 5);
    Pass(10);
    EXPECT_FLOAT_EQ(Last()->x, 0.0f);
    ViewTop = row - 200;
    Pass();
    EXPECT_TRUE(EnemyList->IsEmpty());
}

TEST_F(VehicleTest, TheLorryDropsASoldierEverySixtyFivePixels) {
    Stage = 1;
    T_Vehiculo_Enemigo::f_Create_v_Camion(ViewTop + 40);
    auto lorry = Last();
    std::vector<int> ticks;
    std::vector<float> xs;
    for (int t = 1; EnemyList->Contains(lorry) && t < 2000; ++t) {
        const int n = EnemyList->Count();
        Pass();
        if (EnemyList->Count() > n) {
            ticks.push_back(t);
            // A jumper behind the lorry, on the row it drives along.
            auto jumper = plat::As<T_Enemigo>(EnemyList->Last());
            ASSERT_TRUE(jumper);
            EXPECT_EQ(jumper->estado, ENEMY_LORRY_JUMPER);
            EXPECT_FLOAT_EQ(jumper->x, lorry->x + 48);
            EXPECT_FLOAT_EQ(jumper->y, static_cast<float>(static_cast<int>(lorry->y - 20) + 20));
            EXPECT_EQ(jumper->py_creado, static_cast<int>(lorry->y - 20));
            EXPECT_EQ(lorry->corre_pix, 0.0f);
            xs.push_back(jumper->x);
        }
    }
    // 65 pixels at 0.35: the first on the tick that passes 65, then one every
    // 65 pixels and a bit, until it leaves at the left edge.
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[0], 186);
    for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(ticks[i] - ticks[i - 1], 186);
    EXPECT_NEAR(xs[0], 320 - 186 * 0.35f + 48, 0.01);
}

TEST_F(VehicleTest, EachKindDrawsItsCells) {
    ViewTop = 1000;
    const plat::TImage* normal = EnemyImage.get();
    const plat::TImage* other = EnemyCImage.get();
    const struct { int tipo, facing; const plat::TImage* sheet; std::vector<int> cells; } cases[] = {
        {VEHICLE_MACHINE_GUN_CAR, 0, normal, {55}},
        {VEHICLE_LOW_CAR, 0, other, {55}},
        {VEHICLE_JEEP, 6, normal, {26, 27}},
        {VEHICLE_JEEP, 4, other, {26, 27}},
        {VEHICLE_JEEP, 5, nullptr, {}},
        {VEHICLE_MOTORBIKE_LEFT, 0, normal, {20, 21}},
        {VEHICLE_LORRY, 0, normal, {74, 75}},
        {VEHICLE_MOTORBIKE_RIGHT, 0, normal, {81, 82}},
    };
    for (const auto& c : cases) {
        EnemyList->Clear();
        auto v = plat::New<T_Vehiculo_Enemigo>();
        v->tipo = c.tipo;
        v->facing = c.facing;
        v->Image = c.tipo == VEHICLE_LOW_CAR ? EnemyCImage : EnemyImage;
        v->Image2 = EnemyCImage;
        v->x = 100;
        v->y = 1050;
        EnemyList->AddLast(v);
        std::vector<plat::DrawRecord> drawn;
        for (const auto& call : RecordFrame())
            if (call.image == normal || call.image == other) drawn.push_back(call);
        ASSERT_EQ(drawn.size(), c.cells.size()) << c.tipo;
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i].image, c.sheet) << c.tipo;
            EXPECT_EQ(drawn[i].frame, c.cells[i]) << c.tipo;
            EXPECT_FLOAT_EQ(drawn[i].x, 100.0f + 24.0f * static_cast<float>(i));
            EXPECT_FLOAT_EQ(drawn[i].y, 50.0f + 26.0f);
        }
    }
    // Not on area 1, where no vehicle pass runs.
    StartOnMap(map_, 1);
    T_Vehiculo_Enemigo::f_Create_v_Moto(ViewTop + 50);
    Last()->x = 100;
    for (const auto& call : RecordFrame()) EXPECT_NE(call.image, normal);
}

TEST_F(VehicleTest, TouchingAVehicleKillsAndNothingOfTheHerosTouchesOne) {
    // The vehicle's box is (x + 6, y + 6, 12 x 9), the hero's (x + 6, y + 4,
    // 12 x 12); edges that touch count.
    const struct { float dx, dy; bool kills; } cases[] = {
        {0, 0, true}, {12, 0, true}, {12.9f, 0, true}, {13, 0, false}, {-12, 0, true}, {-13, 0, false},
        {0, 10, true}, {0, 11, false}, {0, -11, true}, {0, -12, false},
    };
    GodMode = 0;
    for (const auto& c : cases) {
        StartOnMap(map_, 3);
        Frame();
        Hero->x = 100;
        Hero->y = static_cast<float>(ViewTop + 100);
        T_Vehiculo_Enemigo::f_Create_v_Moto(ViewTop);
        auto bike = Last();
        bike->speed = 0;
        bike->x = Hero->x + c.dx;
        bike->y = Hero->y + c.dy;
        Tick();
        EXPECT_EQ(Hero->estado, c.kills ? HERO_SHOT : HERO_PLAYING) << c.dx << " " << c.dy;
    }
    // The hero's bullets fly through a vehicle and his bursting grenade
    // leaves it standing; no score.
    StartOnMap(map_, 3);
    Frame();
    T_Vehiculo_Enemigo::f_Create_v_Camion(ViewTop + 20);
    auto lorry = Last();
    lorry->speed = 0;
    lorry->x = 100;
    auto bullet = plat::New<T_Bala>();
    bullet->owned = BALA_HERO;
    bullet->dir = DIR_UP;
    bullet->x = lorry->x + 10;
    bullet->y = lorry->y + 10;
    bullet->yfinalbala = bullet->y - 80;
    ShotList->AddLast(bullet);
    auto grenade = plat::New<T_Granada>();
    grenade->owned = GRANADA_HERO;
    grenade->explota = 1;
    grenade->x = lorry->x;
    grenade->y = lorry->y;
    ShotList->AddLast(grenade);
    const int score = Score;
    Tick();
    EXPECT_TRUE(EnemyList->Contains(lorry));
    EXPECT_TRUE(ShotList->Contains(bullet));
    EXPECT_EQ(bullet->explota, 0);
    EXPECT_EQ(Score, score);
}

TEST_F(VehicleTest, TheScriptFindsAVehicleOrAPackByItsKeyInItsOwnList) {
    T_Vehiculo_Enemigo::f_Create_v_Moto(1200);
    T_Enemigo::f_Create_Corredor_puerta(100, 1300, DIR_DOWN);
    T_Pack_Granadas::f_Create_pack_gr(40, 1400);
    const struct { int key, vehicle, enemy, pickup; } cases[] = {
        {1200, 1, 0, 0}, {1300, 0, 1, 0}, {1400, 0, 0, 1}, {1500, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VehicleSpawnedAt(c.key), c.vehicle) << c.key;
        EXPECT_EQ(EnemySpawnedAt(c.key), c.enemy) << c.key;
        EXPECT_EQ(PickupSpawnedAt(c.key), c.pickup) << c.key;
    }
    // Gone from its list, it is made again.
    EnemyList->Remove(EnemyList->First());
    EXPECT_EQ(VehicleSpawnedAt(1200), 0);
}

}  // namespace
}  // namespace playtest
