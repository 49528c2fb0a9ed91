#pragma once
// The tables of the eight areas: checkpoint bands, start actors, huts,
// overlay windows, the fortress, the spawn rule chains and the gate wave.  They are
// generated at build time from the data files of assets/areas/ (the map
// checker reads the same files), so edit those, not any C++.

#include <array>
#include <cstdint>
#include <span>

namespace game {

// A creation function of an actor, named as in the data files.
enum class Creation : std::uint8_t {
    // enemy soldiers (EnemyList; the house guard joins GuardList)
    Canyonero,             // (x, key, dir)
    Corredor,              // (x, key)
    Corredor_puerta,       // (x, row, dir)
    Corredor_montanya_l6,  // (x, row, dir)
    Granadero,             // (row, side)
    Granadero_puerta,      // (x, row, dir)
    Saltador,              // (row, side, base, run)
    Saltador_Camion,       // (x, row)
    Vigilante,             // (x, key)
    Vigilante_Ini,         // (x, row)
    Acuatico,              // (x, row)
    Vigilante_Casa,        // (x, key)
    Trinchero,             // (x, key, period)
    Trinchero_Ini,         // (x, row, period)
    Puentero,              // (row, side, distance)
    Motero,                // (row)
    Granadero_puente,      // (row)
    Secuestradores,        // (x, row)
    Verde,                 // (x, y, key, dir)
    Bazookero,             // (key, side)
    Sale_de_Puerta,        // (x, y, next state, key)
    // A door soldier of a random kind, (x, row, dir): Corredor_puerta when
    // RandRange(1, 10) is even, else Granadero_puerta (the roll comes after
    // the direction's picker).
    DoorSoldier,
    // vehicles (EnemyList)
    v_Ametralladora,  // (row)
    v_Baja,           // (row)
    v_Jeep,           // (row, side)
    v_Moto,           // (row)
    v_Moto_izq,       // (row)
    v_Camion,         // (row)
    // the rest of the field
    pack_gr,  // grenade pack (ShotList): (x, row)
    Caseta,   // shooting hut (HutList): (row, side)
    fuego,    // fortress fire (FireList): (x, y)
};

// The direction pickers a creation call may take its direction from.
enum class Picker : std::uint8_t { None, Dir6or9, Dir4or7, Dir9or8, Dir7or8, DirDownward };

// One creation call: the function and its `argc` arguments in order (Float
// arguments are whole numbers in every table).  With a picker, the last
// argument (a direction) is drawn from it each time the call is made.
struct CreationCall {
    Creation kind;
    std::uint8_t argc;
    std::array<int, 4> args;
    Picker picker;
};

// The spawned-at test of a rule: which list is searched for the key.
enum class SpawnTest : std::uint8_t {
    Enemy,    // EnemySpawnedAt: T_Enemigo in EnemyList
    Vehicle,  // VehicleSpawnedAt: T_Vehiculo_Enemigo in EnemyList
    Guard,    // ExtraEnemySpawnedAt: T_Enemigo in GuardList
    Pickup,   // PickupSpawnedAt: T_Pack_Granadas in ShotList
};

// A rule of an area's chain: while lo <= ViewTop <= hi (both included; an
// exact row has lo == hi) and the test finds no actor with `key`, make
// `call`; a rule with stageAbove8 only while Stage > 8.
struct SpawnRule {
    int lo, hi;
    SpawnTest test;
    int key;
    bool stageAbove8;
    CreationCall call;
};

// A checkpoint band: holds when ViewTop > threshold (the last band of an
// area: ViewTop >= 0); the view restarts at `view` and `calls` are made.
struct CheckpointBand {
    int threshold;
    bool last;
    int view;
    std::span<const CreationCall> calls;
};

// A window of views lo < ViewTop < hi; `open` when it has no upper bound,
// `always` when it holds at every view.
struct ViewWindow {
    int lo = 0, hi = 0;
    bool open = false;
    bool always = false;
    bool Holds(int viewTop) const {
        return always || (lo < viewTop && (open || viewTop < hi));
    }
};

// A grenadier of the gate wave: `call`; with `either`, RandRange(1, 10) even
// makes `call` and odd `other`; a stageAbove8 one only while Stage > 8.
struct GateExtra {
    int counter;  // made by the step that lowers the counter to this value
    bool stageAbove8;
    CreationCall call;
    bool either;
    CreationCall other;
};

// A side door the wave sends a soldier out of after each gate soldier.
struct GateDoor {
    int x, row, dir;
};

// The gate wave at the top of an area.
struct GateTable {
    int waitLo = 0, waitHi = 0;  // the pause between steps: RandRange(lo, hi) ms
    int verdeAt = 0;             // the counter of the step that sends the verde soldier
    CreationCall verde{};
    std::span<const GateExtra> extras;  // in the order they are made
    // With doors, a door soldier follows every gate soldier and lowers the
    // counter once more; the kind the gate soldiers take never changes, and
    // the verde step sends nobody else.
    std::span<const GateDoor> doors;
};

struct AreaTables {
    std::span<const CheckpointBand> checkpoints;  // top band first
    std::span<const CreationCall> huts;           // made at the start, first
    ViewWindow hutWindow;                         // huts updated and drawn
    std::span<const CreationCall> startActors;    // made at the start, after the huts
    ViewWindow overlay;                           // the bridge overlay
    bool overlayRiders = false;                   // estado 11 drawn over layer 1
    bool overlayBridgeGrenadiers = false;         // estado 18 drawn over layer 1
    bool fortress = false;                        // the fortress at the top
    std::span<const SpawnRule> spawns;            // the rule chain in order
    GateTable gate;                               // no wait: no gate wave
};

// The tables of an area 1..8; empty tables for any other value.
const AreaTables& AreaTablesOf(int level);

// The fires the fortress burns with, lit in this order.
std::span<const CreationCall> FortressFires();

// Whether an area has the fortress at its top (areas 4 and 8).
bool IsFortressArea(int level);

}  // namespace game
