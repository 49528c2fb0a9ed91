#pragma once
// The places where the level play reaches actors that live in modules of
// their own: enemy soldiers, vehicles, huts, grenade packs, fortress fires
// and the spawn script.  Each hook is a function-valued field that those
// modules fill in when the program starts; an empty hook is skipped, so the
// tick of play runs its passes over empty lists until they exist.
//
// The passes keep the order of the tick: the level screen calls the hooks at
// the very places where it walks the lists, and every pass walks its list
// first to last and acts only on the entries of its own class.
//
// These seams exist only until those modules are written: each hook goes
// when its module lands and its caller calls the module directly (the plan
// is in README.md of this folder).

#include <functional>
#include <utility>

#include "game/play/script/area_tables.h"

namespace game {

struct TPlayHooks {
    // --- the tick (TLevelScreen::Logic) ---------------------------------------
    std::function<void()> RunSpawnScript;   // the level script, once per tick
    std::function<void()> UpdateEnemies;    // every T_Enemigo in EnemyList
    std::function<void()> UpdateGuards;     // every T_Enemigo in GuardList

    // --- the frame (TLevelScreen::Draw) ---------------------------------------
    std::function<void()> DrawEnemies;      // those whose estado is not 11
    std::function<void()> DrawGuards;
    // Draws one enemy of EnemyList when its estado is in the area's overlay
    // set (11 motorbike rider, 18 bridge grenadier); the overlay window test
    // is made by DrawWindowedEnemies.
    std::function<void(bool riders, bool bridgeGrenadiers)> DrawOverlayEnemies;

    // --- the hero's contact tests ---------------------------------------------
    // 1 when a T_Enemigo of EnemyList whose estado is neither 9 nor 4 has its
    // box (Int(x + 6), Int(y + 6), 12, 9) overlapping the hero's box.
    std::function<bool(int x, int y, int w, int h)> EnemyTouchesHero;

    // --- creation (script/make_actor.cpp) ---------------------------------------
    // The actor's creation function for a call of the area tables, with its
    // picker and kind already resolved (Picker::None, never DoorSoldier).
    std::function<void(const CreationCall& call)> Create;
    // The direction a picker draws.
    std::function<int(Picker picker)> PickDirection;

    // --- what the vehicles use of the soldiers ------------------------------------
    // The aiming table: the direction of a shot from view position (x, sy)
    // towards the hero.
    std::function<int(int x, int sy)> AimDirectionFromZones;
    // The soldier a lorry drops: T_Enemigo::f_Create_Saltador_Camion(x, y).
    std::function<void(float x, int y)> CreateLorryJumper;
};

// The one set of hooks of the program.
TPlayHooks& PlayHooks();

// Calls a hook when it is set.
template <class F, class... A>
inline void CallHook(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace game
