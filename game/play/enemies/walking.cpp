// The soldiers that roam the play field: the runner and the grenadier walk
// legs in eight directions, probing the map before every step and choosing a
// new direction when a leg ends or the way is blocked; the verde soldier
// walks diagonals; the rest are short scripted entrances (the gate, the
// jumps, the hill of area 6) that end as runners or grenadiers.

#include <cmath>
#include <cstddef>

#include "framework/helpers.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/field.h"
#include "game/play/shots.h"
#include "platform/core/random.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

struct Probe {
    int px, py;
};

// Per direction 1..9 (5 unused): where the runner probes the map, the five
// directions a finished leg picks from (list A), and the three a blocked
// one picks from (list B).
struct Way {
    Probe probe;
    int listA[5];
    int listB[3];
};
constexpr Way kRunnerWays[10] = {
    {},
    {{2, 15}, {1, 2, 3, 4, 7}, {9, 8, 6}},
    {{12, 15}, {1, 2, 3, 4, 6}, {7, 8, 9}},
    {{22, 15}, {1, 2, 3, 6, 9}, {4, 7, 8}},
    {{2, 16}, {1, 2, 4, 7, 8}, {3, 6, 9}},
    {},
    {{22, 16}, {2, 3, 6, 8, 9}, {1, 4, 7}},
    {{2, 21}, {1, 4, 7, 8, 9}, {2, 3, 6}},
    {{12, 21}, {4, 6, 7, 8, 9}, {1, 2, 3}},
    {{22, 21}, {3, 6, 7, 8, 9}, {4, 1, 2}},
};

// The grenadier probes at its left edge also when it walks right.
constexpr Probe kGrenadierProbes[10] = {{},       {2, 15},  {12, 15}, {2, 15},  {2, 16},
                                        {},       {2, 16},  {2, 21},  {12, 21}, {2, 21}};

// A grenadier's new direction after a leg up-left, up or up-right, by a draw
// of RandomInt(1, 8) (index 0 unused).
constexpr int kGrenadierUpPicks[4][9] = {
    {},
    {0, 1, 2, 3, 4, 2, 1, 7, 4},
    {0, 1, 2, 3, 4, 6, 1, 2, 3},
    {0, 1, 2, 3, 6, 9, 2, 3, 6},
};

bool Walkable(int d) { return d >= DIR_UP_LEFT && d <= DIR_DOWN_RIGHT && d != DIR_NONE; }

bool Clear(float x, float y, Probe p) {
    return GameMap->MapCollision(static_cast<int>(x + static_cast<float>(p.px)),
                                 static_cast<int>(y + static_cast<float>(p.py))) == 0;
}

// One step of s along a direction.
void Move(float& x, float& y, int d, float s) {
    if (d == DIR_UP_LEFT || d == DIR_LEFT || d == DIR_DOWN_LEFT) x -= s;
    if (d == DIR_UP_RIGHT || d == DIR_RIGHT || d == DIR_DOWN_RIGHT) x += s;
    if (d == DIR_UP_LEFT || d == DIR_UP || d == DIR_UP_RIGHT) y -= s;
    if (d == DIR_DOWN_LEFT || d == DIR_DOWN || d == DIR_DOWN_RIGHT) y += s;
}

}  // namespace

// --- runner ---------------------------------------------------------------------

void T_Enemigo::m_update_corredor() {
    if (Walkable(dir)) {
        const Way& way = kRunnerWays[dir];
        const float s = Step();
        if (Clear(x, y, way.probe) && corre_pix < static_cast<float>(max_corre_pix)) {
            Move(x, y, dir, s);
            corre_pix += s;
            if (dir == DIR_DOWN) {
                // A zig-zag on the way down, on exact multiples of 3 only.
                const bool onThree = std::fmod(corre_pix, 3.0f) == 0.0f;
                if (onThree && corre_pix < 20) x += speed;
                if (onThree && corre_pix > 20 && corre_pix < 40) x -= speed;
            }
        } else if (corre_pix >= static_cast<float>(max_corre_pix)) {
            dir = way.listA[plat::RandomInt(1, 5) - 1];
            corre_pix = 0;
            AimStep();
            num_balas = RollEnemyShot();
        } else {
            dir = way.listB[plat::RandomInt(1, 3) - 1];
            corre_pix = 0;
            AimStep();
        }
    }
    AnimStep(20, 2);
    ShotStep(ByStage(4, 200.0f, 8, 150.0f, 120.0f));
}

// --- grenadier ------------------------------------------------------------------

void T_Enemigo::m_update_granadero() {
    if (Walkable(dir)) {
        const float s = Step();
        if (Clear(x, y, kGrenadierProbes[dir]) && corre_pix < static_cast<float>(max_anda_pix)) {
            Move(x, y, dir, s);
            corre_pix += s;
        } else {
            const bool shortLeg = dir == DIR_UP_RIGHT || dir == DIR_RIGHT || dir == DIR_DOWN;
            const int leg = shortLeg ? max_corre_pix : max_anda_pix;
            if (corre_pix >= static_cast<float>(leg)) {
                if (dir <= DIR_UP_RIGHT)
                    dir = kGrenadierUpPicks[dir][plat::RandomInt(1, 8)];
                else
                    dir = kRunnerWays[dir].listA[plat::RandomInt(1, 5) - 1];
                corre_pix = 0;
                AimStep();
                num_granadas = RollEnemyGrenade();
            } else {
                static constexpr int kUpLeftB[3] = {9, 7, 6};
                const int* listB = dir == DIR_UP_LEFT ? kUpLeftB : kRunnerWays[dir].listB;
                dir = listB[plat::RandomInt(1, 3) - 1];
                corre_pix = 0;
                AimStep();
            }
        }
    } else if (dir == DIR_NONE && num_granadas <= 0) {
        // The series is thrown: off to the left.
        dir = DIR_LEFT;
        AimStep();
    }
    AnimStep(20, 2);
    if (num_granadas > 0 && granadadelay_enemigos < 0) m_anim_tira_granada();
    if (granadadelay_enemigos >= 0) granadadelay_enemigos -= 1.0f * fw::Delta;
}

void T_Enemigo::m_anim_tira_granada() {
    if (animdelaygr < 0) {
        dir = facing = DIR_NONE;
        Frame_indgr += 1;
        animdelaygr = 20;
        if (Frame_indgr >= 2) {
            T_Granada::f_create_granada_enemigo(x, y);
            granadadelay_enemigos = ByStage(2, 85.0f, 4, 75.0f, 60.0f);
            num_granadas -= 1;
            Frame_indgr = 0;
        }
    }
    animdelaygr -= 1.0f * fw::Delta;
}

// --- verde soldier --------------------------------------------------------------

void T_Enemigo::m_update_verde() {
    // Per direction: the probe, the leg, the picks at the leg's end and the
    // way out when blocked before it.
    struct Diagonal {
        int dir;
        Probe probe;
        float dx, dy;  // per s
        float leg;
        int picks[3];
        int pickCount;
        int blocked;
    };
    static constexpr Diagonal kWays[] = {
        {DIR_UP_LEFT, {2, 15}, -1, -2, 40, {1, 3, 7}, 3, 9},
        {DIR_UP_RIGHT, {22, 15}, 1, -1, 40, {1, 3, 9}, 3, 7},
        {DIR_DOWN_LEFT, {2, 21}, -1, 1, 40, {1, 7, 9}, 3, 3},
        {DIR_DOWN, {12, 21}, 0, 1, 60, {9, 7, 0}, 2, 1},
        {DIR_DOWN_RIGHT, {22, 21}, 1, 1, 40, {3, 7, 9}, 3, 1},
    };
    for (const Diagonal& way : kWays) {
        if (way.dir != dir) continue;
        const float s = Step();
        if (Clear(x, y, way.probe) && corre_pix < way.leg) {
            x += way.dx * s;
            y += way.dy * s;
            corre_pix += s;
        } else {
            dir = corre_pix >= way.leg ? way.picks[plat::RandomInt(1, way.pickCount) - 1] : way.blocked;
            corre_pix = 0;
        }
        break;
    }
    AnimStep(20, 1);
}

// --- runner of area 6 -----------------------------------------------------------

void T_Enemigo::m_update_corredor_l6() {
    if (dir == DIR_LEFT || dir == DIR_RIGHT) {
        if (corre_pix >= static_cast<float>(max_corre_pix)) {
            LeaveEnemyList();  // over the hill and gone
        } else {
            const float s = Step();
            x += dir == DIR_LEFT ? -s : s;
            corre_pix += s;
            AimStep();
        }
    }
    AnimStep(20, 2);
    ShotStep(ByStage(4, 200.0f, 8, 150.0f, 100.0f));
}

// --- soldier leaving the gate ---------------------------------------------------

void T_Enemigo::m_update_sale_de_puerta() {
    const float way = Level == 4 ? 47.0f : 32.0f;
    if (corre_pix <= way) {
        const float s = Step();
        y += s;
        corre_pix += s;
        AnimStep(20, 2);
        return;
    }
    int next = DIR_DOWN;
    if (Level == 3) {
        // Area 3's gate opens onto paths that fan out by x.
        const int c = fw::RandRange(1, 10);
        if (x >= 130 && x < 150) next = c % 2 != 0 ? DIR_DOWN_RIGHT : DIR_DOWN;
        else if (x >= 150 && x <= 160) next = c <= 3 ? DIR_DOWN_LEFT : c <= 7 ? DIR_DOWN : DIR_DOWN_RIGHT;
        else if (x > 160 && x <= 180) next = c % 2 != 0 ? DIR_DOWN_LEFT : DIR_DOWN;
    }
    dir = facing = next;
    estado = newestado;
    corre_pix = 0;
}

// --- jumpers ----------------------------------------------------------------------

void T_Enemigo::m_update_saltador() {
    if (dir != DIR_LEFT && dir != DIR_RIGHT) return;
    const float m = static_cast<float>(dir == DIR_LEFT ? max_corre_saltador + xplus : max_corre_saltador - xplus);
    const float s = Step();
    const float forward = dir == DIR_LEFT ? -s : s;
    if (corre_pix <= m) {  // the run along the ledge
        x += forward;
        AnimStep(16, 2);
        corre_pix += s;
        if (corre_pix > m) Frame_ind = 0;
        return;
    }
    if (corre_pix <= m + 14) {  // up
        x += forward;
        y -= s;
        Frame_ind = 0;
    } else if (corre_pix <= m + 22) {  // across
        x += forward;
        Frame_ind = 0;
    } else if (corre_pix <= m + 50) {  // down and forward
        x += forward;
        y += s;
        Frame_ind = 1;
    } else if (corre_pix <= m + 58) {  // straight down
        y += s;
        Frame_ind = 1;
    } else {  // landed: a runner going up
        dir = facing = DIR_UP;
        estado = ENEMY_RUNNER;
        corre_pix = 10;
        speed = 0.24f;
        return;
    }
    corre_pix += s;
}

void T_Enemigo::m_update_saltador_camion() {
    const float s = Step();
    if (corre_pix <= 7) {
        x += s;
        y -= s;
        Frame_ind = 0;
    } else if (corre_pix <= 14) {
        x += s;
        Frame_ind = 0;
    } else if (corre_pix <= 21) {
        x += s;
        y += s;
        Frame_ind = 1;
    } else if (corre_pix <= 28) {
        y += s;
        Frame_ind = 1;
    } else {
        dir = facing = fw::RandRange(1, 10) % 2 != 0 ? DIR_RIGHT : DIR_DOWN_RIGHT;
        estado = ENEMY_RUNNER;
        corre_pix = 6;  // keeps its speed of 0.3
        return;
    }
    corre_pix += s;
}

}  // namespace game
