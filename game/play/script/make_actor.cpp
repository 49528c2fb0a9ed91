#include "game/play/script/make_actor.h"

#include "framework/helpers.h"
#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/fires.h"
#include "game/play/pickups.h"

namespace game {

namespace {

int PickDirection(Picker picker) {
    switch (picker) {
    case Picker::Dir6or9: return RandomDir6or9();
    case Picker::Dir4or7: return RandomDir4or7();
    case Picker::Dir9or8: return RandomDir9or8();
    case Picker::Dir7or8: return RandomDir7or8();
    case Picker::DirDownward: return RandomDirDownward();
    case Picker::None: break;
    }
    return 0;
}

// The enemy soldiers' creation functions; false for the other actors.
bool MakeSoldier(const CreationCall& call) {
    const auto& a = call.args;
    const auto f = [&](int i) { return static_cast<float>(a[static_cast<std::size_t>(i)]); };
    switch (call.kind) {
    case Creation::Canyonero: T_Enemigo::f_Create_Canyonero(f(0), f(1), a[2]); break;
    case Creation::Corredor: T_Enemigo::f_Create_Corredor(f(0), a[1]); break;
    case Creation::Corredor_puerta: T_Enemigo::f_Create_Corredor_puerta(f(0), a[1], a[2]); break;
    case Creation::Corredor_montanya_l6: T_Enemigo::f_Create_Corredor_montanya_l6(f(0), a[1], a[2]); break;
    case Creation::Granadero: T_Enemigo::f_Create_Granadero(a[0], a[1]); break;
    case Creation::Granadero_puerta: T_Enemigo::f_Create_Granadero_puerta(f(0), a[1], a[2]); break;
    case Creation::Saltador: T_Enemigo::f_Create_Saltador(a[0], a[1], a[2], a[3]); break;
    case Creation::Saltador_Camion: T_Enemigo::f_Create_Saltador_Camion(f(0), a[1]); break;
    case Creation::Vigilante: T_Enemigo::f_Create_Vigilante(f(0), a[1]); break;
    case Creation::Vigilante_Ini: T_Enemigo::f_Create_Vigilante_Ini(f(0), a[1]); break;
    case Creation::Acuatico: T_Enemigo::f_Create_Acuatico(f(0), a[1]); break;
    case Creation::Vigilante_Casa: T_Enemigo::f_Create_Vigilante_Casa(f(0), a[1]); break;
    case Creation::Trinchero: T_Enemigo::f_Create_Trinchero(f(0), a[1], a[2]); break;
    case Creation::Trinchero_Ini: T_Enemigo::f_Create_Trinchero_Ini(f(0), a[1], a[2]); break;
    case Creation::Puentero: T_Enemigo::f_Create_Puentero(a[0], a[1], a[2]); break;
    case Creation::Motero: T_Enemigo::f_Create_Motero(a[0]); break;
    case Creation::Granadero_puente: T_Enemigo::f_Create_Granadero_puente(a[0]); break;
    case Creation::Secuestradores: T_Enemigo::f_Create_Secuestradores(a[0], a[1]); break;
    case Creation::Verde: T_Enemigo::f_Create_Verde(f(0), f(1), a[2], a[3]); break;
    case Creation::Bazookero: T_Enemigo::f_Create_Bazookero(a[0], a[1]); break;
    case Creation::Sale_de_Puerta: T_Enemigo::f_Create_Sale_de_Puerta(f(0), f(1), a[2], a[3]); break;
    default: return false;
    }
    return true;
}

}  // namespace

bool ResolveCall(const CreationCall& call, CreationCall& resolved) {
    resolved = call;
    if (call.picker != Picker::None) {
        if (call.argc == 0) return false;
        resolved.args[call.argc - 1] = PickDirection(call.picker);
        resolved.picker = Picker::None;
    }
    if (call.kind == Creation::DoorSoldier)
        resolved.kind = fw::RandRange(1, 10) % 2 == 0 ? Creation::Corredor_puerta : Creation::Granadero_puerta;
    return true;
}

void MakeActor(const CreationCall& call) {
    CreationCall resolved{};
    if (!ResolveCall(call, resolved)) return;
    if (MakeSoldier(resolved)) return;
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
    default: break;  // a door soldier is resolved to its kind before
    }
}

}  // namespace game
