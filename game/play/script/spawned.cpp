#include "game/play/script/spawned.h"

#include <algorithm>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/pickups.h"

namespace game {

int EnemySpawnedAt(int key) { return SpawnedIn<T_Enemigo>(*EnemyList, key); }

int ExtraEnemySpawnedAt(int key) { return SpawnedIn<T_Enemigo>(*GuardList, key); }

int VehicleSpawnedAt(int key) { return SpawnedIn<T_Vehiculo_Enemigo>(*EnemyList, key); }

int PickupSpawnedAt(int key) { return SpawnedIn<T_Pack_Granadas>(*ShotList, key); }

int SpawnedAt(SpawnTest test, int key) {
    switch (test) {
    case SpawnTest::Enemy: return EnemySpawnedAt(key);
    case SpawnTest::Vehicle: return VehicleSpawnedAt(key);
    case SpawnTest::Guard: return ExtraEnemySpawnedAt(key);
    case SpawnTest::Pickup: return PickupSpawnedAt(key);
    }
    return 0;
}

int SpawnMarkerSet(int value) {
    return std::find(SpawnMarkers.begin(), SpawnMarkers.end(), value) != SpawnMarkers.end() ? 1 : 0;
}

void AddSpawnMarker(int value) {
    const auto slots = SpawnMarkers.begin() + 16;
    const auto free = std::find(SpawnMarkers.begin(), slots, 0);
    if (free != slots) *free = value;
}

}  // namespace game
