// The soldiers bound to a place or a short path: the cannon, the bazooka
// soldier, the guards (on foot, in the water, in the houses), the trench
// soldier, the bridge soldier and bridge grenadier, the motorbike rider and
// the kidnappers with their captive.  Most of them watch how far below them
// the hero is: Hero.y - y, positive while he is below (he advances upwards).

#include <cmath>
#include <cstdint>

#include "framework/helpers.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "game/play/shots.h"
#include "platform/core/random.h"

namespace game {

namespace {

float HeroBelow(const T_Enemigo& e) { return Hero->y - e.y; }

}  // namespace

// --- cannon -------------------------------------------------------------------------

void T_Enemigo::m_update_canyonero() {
    // Every two seconds of the play clock, whatever the frame rate.
    timenew = static_cast<std::int64_t>(PlayMilliSecs());
    if (timenew - timeold > 2000) {
        timeold = timenew;
        if (dir == DIR_LEFT) T_Granada::f_create_granada_canyon(x - 20, y + 10);
        if (dir == DIR_RIGHT) T_Granada::f_create_granada_canyon(x + 40, y);
        anim_disp_canyonero = 1;
    }
    if (anim_disp_canyonero == 1) {
        if (AnimDelay < 0) {
            Frame_ind += 1;
            AnimDelay = 6;
            if (Frame_ind > 2) {
                anim_disp_canyonero = 0;
                Frame_ind = 0;
            }
        }
        AnimDelay -= 1.0f * fw::Delta;
    }
    if (HeroBelow(*this) < 50) {
        // The gunner leaves his cannon and runs (still drawn from its sheet).
        estado = ENEMY_RUNNER;
        dir = facing = DIR_UP_LEFT;
    }
}

// --- bazooka soldier ----------------------------------------------------------------

void T_Enemigo::m_update_bazookero() {
    if (dir == DIR_LEFT) x -= Step();
    if (dir == DIR_RIGHT) x += Step();
    if (baladelay_enemigos < 0) {
        facing = std::fabs(x - Hero->x) < 50 ? DIR_DOWN : x >= Hero->x ? DIR_DOWN_LEFT : DIR_DOWN_RIGHT;
        T_Bala::f_Create_Bala_Bazookero(facing, x, y);
        baladelay_enemigos = ByStage(3, 200.0f, 4, 160.0f, 120.0f);
    }
    if (baladelay_enemigos >= 0) baladelay_enemigos -= 1.0f * fw::Delta;
    AnimStep(40, 2);
}

// --- guards ------------------------------------------------------------------------------

void T_Enemigo::m_update_vigilante() {
    if (HeroBelow(*this) < 60) {
        // Too close: he jumps up and runs.
        estado = ENEMY_RUNNER;
        dir = facing = DIR_UP;
        y -= 10;
        return;
    }
    AimStep();
    ShotStep(Stage == 1 ? 350.0f : 250.0f);
    if (num_balas < 1 && baladelay_enemigos < 0) num_balas = fw::RandRange(1, 10);
}

namespace {

// The swimmer and the house guard: they watch the hero below them and never
// shoot upwards or sideways.  `delay` gives the pause after a shot from the
// pause before (the house guard keeps it on areas without houses).
template <class Delay>
void WatchAndShoot(T_Enemigo& e, Delay delay, int burst) {
    if (Hero->y <= e.y + 24) {
        e.facing = DIR_DOWN;
        return;
    }
    e.facing = AimDirectionFromZones(static_cast<int>(e.x), static_cast<int>(e.y - static_cast<float>(ViewTop)));
    if (e.facing <= DIR_RIGHT) e.facing = DIR_DOWN_LEFT;
    if (e.num_balas > 0 && e.baladelay_enemigos < 0) {
        T_Bala::f_Create_Bala_Enemigo(e.facing, e.x, e.y - 1, BALA_ENEMY_THROUGH);
        e.baladelay_enemigos = delay(e.baladelay_enemigos);
        e.num_balas -= 1;
    }
    if (e.baladelay_enemigos >= 0) e.baladelay_enemigos -= 1.0f * fw::Delta;
    if (e.num_balas < 1 && e.baladelay_enemigos < 0) e.num_balas = fw::RandRange(1, burst);
}

}  // namespace

void T_Enemigo::m_update_acuatico() {
    WatchAndShoot(*this, [](float) { return 200.0f; }, 10);
}

void T_Enemigo::m_update_vigilante_casa() {
    WatchAndShoot(*this, [](float before) { return Level == 4 ? 200.0f : Level == 8 ? 150.0f : before; }, 20);
}

// --- trench soldier ------------------------------------------------------------------

void T_Enemigo::m_update_trinchero() {
    // Down, half up, up (while he has shots), half up, down ...
    if (AnimDelay < 0) {
        AnimDelay = static_cast<float>(max_AnimDelay);
        if (estado_trinchero == TRENCH_DOWN) {
            estado_trinchero = TRENCH_HALF_UP;
            estado_old_trinchero = TRENCH_DOWN;
            if (num_balas < 1) num_balas = fw::RandRange(0, 2);
        } else if (estado_trinchero == TRENCH_HALF_UP) {
            if (estado_old_trinchero == TRENCH_DOWN) estado_trinchero = TRENCH_UP;
            else if (estado_old_trinchero == TRENCH_UP) estado_trinchero = TRENCH_DOWN;
            estado_old_trinchero = TRENCH_HALF_UP;
        } else if (estado_trinchero == TRENCH_UP && num_balas < 1) {
            estado_trinchero = TRENCH_HALF_UP;
            estado_old_trinchero = TRENCH_UP;
        }
    }
    if (estado_trinchero == TRENCH_UP) {
        AimStep();
        if (facing <= DIR_RIGHT) facing = DIR_DOWN;
        ShotStep(200);
    }
    AnimDelay -= 1.0f * fw::Delta;
}

// --- bridge ------------------------------------------------------------------------------

void T_Enemigo::m_update_puentero() {
    // Along the bridge at double speed, then down as a runner.
    const float s2 = 2 * Step();
    if (dir == DIR_LEFT && corre_pix < static_cast<float>(max_pix_puentero)) {
        x -= s2;
        corre_pix += s2;
        AnimStep(20, 2);
    } else if (dir == DIR_RIGHT && corre_pix <= static_cast<float>(max_pix_puentero)) {
        x += s2;
        corre_pix += s2;
        AnimStep(20, 2);
    } else if (dir == DIR_LEFT || dir == DIR_RIGHT) {
        dir = facing = DIR_DOWN;
        estado = ENEMY_RUNNER;
        corre_pix = 0;
    }
}

void T_Enemigo::m_update_granadero_puente() {
    if (corre_pix >= 0 && corre_pix < 80) {
        x -= Step();
        corre_pix += Step();
        num_granadas = -1;
    } else if (corre_pix >= 80) {
        num_granadas = plat::RandomInt(1, 3);
        corre_pix = -1;  // the walk in is over
    }
    AnimStep(20, 2);
    if (num_granadas > 0 && granadadelay_enemigos < 0) m_anim_tira_granada();
    if (granadadelay_enemigos >= 0) granadadelay_enemigos -= 1.0f * fw::Delta;
    if (num_granadas == 0 && x < 320) {
        // The last grenade thrown: off to the right.
        dir = facing = DIR_RIGHT;
        x += Step();
    }
}

// --- motorbike rider ---------------------------------------------------------------------

void T_Enemigo::m_update_motero() {
    const float s = Step();
    if (corre_pix < 184) {  // rides in from the right edge
        x -= 3 * s;
        corre_pix += 3 * s;
        return;
    }
    const float below = HeroBelow(*this);
    if (below > 60) {
        if (animdelaygr < 0) {
            Frame_indgr += 1;
            animdelaygr = ByStage(2, 65.0f, 4, 60.0f, 55.0f);
            if (Frame_indgr > 1) {
                T_Granada::f_create_granada_enemigo(x + 8, y);
                Frame_indgr = 0;
            }
        }
        animdelaygr -= 1.0f * fw::Delta;
    } else if (below <= 30) {  // rides off to the left
        Frame_indgr = 0;
        x -= 2 * s;
        corre_pix += 2 * s;
    }
}

// --- kidnappers and captive ----------------------------------------------------------------

void T_Enemigo::m_update_secuestrador() {
    AnimStep(32, 1);
    if (HeroBelow(*this) < 80) dir = DIR_UP_LEFT;
    if (dir == DIR_UP_LEFT) {
        x -= Step();
        y -= Step();
    }
}

void T_Enemigo::m_update_capturado() {
    AnimStep(32, 1);
    if (HeroBelow(*this) < 80) dir = DIR_UP_LEFT;
    if (dir == DIR_UP_LEFT && libre == 0) {
        x -= Step();
        y -= Step();
    }
    if (KidnappersDown == 2) {
        // Both kidnappers down: free, he stays where he is.
        libre = 1;
        AnimStep(60, 1);
    }
}

}  // namespace game
