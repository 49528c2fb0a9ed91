#include "game/play/enemies/enemy.h"

#include <cmath>
#include <cstddef>

#include "framework/helpers.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "game/play/script/spawned.h"
#include "game/play/shots.h"
#include "platform/core/random.h"
#include "platform/gfx/draw.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

// A cell of a table, or -1 (nothing drawn) for an index outside it.
template <std::size_t N>
int CellOf(const std::array<int, N>& table, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)] : -1;
}

// A cell of a dying sequence: 0 or less draws nothing (the flicker).
int DyingCell(const std::array<int, 37>& table, int index) {
    const int cell = CellOf(table, index);
    return cell > 0 ? cell : -1;
}

// x at the edge a soldier enters from: the right edge for side 4, the left
// (0) for side 6 and for any other side.
float EdgeX(int side, float right) { return side == DIR_LEFT ? right : 0.0f; }

void Append(const plat::Ref<T_Enemigo>& e) { EnemyList->AddLast(e); }

plat::Ref<T_Enemigo> Make(int estado, float x, float y, int key) {
    auto e = plat::New<T_Enemigo>();
    e->estado = estado;
    e->x = x;
    e->y = y;
    e->py_creado = key;
    e->Frame_ind = 0;
    return e;
}

// A runner or grenadier (or a soldier on his way to be one) walking in
// `dir` at the walkers' speed for the stage.
plat::Ref<T_Enemigo> Walker(int estado, float x, float y, int key, int dir) {
    auto e = Make(estado, x, y, key);
    e->dir = e->facing = dir;
    e->speed = ByStage(4, 0.235f, 8, 0.24f, 0.25f);
    return e;
}

// A trench soldier, down in his trench, rising every `period` ticks.
plat::Ref<T_Enemigo> Trench(float x, float y, int key, int period) {
    auto e = Make(ENEMY_TRENCH, x, y, key);
    e->facing = DIR_DOWN;
    e->estado_trinchero = e->estado_old_trinchero = TRENCH_DOWN;
    e->max_AnimDelay = period;
    e->AnimDelay = static_cast<float>(period);
    return e;
}

// Walks a list and calls `act` on every soldier in it.
template <class F>
void EachSoldier(const ActorList& list, F&& act) {
    for (const auto& object : list)
        if (auto* e = dynamic_cast<T_Enemigo*>(object.get())) act(*e);
}

}  // namespace

// --- construction ----------------------------------------------------------------

T_Enemigo::T_Enemigo() : Image(EnemyImage) {
    // Four runs of three triples (cell, cell, nothing): 28, 29, 28, 29.
    for (int i = 1; i <= 36; ++i) {
        const int run = (i - 1) / 9;
        const bool blank = (i % 3) == 0;
        anim_muerto[static_cast<std::size_t>(i)] = blank ? -1 : (run % 2 == 0 ? 28 : 29);
        anim_vigilante_muerto[static_cast<std::size_t>(i)] = blank ? -1 : (i <= 18 ? 37 : 38);
    }
}

// --- creation ----------------------------------------------------------------------

void T_Enemigo::f_Create_Canyonero(float x, float key, int dir) {
    auto e = Make(ENEMY_CANNON, x, static_cast<float>(ViewTop - 21), static_cast<int>(key));
    e->dir = dir;
    e->Image = EnemyCImage;
    e->timeold = static_cast<std::int64_t>(PlayMilliSecs());
    Append(e);
}

void T_Enemigo::f_Create_Corredor(float x, int key) {
    const float offset = static_cast<float>(plat::RandomInt(-30, 30));
    Append(Walker(ENEMY_RUNNER, x + offset, static_cast<float>(ViewTop - 21), key, DIR_DOWN));
}

void T_Enemigo::f_Create_Corredor_puerta(float x, int y, int dir) {
    auto e = Walker(ENEMY_RUNNER, x, static_cast<float>(y), y, dir);
    e->corre_pix = 20;  // the first leg is half a leg
    Append(e);
}

void T_Enemigo::f_Create_Corredor_montanya_l6(float x, int y, int dir) {
    auto e = Make(ENEMY_HILL_RUNNER, x, static_cast<float>(y), y);
    e->dir = e->facing = dir;
    e->speed = 0.25f;
    e->max_corre_pix = 240;
    e->num_balas = RollEnemyShot();
    Append(e);
}

void T_Enemigo::f_Create_Granadero(int y, int side) {
    Append(Walker(ENEMY_GRENADIER, EdgeX(side, 318), static_cast<float>(y), y, side));
}

void T_Enemigo::f_Create_Granadero_puerta(float x, int y, int dir) {
    Append(Walker(ENEMY_GRENADIER, x, static_cast<float>(y), y, dir));
}

void T_Enemigo::f_Create_Saltador(int y, int side, int base, int run) {
    auto e = Make(ENEMY_JUMPER, side == DIR_LEFT ? static_cast<float>(base + 318)
                                                 : side == DIR_RIGHT ? static_cast<float>(base) : 0.0f,
                  static_cast<float>(y + 30), y);
    e->dir = e->facing = side;
    e->speed = 0.3f;
    e->xplus = base;
    e->max_corre_saltador = run;
    Append(e);
}

void T_Enemigo::f_Create_Saltador_Camion(float x, int y) {
    auto e = Make(ENEMY_LORRY_JUMPER, x, static_cast<float>(y + 20), y);
    e->speed = 0.3f;
    Append(e);
}

void T_Enemigo::f_Create_Vigilante(float x, int key) {
    auto e = Make(ENEMY_GUARD, x, static_cast<float>(ViewTop - 15), key);
    e->facing = DIR_DOWN;
    Append(e);
}

void T_Enemigo::f_Create_Vigilante_Ini(float x, int y) {
    auto e = Make(ENEMY_GUARD, x, static_cast<float>(y - 15), y);
    e->facing = DIR_DOWN;
    Append(e);
}

void T_Enemigo::f_Create_Acuatico(float x, int y) {
    // The one swimmer of area 5's lake row sits lower in the water.
    const float top = (Level == 5 && y == 1536) ? 1560.0f : static_cast<float>(y - 15);
    auto e = Make(ENEMY_SWIMMER, x, top, y);
    e->facing = DIR_DOWN;
    Append(e);
}

void T_Enemigo::f_Create_Vigilante_Casa(float x, int key) {
    auto e = Make(ENEMY_HOUSE_GUARD, x, static_cast<float>(ViewTop - 15), key);
    e->facing = DIR_DOWN;
    GuardList->AddLast(e);
}

void T_Enemigo::f_Create_Trinchero(float x, int key, int period) {
    Append(Trench(x, static_cast<float>(ViewTop - 15), key, period));
}

void T_Enemigo::f_Create_Trinchero_Ini(float x, int y, int period) {
    Append(Trench(x, static_cast<float>(y - 15), y, period));
}

void T_Enemigo::f_Create_Puentero(int y, int side, int distance) {
    auto e = Make(ENEMY_BRIDGE_SOLDIER, EdgeX(side, 320), static_cast<float>(y), y);
    e->dir = e->facing = side;
    e->speed = ByStage(4, 0.24f, 8, 0.25f, 0.3f);
    e->max_pix_puentero = distance;
    Append(e);
}

void T_Enemigo::f_Create_Motero(int y) {
    auto e = Make(ENEMY_RIDER, 320, static_cast<float>(y - 42), y);
    e->dir = e->facing = DIR_LEFT;
    Append(e);
}

void T_Enemigo::f_Create_Granadero_puente(int y) {
    auto e = Make(ENEMY_BRIDGE_GRENADIER, 318, static_cast<float>(y), y);
    e->dir = e->facing = DIR_LEFT;
    e->speed = 0.3f;
    Append(e);
}

void T_Enemigo::f_Create_Secuestradores(int x, int y) {
    // A new group: its two kidnappers count towards the captive's freedom.
    KidnappersDown = 0;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    Append(Make(ENEMY_KIDNAPPER, fx, fy, y));
    Append(Make(ENEMY_CAPTIVE, fx + 18, fy, y));
    Append(Make(ENEMY_KIDNAPPER, fx + 32, fy, y));
}

void T_Enemigo::f_Create_Verde(float x, float y, int key, int dir) {
    auto e = Make(ENEMY_VERDE, x, y, key);
    e->dir = dir;
    e->speed = ByStage(4, 0.24f, 8, 0.25f, 0.26f);
    Append(e);
}

void T_Enemigo::f_Create_Bazookero(int key, int side) {
    auto e = Make(ENEMY_BAZOOKA, EdgeX(side, 320), static_cast<float>(ViewTop), key);
    e->dir = e->facing = side;
    e->speed = ByStage(4, 0.2f, 8, 0.24f, 0.3f);
    Append(e);
}

void T_Enemigo::f_Create_Sale_de_Puerta(float x, float y, int next, int key) {
    auto e = Walker(ENEMY_LEAVING_GATE, x, y, key, DIR_DOWN);
    e->newestado = next;
    Append(e);
    AddSpawnMarker(key);
}

// --- the update frame ----------------------------------------------------------------

float T_Enemigo::Step() const { return speed * fw::Delta; }

void T_Enemigo::LeaveEnemyList() { EnemyList->Remove(shared_from_this()); }

void T_Enemigo::HitScore(int otherState) {
    switch (estado) {
    case ENEMY_KIDNAPPER:
        KidnappersDown += 1;
        Score += 1000;
        estado = ENEMY_KIDNAPPER_SCORE;
        break;
    case ENEMY_VERDE:
        Score += 2000;
        estado = ENEMY_VERDE_SCORE;
        break;
    default:
        Score += 300;
        estado = otherState;
        break;
    }
}

namespace {

// States that no bullet or grenade hits: the dead and dying, the score
// sprites, the motorbike rider and the captive.
bool Unhittable(int estado) {
    switch (estado) {
    case ENEMY_DYING:
    case ENEMY_KIDNAPPER_SCORE:
    case ENEMY_VERDE_SCORE:
    case ENEMY_DYING_GUARD:
    case ENEMY_RIDER:
    case ENEMY_CAPTIVE:
    case ENEMY_DYING_HOUSE_GUARD: return true;
    default: return false;
    }
}

}  // namespace

void T_Enemigo::TestHits() {
    // One walk finds the first of the hero's bullets and the first of his
    // bursting grenades that touch the soldier; a bullet counts before any
    // grenade, wherever it lies in the list.
    const int bx = static_cast<int>(x + 2), by = static_cast<int>(y + 2);
    plat::Ref<plat::Object> bullet;
    T_Granada* burst = nullptr;
    for (const auto& object : *ShotList) {
        if (auto* bala = dynamic_cast<T_Bala*>(object.get())) {
            // Bullets never reach into a trench.
            if (estado == ENEMY_TRENCH || bala->owned != BALA_HERO) continue;
            if (RectsOverlap(static_cast<int>(bala->x), static_cast<int>(bala->y), 2, 2, bx, by, 20, 16)) {
                bullet = object;
                break;
            }
        } else if (auto* granada = dynamic_cast<T_Granada*>(object.get())) {
            if (burst || granada->owned != GRANADA_HERO || granada->explota != 1) continue;
            if (RectsOverlap(static_cast<int>(granada->x + 2), static_cast<int>(granada->y + 2), 20, 16, bx, by,
                             20, 16))
                burst = granada;
        }
    }
    if (bullet) {
        // The bullet is spent.
        HitScore(ENEMY_DYING);
        ShotList->Remove(bullet);
    } else if (burst) {
        // The grenade bursts on: one burst may kill any number of soldiers.
        if (estado == ENEMY_TRENCH) {
            if (estado_trinchero == TRENCH_UP) {  // down or half up he is under cover
                Score += 300;
                estado = ENEMY_DYING_GUARD;
            }
        } else if (estado == ENEMY_HOUSE_GUARD) {
            HitScore(ENEMY_DYING_HOUSE_GUARD);
        } else if (estado == ENEMY_GUARD || estado == ENEMY_SWIMMER) {
            HitScore(ENEMY_DYING_GUARD);
        } else {
            HitScore(ENEMY_DYING);
        }
    } else {
        return;
    }
    Frame_ind = 0;
}

bool T_Enemigo::OutOfWindow() const { return OutsideActorWindow(x, y); }

void T_Enemigo::Dying(int last) {
    // Counted in updates, not in Delta.
    Frame_ind += 1;
    if (Frame_ind <= last) return;
    Frame_ind = 0;
    // A house guard lies in GuardList; every other soldier in EnemyList.
    if (!EnemyList->Remove(shared_from_this())) GuardList->Remove(shared_from_this());
}

void T_Enemigo::m_Update_enemigo() {
    if (!Hero) return;
    if (!Unhittable(estado)) TestHits();
    if (OutOfWindow()) {
        LeaveEnemyList();  // a house guard is not in it and stays
        return;
    }
    Dispatch();
}

void T_Enemigo::Dispatch() {
    switch (estado) {
    case ENEMY_CANNON: m_update_canyonero(); break;
    case ENEMY_BAZOOKA: m_update_bazookero(); break;
    case ENEMY_GRENADIER: m_update_granadero(); break;
    case ENEMY_JUMPER: m_update_saltador(); break;
    case ENEMY_RUNNER: m_update_corredor(); break;
    case ENEMY_GUARD: m_update_vigilante(); break;
    case ENEMY_KIDNAPPER: m_update_secuestrador(); break;
    case ENEMY_CAPTIVE: m_update_capturado(); break;
    case ENEMY_BRIDGE_SOLDIER: m_update_puentero(); break;
    case ENEMY_RIDER: m_update_motero(); break;
    case ENEMY_VERDE: m_update_verde(); break;
    case ENEMY_LEAVING_GATE: m_update_sale_de_puerta(); break;
    case ENEMY_BRIDGE_GRENADIER: m_update_granadero_puente(); break;
    case ENEMY_TRENCH: m_update_trinchero(); break;
    case ENEMY_SWIMMER: m_update_acuatico(); break;
    case ENEMY_LORRY_JUMPER: m_update_saltador_camion(); break;
    case ENEMY_HOUSE_GUARD: m_update_vigilante_casa(); break;
    case ENEMY_HILL_RUNNER: m_update_corredor_l6(); break;
    case ENEMY_DYING:
    case ENEMY_DYING_GUARD:
    case ENEMY_DYING_HOUSE_GUARD: Dying(36); break;
    case ENEMY_KIDNAPPER_SCORE:
    case ENEMY_VERDE_SCORE: Dying(40); break;
    default: break;
    }
}

// --- the shared steps ------------------------------------------------------------------

void T_Enemigo::AnimStep(float period, int last) {
    if (AnimDelay < 0) {
        Frame_ind += 1;
        AnimDelay = period;
        if (Frame_ind > last) Frame_ind = 0;
    }
    AnimDelay -= 1.0f * fw::Delta;
}

void T_Enemigo::ShotStep(float delay) {
    // A bullet needs a direction to fly in: one that does not move would
    // stay in ShotList for ever.
    const bool aimed = facing >= DIR_UP_LEFT && facing <= DIR_DOWN_RIGHT && facing != DIR_NONE;
    if (num_balas > 0 && baladelay_enemigos < 0 && aimed) {
        T_Bala::f_Create_Bala_Enemigo(facing, x, y, BALA_ENEMY);
        baladelay_enemigos = delay;
        num_balas -= 1;
    }
    if (baladelay_enemigos >= 0) baladelay_enemigos -= 1.0f * fw::Delta;
}

void T_Enemigo::AimStep() {
    facing = AimDirectionFromZones(static_cast<int>(x), static_cast<int>(y - static_cast<float>(ViewTop)));
}

// --- aiming and rolls ----------------------------------------------------------------------

int AimDirectionFromZones(int x, int y) {
    // Rows: the shooter's zone; columns: the hero's.  Zones 1-5 are the upper
    // half of the view from left to right, 6-10 the lower half.
    static constexpr int kAim[10][10] = {
        {6, 6, 6, 6, 6, 8, 8, 9, 9, 9}, {4, 4, 6, 6, 6, 8, 8, 9, 9, 9}, {4, 4, 8, 6, 6, 7, 7, 8, 9, 9},
        {4, 4, 4, 6, 6, 7, 7, 7, 8, 8}, {4, 4, 4, 4, 8, 7, 7, 7, 8, 8}, {2, 2, 3, 3, 3, 3, 6, 6, 6, 6},
        {2, 2, 3, 3, 3, 4, 4, 6, 6, 6}, {1, 1, 2, 3, 3, 4, 4, 8, 6, 6}, {1, 1, 1, 2, 2, 4, 4, 4, 6, 6},
        {1, 1, 1, 1, 1, 4, 4, 4, 4, 4},
    };
    if (!Hero) return 0;
    const int s = ScreenZoneOf(static_cast<float>(x), y);
    const int h = ScreenZoneOf(Hero->x, static_cast<int>(Hero->y - static_cast<float>(ViewTop)));
    if (s < 1 || s > 10 || h < 1 || h > 10) return 0;
    return kAim[s - 1][h - 1];
}

int RollEnemyShot() {
    if (plat::RandomInt(1, 3) == 2) return 0;
    return plat::RandomInt(1, ByStage(4, 3, 8, 4, 5));
}

int RollEnemyGrenade() {
    const int r = plat::RandomInt(1, 4);
    if (r == 2 || r == 4) return 0;
    return plat::RandomInt(1, ByStage(4, 2, 8, 3, 4));
}

namespace {
int OddEven(int odd, int even) { return fw::RandRange(1, 10) % 2 != 0 ? odd : even; }
}  // namespace

int RandomDir6or9() { return OddEven(DIR_RIGHT, DIR_DOWN_RIGHT); }
int RandomDir4or7() { return OddEven(DIR_LEFT, DIR_DOWN_LEFT); }
int RandomDir9or8() { return OddEven(DIR_DOWN_RIGHT, DIR_DOWN); }
int RandomDir7or8() { return OddEven(DIR_DOWN_LEFT, DIR_DOWN); }

int RandomDirDownward() {
    const int r = fw::RandRange(1, 9);
    return r <= 3 ? DIR_DOWN : r <= 6 ? DIR_DOWN_LEFT : DIR_DOWN_RIGHT;
}

void RemoveTrenchSoldiers() {
    for (const auto& object : *EnemyList) {
        auto* e = dynamic_cast<T_Enemigo*>(object.get());
        if (e && e->estado == ENEMY_TRENCH) EnemyList->Remove(object);
    }
}

// --- drawing ---------------------------------------------------------------------------------

void T_Enemigo::m_Draw_enemigo() {
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    auto draw = [&](int cell, float dx = 0) {
        if (cell >= 0) plat::DrawImage(Image, x + dx, sy, cell);
    };
    auto byFacing = [&]() -> int {
        switch (facing) {
        case DIR_UP_LEFT: return CellOf(anim_upleft, Frame_ind);
        case DIR_UP: return CellOf(anim_up, Frame_ind);
        case DIR_UP_RIGHT: return CellOf(anim_upright, Frame_ind);
        case DIR_LEFT: return CellOf(anim_left, Frame_ind);
        case DIR_NONE: return CellOf(anim_lanza_granada, Frame_indgr);
        case DIR_RIGHT: return CellOf(anim_right, Frame_ind);
        case DIR_DOWN_LEFT: return CellOf(anim_downleft, Frame_ind);
        case DIR_DOWN: return CellOf(anim_down, Frame_ind);
        case DIR_DOWN_RIGHT: return CellOf(anim_downright, Frame_ind);
        default: return -1;
        }
    };
    auto posted = [&](int f) -> int {
        switch (f) {
        case DIR_DOWN_LEFT: return anim_vigilante[2];
        case DIR_DOWN: return anim_vigilante[0];
        case DIR_DOWN_RIGHT: return anim_vigilante[1];
        default: return -1;
        }
    };

    switch (estado) {
    case ENEMY_CANNON:
        if (dir == DIR_RIGHT) draw(CellOf(anim_canyonero, Frame_ind));
        else if (dir == DIR_LEFT) draw(CellOf(anim_canyonero_right, Frame_ind));
        break;
    case ENEMY_BAZOOKA: draw(CellOf(anim_bazookero, Frame_ind)); break;
    case ENEMY_GRENADIER:
    case ENEMY_RUNNER:
    case ENEMY_HILL_RUNNER: draw(byFacing()); break;
    case ENEMY_DYING: draw(DyingCell(anim_muerto, Frame_ind)); break;
    case ENEMY_JUMPER:
        if (dir == DIR_LEFT)
            draw(corre_pix <= static_cast<float>(max_corre_saltador + xplus) ? CellOf(anim_left, Frame_ind)
                                                                              : CellOf(anim_saltar_a_izq, Frame_ind));
        else if (dir == DIR_RIGHT)
            draw(corre_pix <= static_cast<float>(max_corre_saltador - xplus) ? CellOf(anim_right, Frame_ind)
                                                                              : CellOf(anim_saltar_a_der, Frame_ind));
        break;
    case ENEMY_GUARD:
    case ENEMY_SWIMMER:
    case ENEMY_HOUSE_GUARD: draw(posted(facing)); break;
    case ENEMY_KIDNAPPER: draw(CellOf(anim_secuestrador, Frame_ind)); break;
    case ENEMY_CAPTIVE:
        draw(libre != 0 ? CellOf(anim_capturado_libre, Frame_ind) : CellOf(anim_capturado, Frame_ind));
        break;
    case ENEMY_BRIDGE_SOLDIER:
        if (dir == DIR_LEFT) draw(CellOf(anim_left, Frame_ind));
        else if (dir == DIR_RIGHT) draw(CellOf(anim_right, Frame_ind));
        break;
    case ENEMY_RIDER: {
        const int cell = corre_pix < 184 ? anim_motero_left : CellOf(anim_motero_granada, Frame_indgr);
        if (cell >= 0) {
            draw(cell);
            draw(cell + 1, 24);
        }
        break;
    }
    case ENEMY_VERDE:
        if (dir == DIR_UP_LEFT || dir == DIR_DOWN_LEFT || dir == DIR_DOWN) draw(CellOf(anim_verde_izq, Frame_ind));
        else if (dir == DIR_UP_RIGHT || dir == DIR_DOWN_RIGHT) draw(CellOf(anim_verde_der, Frame_ind));
        break;
    case ENEMY_LEAVING_GATE: draw(CellOf(anim_down, Frame_ind)); break;
    case ENEMY_KIDNAPPER_SCORE: draw(puntos_secuestrador); break;
    case ENEMY_VERDE_SCORE: draw(puntos_verde); break;
    case ENEMY_DYING_GUARD:
    case ENEMY_DYING_HOUSE_GUARD: draw(DyingCell(anim_vigilante_muerto, Frame_ind)); break;
    case ENEMY_BRIDGE_GRENADIER:
        if (facing == DIR_LEFT) draw(CellOf(anim_left, Frame_ind));
        else if (facing == DIR_NONE) draw(CellOf(anim_lanza_granada, Frame_indgr));
        else if (facing == DIR_RIGHT) draw(CellOf(anim_right, Frame_ind));
        break;
    case ENEMY_TRENCH:
        if (estado_trinchero == TRENCH_DOWN) draw(anim_trinchero[0]);
        else if (estado_trinchero == TRENCH_HALF_UP) draw(anim_trinchero[1]);
        else if (estado_trinchero == TRENCH_UP) draw(posted(facing));
        break;
    case ENEMY_LORRY_JUMPER: draw(CellOf(anim_saltar_a_der, Frame_ind)); break;
    default: break;
    }
}

// --- the passes ----------------------------------------------------------------------------------

void UpdateEnemies() {
    EachSoldier(*EnemyList, [](T_Enemigo& e) { e.m_Update_enemigo(); });
}

void UpdateGuards() {
    EachSoldier(*GuardList, [](T_Enemigo& e) { e.m_Update_enemigo(); });
}

void DrawEnemies() {
    EachSoldier(*EnemyList, [](T_Enemigo& e) {
        if (e.estado != ENEMY_RIDER) e.m_Draw_enemigo();
    });
}

void DrawGuards() {
    EachSoldier(*GuardList, [](T_Enemigo& e) { e.m_Draw_enemigo(); });
}

void DrawOverlayEnemies(bool riders, bool bridgeGrenadiers) {
    EachSoldier(*EnemyList, [&](T_Enemigo& e) {
        if ((riders && e.estado == ENEMY_RIDER) || (bridgeGrenadiers && e.estado == ENEMY_BRIDGE_GRENADIER))
            e.m_Draw_enemigo();
    });
}

bool EnemyTouchesHero(int x, int y, int w, int h) {
    for (const auto& object : *EnemyList) {
        const auto* e = dynamic_cast<const T_Enemigo*>(object.get());
        if (!e || e->estado == ENEMY_CAPTIVE || e->estado == ENEMY_DYING) continue;
        if (RectsOverlap(x, y, w, h, static_cast<int>(e->x + 6), static_cast<int>(e->y + 6), 12, 9)) return true;
    }
    return false;
}

}  // namespace game
