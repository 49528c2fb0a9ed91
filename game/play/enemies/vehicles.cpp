#include "game/play/enemies/vehicles.h"

#include "framework/banks.h"
#include "framework/helpers.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/field.h"
#include "game/play/shots.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

plat::Ref<fw::TGameSound> CarSound() { return SoundBank ? SoundBank->Find("snd6") : nullptr; }

}  // namespace

T_Vehiculo_Enemigo::T_Vehiculo_Enemigo() : Image(EnemyImage), sound_anim_vehiculo_ametralladora(CarSound()) {}

plat::Ref<T_Vehiculo_Enemigo> T_Vehiculo_Enemigo::Make(int kind, int key, float x, float y, float speed) {
    auto v = plat::New<T_Vehiculo_Enemigo>();
    v->tipo = kind;
    v->py_creado = key;
    v->x = x;
    v->y = y;
    v->speed = speed;
    EnemyList->AddLast(v);
    return v;
}

void T_Vehiculo_Enemigo::f_Create_v_Ametralladora(int y) {
    // It never starts between x 129 and 155: those draws drive up at 90.
    int x = fw::RandRange(80, 240);
    if (x > 128 && x <= 155) x = 90;
    auto v = Make(VEHICLE_MACHINE_GUN_CAR, y, static_cast<float>(x), static_cast<float>(y + 160), 0.6f);
    v->num_balas = fw::RandRange(3, 7);
    PlayGameSound(CarSound());
}

void T_Vehiculo_Enemigo::f_Create_v_Baja(int y) {
    const int x = fw::RandRange(80, 240);
    auto v = Make(VEHICLE_LOW_CAR, y, static_cast<float>(x), static_cast<float>(y - 21), 0.6f);
    v->Image = EnemyCImage;
}

void T_Vehiculo_Enemigo::f_Create_v_Jeep(int y, int side) {
    const float x = side == DIR_LEFT ? 320.0f : 0.0f;
    auto v = Make(VEHICLE_JEEP, y, x, static_cast<float>(y + 20), 0.5f);
    v->Image2 = EnemyCImage;
    v->facing = side;
}

void T_Vehiculo_Enemigo::f_Create_v_Moto(int y) {
    Make(VEHICLE_MOTORBIKE_LEFT, y, 320.0f, static_cast<float>(y + 20), 0.5f);
}

void T_Vehiculo_Enemigo::f_Create_v_Moto_izq(int y) {
    Make(VEHICLE_MOTORBIKE_RIGHT, y, 0.0f, static_cast<float>(y + 20), 0.35f);
}

void T_Vehiculo_Enemigo::f_Create_v_Camion(int y) {
    Make(VEHICLE_LORRY, y, 320.0f, static_cast<float>(y + 20), Stage == 3 ? 0.3f : 0.35f);
}

void T_Vehiculo_Enemigo::m_update_vehiculos() {
    if (OutsideActorWindow(x, y)) {
        EnemyList->Remove(shared_from_this());
        return;
    }
    const float s = speed * fw::Delta;
    switch (tipo) {
    case VEHICLE_MACHINE_GUN_CAR: MachineGunCar(); break;
    case VEHICLE_LOW_CAR: y += s; break;
    case VEHICLE_JEEP:
        if (facing == DIR_RIGHT) x += s;
        else if (facing == DIR_LEFT) x -= s;
        break;
    case VEHICLE_MOTORBIKE_LEFT: x -= s; break;
    case VEHICLE_MOTORBIKE_RIGHT: x += s; break;
    case VEHICLE_LORRY: Lorry(); break;
    default: break;
    }
}

// Climbs 150 pixels behind the hero, then slows to fire its burst, aiming
// anew before every shot, then drives off the top of the field.
void T_Vehiculo_Enemigo::MachineGunCar() {
    if (corre_pix < 150) {
        const float s = speed * fw::Delta;
        y -= s;
        corre_pix += s;
    } else if (num_balas > 0) {
        speed = 0.3f;
        y -= 0.3f * fw::Delta;
        if (BalasDelay < 0) {
            facing = AimDirectionFromZones(static_cast<int>(x), static_cast<int>(y - static_cast<float>(ViewTop)));
            T_Bala::f_Create_Bala_Enemigo(facing, x, y, BALA_ENEMY);
            BalasDelay = 75;
            num_balas -= 1;
        }
        if (BalasDelay >= 0) BalasDelay -= 1.0f * fw::Delta;
    } else {
        speed = 0.6f;
        y -= 0.6f * fw::Delta;
    }
}

void T_Vehiculo_Enemigo::Lorry() {
    const float s = speed * fw::Delta;
    x -= s;
    corre_pix += s;
    if (corre_pix > 65) {
        // A soldier jumps off the back.
        T_Enemigo::f_Create_Saltador_Camion(x + 48, static_cast<int>(y - 20));
        corre_pix = 0;
    }
}

void T_Vehiculo_Enemigo::m_Draw_vehiculos() {
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    // A vehicle two cells wide: `cell` at x, the next one beside it.
    auto wide = [&](const plat::Ref<plat::TImage>& sheet, int cell) {
        plat::DrawImage(sheet, x, sy, cell);
        plat::DrawImage(sheet, x + 24, sy, cell + 1);
    };
    switch (tipo) {
    case VEHICLE_MACHINE_GUN_CAR: plat::DrawImage(Image, x, sy, anim_vehiculo_ametralladora); break;
    case VEHICLE_LOW_CAR: plat::DrawImage(Image, x, sy, anim_vehiculo_baja); break;
    case VEHICLE_JEEP:
        if (facing == DIR_RIGHT) wide(Image, anim_jeep);
        else if (facing == DIR_LEFT) wide(Image2, anim_jeep);
        break;
    case VEHICLE_MOTORBIKE_LEFT: wide(Image, anim_motero_left); break;
    case VEHICLE_LORRY: wide(Image, anim_camion); break;
    case VEHICLE_MOTORBIKE_RIGHT: wide(Image, anim_motero_right); break;
    default: break;
    }
}

void UpdateVehicles() {
    EachOf<T_Vehiculo_Enemigo>(*EnemyList, [](T_Vehiculo_Enemigo& v) { v.m_update_vehiculos(); });
}

void DrawVehicles() {
    EachOf<T_Vehiculo_Enemigo>(*EnemyList, [](T_Vehiculo_Enemigo& v) { v.m_Draw_vehiculos(); });
}

bool VehicleTouches(int x, int y, int w, int h) {
    for (const auto& object : *EnemyList) {
        const auto* v = dynamic_cast<const T_Vehiculo_Enemigo*>(object.get());
        if (v && RectsOverlap(x, y, w, h, static_cast<int>(v->x + 6), static_cast<int>(v->y + 6), 12, 9) == 1)
            return true;
    }
    return false;
}

}  // namespace game
