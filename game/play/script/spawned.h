#pragma once
// What the level script asks before it makes an actor: whether one made for
// the same creation key is still alive (the spawned-at tests), and the
// spawn markers the gate wave leaves for the soldiers it has sent.

#include "game/globals.h"
#include "game/play/script/area_tables.h"

namespace game {

// 1 when `list` holds an actor of class T whose creation key (py_creado) is
// `key`, else 0; entries of other classes are skipped.
template <class T>
int SpawnedIn(const ActorList& list, int key) {
    for (const auto& object : list) {
        const auto* actor = dynamic_cast<const T*>(object.get());
        if (actor && actor->py_creado == key) return 1;
    }
    return 0;
}

int EnemySpawnedAt(int key);       // a T_Enemigo of EnemyList
int ExtraEnemySpawnedAt(int key);  // a T_Enemigo of GuardList (house guards)
int VehicleSpawnedAt(int key);     // a T_Vehiculo_Enemigo of EnemyList
int PickupSpawnedAt(int key);      // a T_Pack_Granadas of ShotList
// The test a rule of the tables names.
int SpawnedAt(SpawnTest test, int key);

// 1 when any of the 20 marker slots holds `value`.
int SpawnMarkerSet(int value);
// Writes `value` into the first empty (0) slot of slots 0 to 15; nothing
// when all sixteen are taken.
void AddSpawnMarker(int value);

}  // namespace game
