#include "game/play/script/spawn_script.h"

#include "framework/helpers.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/script/area_tables.h"
#include "game/play/script/idle_grenadier.h"
#include "game/play/script/make_actor.h"
#include "game/play/script/spawned.h"
#include "platform/core/random.h"

namespace game {

namespace {

std::vector<bool>* firedRules = nullptr;

// The area whose trench soldiers all go when the view reaches its top row,
// before the gate wave.
constexpr int kTrenchArea = 6;

bool RuleHolds(const SpawnRule& rule) {
    return rule.lo <= ViewTop && ViewTop <= rule.hi && SpawnedAt(rule.test, rule.key) == 0 &&
           (!rule.stageAbove8 || Stage > 8);
}

// The grenadiers a gate step adds once the counter has been lowered.
void MakeGateExtras(const GateTable& gate) {
    for (const GateExtra& extra : gate.extras) {
        if (extra.counter != GateWaveCounter || (extra.stageAbove8 && Stage <= 8)) continue;
        if (extra.either && fw::RandRange(1, 10) % 2 != 0) MakeActor(extra.other);
        else MakeActor(extra.call);
    }
}

// A soldier out of one of the side doors, marked with the counter.
void MakeDoorSoldier(const GateTable& gate) {
    const int n = static_cast<int>(gate.doors.size());
    const GateDoor& door = gate.doors[static_cast<std::size_t>(fw::RandRange(1, n) - 1)];
    if (fw::RandRange(1, 2) == 1) T_Enemigo::f_Create_Granadero_puerta(static_cast<float>(door.x), door.row, door.dir);
    else T_Enemigo::f_Create_Corredor_puerta(static_cast<float>(door.x), door.row, door.dir);
    AddSpawnMarker(GateWaveCounter);
}

}  // namespace

void RecordFiredRules(std::vector<bool>* fired) { firedRules = fired; }

void RunAreaChain() {
    const auto rules = AreaTablesOf(Level).spawns;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!RuleHolds(rules[i])) continue;
        MakeActor(rules[i].call);
        if (firedRules && i < firedRules->size()) (*firedRules)[i] = true;
    }
}

void RunGateWave() {
    const GateTable& gate = AreaTablesOf(Level).gate;
    if (ViewTop != 0 || GateWaveCounter <= kGateWaveEnd || gate.waitHi == 0) return;
    const int wait = fw::RandRange(gate.waitLo, gate.waitHi);
    if (SpawnMarkerSet(GateWaveCounter) != 0 || !(TopClock - LastGateSpawnMs > wait) || EnemyList->Count() > 6)
        return;
    LastGateSpawnMs = TopClock;
    const float x = static_cast<float>(140 + 10 * plat::RandomInt(0, 4));
    const bool doors = !gate.doors.empty();
    if (GateWaveCounter == gate.verdeAt) {
        MakeActor(gate.verde);
        AddSpawnMarker(GateWaveCounter);
        GateWaveCounter -= 1;
        if (doors) return;  // the verde soldier comes alone
    } else {
        T_Enemigo::f_Create_Sale_de_Puerta(x, 0.0f, GateNextKind, GateWaveCounter);
        GateWaveCounter -= 1;
        if (doors) {
            MakeDoorSoldier(gate);
            GateWaveCounter -= 1;
            return;
        }
    }
    if (GateNextKind == ENEMY_GRENADIER) GateNextKind = ENEMY_RUNNER;
    else if (GateNextKind == ENEMY_RUNNER) GateNextKind = ENEMY_GRENADIER;
    MakeGateExtras(gate);
}

void RunSpawnScript() {
    RunIdleGrenadier();
    if (ViewTop > 0) {
        RunAreaChain();
        if (Level == kTrenchArea && ViewTop == 1) RemoveTrenchSoldiers();
    } else {
        RunGateWave();
    }
}

}  // namespace game
