#pragma once
// The places where the level play reaches actors that live in modules of
// their own: vehicles, huts, grenade packs, fortress fires and the spawn
// script.  Each hook is a function-valued field that those modules fill in
// when the program starts; an empty hook is skipped, so the tick of play
// runs its passes over empty lists until they exist.
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
    std::function<void()> UpdatePickups;    // every T_Pack_Granadas in ShotList
    std::function<void()> UpdateHuts;       // every T_Caseta in HutList
    std::function<void()> UpdateVehicles;   // every T_Vehiculo_Enemigo in EnemyList

    // --- the frame (TLevelScreen::Draw) ---------------------------------------
    std::function<void()> DrawPickups;
    std::function<void()> DrawVehicles;
    std::function<void()> DrawHuts;

    // --- the hero's contact tests ---------------------------------------------
    // 1 when a T_Vehiculo_Enemigo of EnemyList has its box
    // (Int(x + 6), Int(y + 6), 12, 9) overlapping the hero's box.
    std::function<bool(int x, int y, int w, int h)> VehicleTouchesHero;

    // --- fortress fires -------------------------------------------------------
    std::function<void()> UpdateFires;  // every T_Fuego in FireList
    std::function<void()> DrawFires;

    // --- the huts standing again after a death ---------------------------------
    std::function<void()> ResetHuts;  // every hut estado = HUT_STANDING

    // --- creation (script/make_actor.cpp) ---------------------------------------
    // The actor's creation function for a call of the area tables (other
    // than the enemy soldiers'), with its picker and kind already resolved
    // (Picker::None, never DoorSoldier).
    std::function<void(const CreationCall& call)> Create;
};

// The one set of hooks of the program.
TPlayHooks& PlayHooks();

// Calls a hook when it is set.
template <class F, class... A>
inline void CallHook(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace game
