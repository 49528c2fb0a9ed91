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

#include <functional>
#include <utility>

namespace game {

struct TPlayHooks {
    // --- the tick (TLevelScreen::Logic) ---------------------------------------
    std::function<void()> RunSpawnScript;   // the level script, once per tick
    std::function<void()> UpdateEnemies;    // every T_Enemigo in EnemyList
    std::function<void()> UpdateGuards;     // every T_Enemigo in GuardList
    std::function<void()> UpdatePickups;    // every T_Pack_Granadas in ShotList
    std::function<void()> UpdateHuts;       // every T_Caseta in HutList
    std::function<void()> UpdateVehicles;   // every T_Vehiculo_Enemigo in EnemyList

    // --- the frame (TLevelScreen::Draw) ---------------------------------------
    std::function<void()> DrawPickups;
    std::function<void()> DrawEnemies;      // those whose estado is not 11
    std::function<void()> DrawGuards;
    std::function<void()> DrawVehicles;
    std::function<void()> DrawHuts;
    // Draws one enemy of EnemyList when its estado is in the area's overlay
    // set (11 motorbike rider, 18 bridge grenadier); the overlay window test
    // is made by DrawWindowedEnemies.
    std::function<void(bool riders, bool bridgeGrenadiers)> DrawOverlayEnemies;

    // --- the hero's contact tests ---------------------------------------------
    // 1 when a T_Enemigo of EnemyList whose estado is neither 9 nor 4 has its
    // box (Int(x + 6), Int(y + 6), 12, 9) overlapping the hero's box.
    std::function<bool(int x, int y, int w, int h)> EnemyTouchesHero;
    // The same for the T_Vehiculo_Enemigo of EnemyList.
    std::function<bool(int x, int y, int w, int h)> VehicleTouchesHero;

    // --- fortress fires (areas 4 and 8) ---------------------------------------
    std::function<void(int x, int y)> CreateFire;  // T_Fuego::f_Create_fuego
    std::function<void()> UpdateFires;             // every T_Fuego in FireList
    std::function<void()> DrawFires;

    // --- creation functions used by the level start and the checkpoints -------
    std::function<void(int x, int kind)> CreateHut;                   // f_Create_Caseta
    std::function<void()> ResetHuts;                                  // every hut estado = 29
    std::function<void(float x, int row, int dir)> CreateDoorRunner;  // f_Create_Corredor_puerta
    std::function<void(float x, int row, int dir)> CreateDoorGrenadier;  // f_Create_Granadero_puerta
    std::function<void(float x, int row)> CreateGuardIni;             // f_Create_Vigilante_Ini
    std::function<void(float x, int row, int delay)> CreateTrenchIni; // f_Create_Trinchero_Ini
    std::function<void(int x, int row)> CreatePickup;                 // f_Create_pack_gr
    std::function<void(int row)> CreateBridgeGrenadier;               // f_Create_Granadero_puente
    std::function<void(float x, int row)> CreateSwimmer;              // f_Create_Acuatico
    std::function<void(int row)> CreateMotorbike;                     // f_Create_v_Moto
    std::function<void(int row)> CreateMotorbikeLeft;                 // f_Create_v_Moto_izq
    std::function<void(int row, int dir)> CreateGrenadier;            // f_Create_Granadero
    std::function<void(int key, int dir)> CreateBazooka;              // f_Create_Bazookero
    std::function<void(float x, int key)> CreateRunner;               // f_Create_Corredor
    std::function<void(int row)> CreateRider;                         // f_Create_Motero
    std::function<void(float x, float key, int dir)> CreateCannon;    // f_Create_Canyonero

    // --- random direction pickers of the enemies ------------------------------
    std::function<int()> RandomDir9or8;
    std::function<int()> RandomDir7or8;
};

// The one set of hooks of the program.
TPlayHooks& PlayHooks();

// Calls a hook when it is set.
template <class F, class... A>
inline void CallHook(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace game
