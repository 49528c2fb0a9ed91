#include "game/play/script/make_actor.h"

#include "framework/helpers.h"
#include "game/play/level_hooks.h"

namespace game {

bool ResolveCall(const CreationCall& call, CreationCall& resolved) {
    resolved = call;
    if (call.picker != Picker::None) {
        const auto& pick = PlayHooks().PickDirection;
        if (!pick || call.argc == 0) return false;
        resolved.args[call.argc - 1] = pick(call.picker);
        resolved.picker = Picker::None;
    }
    if (call.kind == Creation::DoorSoldier)
        resolved.kind = fw::RandRange(1, 10) % 2 == 0 ? Creation::Corredor_puerta : Creation::Granadero_puerta;
    return true;
}

void MakeActor(const CreationCall& call) {
    CreationCall resolved{};
    if (!ResolveCall(call, resolved)) return;
    CallHook(PlayHooks().Create, resolved);
}

}  // namespace game
