#pragma once
// The game's numbered codes, named once: directions, the screens a hand-over
// comes from, and the states and kinds of the actors of the level play.
// Fields keep plain ints (the codes are also stored and compared as
// numbers), so each code is an unscoped enumerator with a fixed value.

namespace game {

// Direction codes: a keypad turned upside down.  DIR_NONE is standing still
// (for an enemy: throwing).
enum DirCode : int {
    DIR_UP_LEFT = 1,
    DIR_UP = 2,
    DIR_UP_RIGHT = 3,
    DIR_LEFT = 4,
    DIR_NONE = 5,
    DIR_RIGHT = 6,
    DIR_DOWN_LEFT = 7,
    DIR_DOWN = 8,
    DIR_DOWN_RIGHT = 9,
};

// The screen a hand-over comes from (LevelStartKind, written by Go()).
enum ScreenCode : int {
    SCREEN_TITLE = 1,
    SCREEN_LEVEL = 2,
    SCREEN_AREA_COMPLETE = 3,
    SCREEN_HIGH_SCORES = 4,
    SCREEN_OPTIONS = 5,
    SCREEN_REDEFINE_KEYS = 6,
    SCREEN_NAME_ENTRY = 7,
};

// The hero's states (T_Dax::estado).
enum HeroState : int {
    HERO_SHOT = 4,
    HERO_FORTRESS_REACHED = 35,
    HERO_FORTRESS_BURNING = 36,
    HERO_PLAYING = 40,
    HERO_LEAVING = 41,
    HERO_LEVEL_LEFT = 42,
    HERO_FALLEN = 43,
    HERO_ENTERING = 44,
};

// An enemy soldier's kind or phase (T_Enemigo::estado).
enum EnemyState : int {
    ENEMY_CANNON = 1,
    ENEMY_BAZOOKA = 2,
    ENEMY_GRENADIER = 3,
    ENEMY_DYING = 4,
    ENEMY_JUMPER = 5,
    ENEMY_RUNNER = 6,
    ENEMY_GUARD = 7,
    ENEMY_KIDNAPPER = 8,
    ENEMY_CAPTIVE = 9,
    ENEMY_BRIDGE_SOLDIER = 10,
    ENEMY_RIDER = 11,
    ENEMY_VERDE = 12,
    ENEMY_LEAVING_GATE = 13,
    ENEMY_KIDNAPPER_SCORE = 14,
    ENEMY_VERDE_SCORE = 15,
    ENEMY_DYING_GUARD = 16,  // guards, swimmers and trench soldiers
    ENEMY_BRIDGE_GRENADIER = 18,
    ENEMY_TRENCH = 19,
    ENEMY_SWIMMER = 28,
    ENEMY_LORRY_JUMPER = 32,
    ENEMY_HOUSE_GUARD = 33,
    ENEMY_DYING_HOUSE_GUARD = 34,
    ENEMY_HILL_RUNNER = 37,  // area 6: crosses a slope once
};

// A trench soldier's phase (T_Enemigo::estado_trinchero).
enum TrenchPhase : int {
    TRENCH_DOWN = 20,
    TRENCH_HALF_UP = 21,
    TRENCH_UP = 22,  // up and shooting
};

// An enemy vehicle's kind (T_Vehiculo_Enemigo::tipo).
enum VehicleKind : int {
    VEHICLE_MACHINE_GUN_CAR = 23,
    VEHICLE_JEEP = 24,
    VEHICLE_MOTORBIKE_LEFT = 25,  // riding left
    VEHICLE_LORRY = 26,
    VEHICLE_MOTORBIKE_RIGHT = 27,  // riding right
    VEHICLE_LOW_CAR = 39,
};

// A shooting hut's state (T_Caseta::estado).
enum HutState : int {
    HUT_STANDING = 29,
    HUT_DESTROYED = 31,
};

// T_Bala::owned
enum BalaKind : int {
    BALA_HERO = 1,
    BALA_ENEMY = 2,
    BALA_BAZOOKA = 3,
    BALA_HUT = 4,
    BALA_ENEMY_THROUGH = 5,  // an enemy bullet that ignores the map
};

// T_Granada::owned
enum GranadaKind : int {
    GRANADA_HERO = 1,
    GRANADA_ENEMY = 2,
    GRANADA_CANNON = 3,
};

}  // namespace game
