// The fire and grenade buttons of the level play.

#include <type_traits>

#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/hero.h"
#include "game/play/shots.h"
#include "game/player_input.h"

namespace game {

// The cool-down counts in fractions of a tick, so a display faster than the
// logic rate (every tick fractional) still lets the hero fire.
static_assert(std::is_same_v<decltype(FireCoolDown), float>, "FireCoolDown must be a Float");

void HandleFireButtons() {
    const bool able = Hero && Hero->estado != HERO_SHOT && Hero->estado != HERO_FALLEN;
    if (FireButtons == 1 && able) {
        if (FireCoolDown < 0) {
            T_Bala::f_Create_Bala_Dax();
            FireCoolDown = 14;
        }
    } else if (FireButtons == 2 && able && GrenadeReady == 1 && Grenades > 0) {
        if (Direction == DIR_NONE)
            Hero->anim_tirar_granada = 1;  // the grenade leaves his hand at the end of the pose
        else
            T_Granada::f_create_granada_Dax();
        if (!InfiniteLives) Grenades -= 1;
        GrenadeReady = 0;
        Hero->m_PlayGrenadeThrowSound();
    }
    if (FireCoolDown >= 0) FireCoolDown -= fw::Delta;
}

}  // namespace game
