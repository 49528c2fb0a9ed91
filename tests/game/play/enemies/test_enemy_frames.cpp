// Frames of play with every kind of enemy soldier, drawn headless and saved
// as pictures (tests/play_frames/enemies_*.png in the build folder) for a
// person to look at; the test itself checks only that they were drawn.

#include <functional>

#include "game/play/enemies/enemy.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class EnemyFrames : public PictureTest {
protected:
    // An area at a view, the hero standing, no soldier but the test's.
    void At(int level, int view) {
        StartArea(level);
        Frame();
        ViewTop = view;
        Hero->y = static_cast<float>(view + 124);
        EnemyList->Clear();
        GuardList->Clear();
        GodMode = 1;
    }
    // A soldier of a state at (x, row sy of the view), shaped by `set`.
    static plat::Ref<T_Enemigo> Put(int estado, float x, float sy, const std::function<void(T_Enemigo&)>& set = {}) {
        auto e = plat::New<T_Enemigo>();
        e->estado = estado;
        e->x = x;
        e->y = static_cast<float>(ViewTop) + sy;
        if (set) set(*e);
        (estado == ENEMY_HOUSE_GUARD ? GuardList : EnemyList)->AddLast(e);
        return e;
    }
    void Shot(const std::string& name) { Save("enemies_" + name + ".png"); }
};

TEST_F(EnemyFrames, EveryKindInPlay) {
    if (!open_) GTEST_SKIP() << "no display";

    // Runners in their eight facings, a grenadier waiting and throwing, the
    // dying and the score sprites.
    At(1, 1100);
    const int facings[] = {1, 2, 3, 4, 6, 7, 8, 9};
    for (int i = 0; i < 8; ++i)
        Put(ENEMY_RUNNER, 10.0f + 38.0f * static_cast<float>(i), 8, [&](T_Enemigo& e) {
            e.facing = facings[i];
            e.Frame_ind = i % 3;
        });
    Put(ENEMY_GRENADIER, 20, 40, [](T_Enemigo& e) { e.facing = DIR_NONE; });
    Put(ENEMY_GRENADIER, 60, 40, [](T_Enemigo& e) { e.facing = DIR_NONE; e.Frame_indgr = 1; });
    Put(ENEMY_LEAVING_GATE, 100, 40, [](T_Enemigo& e) { e.Frame_ind = 1; });
    Put(ENEMY_DYING, 140, 40, [](T_Enemigo& e) { e.Frame_ind = 1; });
    Put(ENEMY_DYING, 180, 40, [](T_Enemigo& e) { e.Frame_ind = 10; });
    Put(ENEMY_KIDNAPPER_SCORE, 220, 40);
    Put(ENEMY_VERDE_SCORE, 260, 40);
    T_Enemigo::f_Create_Secuestradores(30, ViewTop + 75);
    Put(ENEMY_GUARD, 140, 75, [](T_Enemigo& e) { e.facing = DIR_DOWN_LEFT; });
    Put(ENEMY_GUARD, 170, 75, [](T_Enemigo& e) { e.facing = DIR_DOWN; });
    Put(ENEMY_GUARD, 200, 75, [](T_Enemigo& e) { e.facing = DIR_DOWN_RIGHT; });
    Put(ENEMY_DYING_GUARD, 240, 75, [](T_Enemigo& e) { e.Frame_ind = 20; });
    Put(ENEMY_VERDE, 270, 75, [](T_Enemigo& e) { e.dir = DIR_DOWN_LEFT; });
    Put(ENEMY_VERDE, 295, 75, [](T_Enemigo& e) { e.dir = DIR_DOWN_RIGHT; });
    Shot("walkers");

    // The captive freed, the bazooka soldiers, jumpers in the air, the lorry
    // jumper, the bridge soldier, the cannons.
    At(1, 900);
    T_Enemigo::f_Create_Secuestradores(30, ViewTop + 10);
    for (const auto& o : *EnemyList) {
        auto e = plat::As<T_Enemigo>(o);
        if (e->estado == ENEMY_CAPTIVE) e->libre = 1;
        if (e->estado == ENEMY_KIDNAPPER) e->estado = ENEMY_KIDNAPPER_SCORE;
    }
    Put(ENEMY_BAZOOKA, 120, 10, [](T_Enemigo& e) { e.Frame_ind = 0; });
    Put(ENEMY_BAZOOKA, 150, 10, [](T_Enemigo& e) { e.Frame_ind = 2; });
    Put(ENEMY_JUMPER, 190, 10, [](T_Enemigo& e) { e.dir = DIR_LEFT; e.corre_pix = 50; e.Frame_ind = 0; });
    Put(ENEMY_JUMPER, 220, 10, [](T_Enemigo& e) { e.dir = DIR_LEFT; e.corre_pix = 50; e.Frame_ind = 1; });
    Put(ENEMY_JUMPER, 250, 10, [](T_Enemigo& e) { e.dir = DIR_RIGHT; e.corre_pix = 50; e.Frame_ind = 1; });
    Put(ENEMY_LORRY_JUMPER, 280, 10, [](T_Enemigo& e) { e.Frame_ind = 0; });
    Put(ENEMY_BRIDGE_SOLDIER, 20, 60, [](T_Enemigo& e) { e.dir = DIR_LEFT; });
    Put(ENEMY_BRIDGE_SOLDIER, 50, 60, [](T_Enemigo& e) { e.dir = DIR_RIGHT; });
    Put(ENEMY_CANNON, 100, 60, [](T_Enemigo& e) { e.dir = DIR_RIGHT; e.Image = EnemyCImage; e.Frame_ind = 1; });
    Put(ENEMY_CANNON, 160, 60, [](T_Enemigo& e) { e.dir = DIR_LEFT; e.Image = EnemyCImage; e.Frame_ind = 2; });
    Put(ENEMY_RUNNER, 220, 60, [](T_Enemigo& e) { e.facing = DIR_UP_LEFT; e.Image = EnemyCImage; });
    Shot("posted");

    // Area 2: the trench soldiers in their three phases, a swimmer, a
    // bridge grenadier over the bridge (drawn again over the front layer).
    At(2, 1050);
    Put(ENEMY_TRENCH, 110, 45, [](T_Enemigo& e) { e.estado_trinchero = TRENCH_DOWN; });
    Put(ENEMY_TRENCH, 140, 45, [](T_Enemigo& e) { e.estado_trinchero = TRENCH_HALF_UP; });
    Put(ENEMY_TRENCH, 170, 45, [](T_Enemigo& e) { e.estado_trinchero = TRENCH_UP; e.facing = DIR_DOWN; });
    Put(ENEMY_SWIMMER, 220, 90, [](T_Enemigo& e) { e.facing = DIR_DOWN_LEFT; });
    Shot("trench");
    At(2, 760);
    T_Enemigo::f_Create_Granadero_puente(804);
    plat::As<T_Enemigo>(EnemyList->Last())->x = 200;
    Put(ENEMY_BRIDGE_GRENADIER, 150, 44, [](T_Enemigo& e) { e.facing = DIR_NONE; e.Frame_indgr = 1; });
    Shot("bridge");

    // Area 3: the motorbike rider inside the overlay window, riding in and
    // throwing.
    At(3, 500);
    Put(ENEMY_RIDER, 200, 30, [](T_Enemigo& e) { e.corre_pix = 100; });
    Put(ENEMY_RIDER, 60, 70, [](T_Enemigo& e) { e.corre_pix = 190; e.Frame_indgr = 1; });
    Shot("rider");

    // Area 4: house guards at the fortress.
    At(4, 60);
    T_Enemigo::f_Create_Vigilante_Casa(45, 79);
    for (const auto& o : *GuardList) {
        auto e = plat::As<T_Enemigo>(o);
        e->y = static_cast<float>(ViewTop) + 40;
        e->facing = DIR_DOWN_RIGHT;
    }
    Put(ENEMY_DYING_HOUSE_GUARD, 250, 40, [](T_Enemigo& e) { e.Frame_ind = 4; });
    Shot("house_guards");

    // Area 1 at the top: soldiers leaving the open gate, the verde soldier.
    At(1, 0);
    Hero->y = 120;
    T_Enemigo::f_Create_Sale_de_Puerta(150, 0, ENEMY_RUNNER, -1);
    T_Enemigo::f_Create_Sale_de_Puerta(170, 20, ENEMY_GRENADIER, -3);
    T_Enemigo::f_Create_Verde(176, 40, -2, DIR_DOWN_LEFT);
    Shot("gate");
}

// The soldiers of the start view of area 1 left to play for a while: the
// idle grenadiers come and throw, the hero shoots back.
TEST_F(EnemyFrames, AStandingHeroOnAreaOne) {
    if (!open_) GTEST_SKIP() << "no display";
    StartArea(1);
    Frame();
    GodMode = 1;
    for (int i = 0; i < 1500; ++i) {
        if (i % 40 == 0) Press(FireKeys[1]);
        Tick();
    }
    Shot("idle_1");
    for (int i = 0; i < 700; ++i) Tick();
    Shot("idle_2");
}

}  // namespace
}  // namespace playtest
