#include "game/checkpoints.h"

#include <array>

#include "framework/helpers.h"
#include "framework/input.h"
#include "game/globals.h"
#include "game/hero.h"
#include "game/level_hooks.h"

namespace game {

namespace {

using C = CheckpointCall;

CheckpointCall Call(C::Kind kind, float a = 0, int b = 0, int c = 0) { return {kind, a, b, c}; }

const std::array<std::vector<CheckpointBand>, 9>& Table() {
    static const std::array<std::vector<CheckpointBand>, 9> table = {{
        {},
        // Area 1
        {{836, false, 1392, {}},
         {506, false, 836, {}},
         {196, false, 506, {Call(C::GuardIni, 91, 588), Call(C::GuardIni, 165, 556)}},
         {0, true, 196, {Call(C::GuardIni, 140, 236)}}},
        // Area 2
        {{1041, false, 1320, {}},
         {776, false, 1041,
          {Call(C::TrenchIni, 125, 1117, 100), Call(C::TrenchIni, 152, 1118, 200),
           Call(C::Pickup, 272, 1108), Call(C::TrenchIni, 291, 1088, 200),
           Call(C::TrenchIni, 23, 1048, 150)}},
         {506, false, 776, {Call(C::Pickup, 200, 895), Call(C::BridgeGrenadier, 804)}},
         {176, false, 506, {Call(C::Swimmer, 170, 586)}},
         {0, true, 176, {Call(C::Pickup, 290, 260)}}},
        // Area 3
        {{1010, false, 1536, {}},
         {622, false, 1010, {Call(C::Pickup, 230, 1075)}},
         {171, false, 622, {Call(C::Pickup, 50, 722)}},
         {0, true, 171, {Call(C::Motorbike, 206)}}},
        // Area 4
        {{1056, false, 1328, {}},
         {792, false, 1056,
          {Call(C::GuardIni, 15, 1114), Call(C::GuardIni, 45, 1115), Call(C::Pickup, 60, 1065)}},
         {520, false, 792, {Call(C::Motorbike, 850), Call(C::Grenadier, 870, 6)}},
         {176, false, 520,
          {Call(C::Pickup, 270, 621), Call(C::Grenadier, 580, 6), Call(C::Swimmer, 290, 540),
           Call(C::Bazooka, 522, 6)}},
         {0, true, 176,
          {Call(C::MotorbikeLeft, 240), Call(C::Bazooka, 200, 6), Call(C::Bazooka, 220, 4),
           Call(C::Pickup, 290, 230)}}},
        // Area 5
        {{1256, false, 1536, {}},
         {902, false, 1256, {Call(C::Runner, 76, 1300)}},
         {590, false, 902, {Call(C::Pickup, 30, 967), Call(C::Rider, 902)}},
         {284, false, 590, {Call(C::Grenadier, 615, 6), Call(C::Cannon, 280, 590, 4)}},
         {0, true, 284, {Call(C::GuardIni, 243, 284)}}},
        // Area 6
        {{1116, false, 1496, {}},
         {680, false, 1116, {Call(C::Pickup, 40, 1165)}},
         {282, false, 680, {Call(C::TrenchIni, 225, 735, 200), Call(C::Pickup, 50, 700)}},
         {0, true, 282,
          {Call(C::TrenchIni, 232, 374, 200), Call(C::Pickup, 200, 360),
           Call(C::Swimmer, 220, 294)}}},
        // Area 7
        {{1200, false, 1536, {Call(C::DoorRunner9or8, 28, 1614)}},
         {810, false, 1200, {Call(C::DoorSoldier7or8, 268, 1280)}},
         {490, false, 810, {Call(C::DoorSoldier9or8, 20, 915), Call(C::DoorSoldier7or8, 276, 914)}},
         {170, false, 490, {Call(C::Bazooka, 500, 6), Call(C::Bazooka, 510, 4)}},
         {0, true, 170, {Call(C::Bazooka, 180, 6), Call(C::Bazooka, 190, 4)}}},
        // Area 8
        {{1216, false, 1536, {Call(C::GuardIni, 105, 1616), Call(C::GuardIni, 150, 1616)}},
         {904, false, 1216,
          {Call(C::GuardIni, 274, 1285), Call(C::Pickup, 20, 1248), Call(C::Bazooka, 1226, 6)}},
         {600, false, 904, {Call(C::Bazooka, 930, 6), Call(C::Bazooka, 940, 4)}},
         {224, false, 600, {Call(C::MotorbikeLeft, 614), Call(C::Bazooka, 611, 4)}},
         {0, true, 224, {Call(C::MotorbikeLeft, 234), Call(C::Bazooka, 240, 4)}}},
    }};
    return table;
}

// A door soldier: the direction first, then the roll between a runner (even)
// and a grenadier (odd).
void DoorSoldier(const std::function<int()>& picker, float x, int row) {
    const auto& hooks = PlayHooks();
    if (!picker) return;
    const int dir = picker();
    if (fw::RandRange(1, 10) % 2 == 0)
        CallHook(hooks.CreateDoorRunner, x, row, dir);
    else
        CallHook(hooks.CreateDoorGrenadier, x, row, dir);
}

void Make(const CheckpointCall& call) {
    const auto& h = PlayHooks();
    const float x = call.a;
    const int ix = static_cast<int>(call.a);
    switch (call.kind) {
    case C::GuardIni: CallHook(h.CreateGuardIni, x, call.b); break;
    case C::TrenchIni: CallHook(h.CreateTrenchIni, x, call.b, call.c); break;
    case C::Pickup: CallHook(h.CreatePickup, ix, call.b); break;
    case C::BridgeGrenadier: CallHook(h.CreateBridgeGrenadier, ix); break;
    case C::Swimmer: CallHook(h.CreateSwimmer, x, call.b); break;
    case C::Motorbike: CallHook(h.CreateMotorbike, ix); break;
    case C::MotorbikeLeft: CallHook(h.CreateMotorbikeLeft, ix); break;
    case C::Grenadier: CallHook(h.CreateGrenadier, ix, call.b); break;
    case C::Bazooka: CallHook(h.CreateBazooka, ix, call.b); break;
    case C::Runner: CallHook(h.CreateRunner, x, call.b); break;
    case C::Rider: CallHook(h.CreateRider, ix); break;
    case C::Cannon: CallHook(h.CreateCannon, x, static_cast<float>(call.b), call.c); break;
    case C::DoorRunner9or8:
        if (h.RandomDir9or8) CallHook(h.CreateDoorRunner, x, call.b, h.RandomDir9or8());
        break;
    case C::DoorSoldier7or8: DoorSoldier(h.RandomDir7or8, x, call.b); break;
    case C::DoorSoldier9or8: DoorSoldier(h.RandomDir9or8, x, call.b); break;
    }
}

}  // namespace

const std::vector<CheckpointBand>& CheckpointBands(int level) {
    static const std::vector<CheckpointBand> none;
    if (level < 1 || level > 8) return none;
    return Table()[static_cast<std::size_t>(level)];
}

void RestartFromCheckpoint() {
    fw::FlushInput();
    for (const auto& band : CheckpointBands(Level)) {
        const bool holds = band.last ? ViewTop >= band.threshold : ViewTop > band.threshold;
        if (!holds) continue;
        ViewTop = band.view;
        for (const auto& call : band.calls) Make(call);
        break;
    }
    if (Hero) {
        Hero->x = 130.0f;
        Hero->y = static_cast<float>(ViewTop + 124);
        Hero->estado = HERO_ENTERING;
        Hero->Frame_ind = 0;
    }
    Direction = 2;
    LastDirection = 2;
    if ((Level == 2 || Level == 6) && !HutList->IsEmpty()) CallHook(PlayHooks().ResetHuts);
}

OverlayWindow OverlayAt(int level, int viewTop) {
    auto inside = [viewTop](int lo, int hi) { return lo < viewTop && viewTop < hi; };
    switch (level) {
    case 1: return inside(520, 800) ? OverlayWindow{true, true} : OverlayWindow{};
    case 2: return {false, true};
    case 3: return inside(410, 620) ? OverlayWindow{true, true} : OverlayWindow{};
    case 5: return inside(690, 895) ? OverlayWindow{true, true} : OverlayWindow{};
    case 6: return inside(675, 890) ? OverlayWindow{false, true} : OverlayWindow{};
    case 7: return inside(500, 726) ? OverlayWindow{true, true} : OverlayWindow{};
    default: return {};
    }
}

void DrawWindowedEnemies() {
    const OverlayWindow w = OverlayAt(Level, ViewTop);
    if (!w.riders && !w.bridgeGrenadiers) return;
    CallHook(PlayHooks().DrawOverlayEnemies, w.riders, w.bridgeGrenadiers);
}

}  // namespace game
