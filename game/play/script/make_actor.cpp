#include "game/play/script/make_actor.h"

#include "framework/helpers.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/fires.h"
#include "game/play/level_hooks.h"
#include "game/play/pickups.h"

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
    const auto& a = resolved.args;
    switch (resolved.kind) {
    // vehicles, huts, grenade packs and fortress fires
    case Creation::v_Ametralladora: T_Vehiculo_Enemigo::f_Create_v_Ametralladora(a[0]); break;
    case Creation::v_Baja: T_Vehiculo_Enemigo::f_Create_v_Baja(a[0]); break;
    case Creation::v_Jeep: T_Vehiculo_Enemigo::f_Create_v_Jeep(a[0], a[1]); break;
    case Creation::v_Moto: T_Vehiculo_Enemigo::f_Create_v_Moto(a[0]); break;
    case Creation::v_Moto_izq: T_Vehiculo_Enemigo::f_Create_v_Moto_izq(a[0]); break;
    case Creation::v_Camion: T_Vehiculo_Enemigo::f_Create_v_Camion(a[0]); break;
    case Creation::Caseta: T_Caseta::f_Create_Caseta(a[0], a[1]); break;
    case Creation::pack_gr: T_Pack_Granadas::f_Create_pack_gr(a[0], a[1]); break;
    case Creation::fuego: T_Fuego::f_Create_fuego(a[0], a[1]); break;
    default: CallHook(PlayHooks().Create, resolved); break;
    }
}

}  // namespace game
