#pragma once
// T_Vehiculo_Enemigo: the enemy vehicles that cross the play field and
// cannot be destroyed.  A machine-gun car drives up from behind the hero and
// fires a burst, a low car rolls down the screen, a jeep and the motorbikes
// cross it sideways, and a lorry drops soldiers off its back.  They share
// EnemyList with the soldiers; they kill the hero by contact, and nothing of
// the hero's touches them.

#include "game/vocabulary.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {
class TGameSound;
}

namespace game {

class T_Vehiculo_Enemigo : public plat::Object {
public:
    T_Vehiculo_Enemigo();

    float x = 0, y = 0;
    int py_creado = 0;                  // creation key: the map row given
    plat::Ref<plat::TImage> Image;      // the vehicle's cells
    plat::Ref<plat::TImage> Image2;     // the jeep driving left
    int Frame_ind = 0;                  // vehicles are not animated
    float AnimDelay = 0;
    int anim_motero_left = 20;          // cells 20, 21
    int anim_motero_right = 81;         // cells 81, 82
    int anim_vehiculo_ametralladora = 55;
    int anim_jeep = 26;                 // cells 26, 27
    int anim_camion = 74;               // cells 74, 75
    int anim_vehiculo_baja = 55;        // of EnemyCImage
    int tipo = 0;                       // VehicleKind
    float speed = 0.4f;                 // pixels per tick
    float corre_pix = 0;                // distance travelled
    float max_corre_pix = 0;
    float BalasDelay = 0;               // ticks to the machine-gun car's next shot
    int num_balas = 0;                  // shots left in its burst
    int facing = 0;                     // jeep: side it came in from; car: its last aim
    plat::Ref<fw::TGameSound> sound_anim_vehiculo_ametralladora;

    // Each appends the vehicle to EnemyList; `y` is the map row the level
    // script passes, which is also the creation key.
    // Drives up from below the view at 0.6, fires RandRange(3, 7) shots.
    static void f_Create_v_Ametralladora(int y);
    // Rolls down from just above the row at 0.6.
    static void f_Create_v_Baja(int y);
    // side 6: from the left edge, 4: from the right edge, at 0.5.
    static void f_Create_v_Jeep(int y, int side);
    // Rides left from the right edge at 0.5.
    static void f_Create_v_Moto(int y);
    // Rides right from the left edge at 0.35.
    static void f_Create_v_Moto_izq(int y);
    // Drives left from the right edge (0.3 on stage 3, else 0.35) and drops
    // a soldier every 65 pixels.
    static void f_Create_v_Camion(int y);

    virtual void m_update_vehiculos();
    virtual void m_Draw_vehiculos();

private:
    static plat::Ref<T_Vehiculo_Enemigo> Make(int kind, int key, float x, float y, float speed);
    void MachineGunCar();
    void Lorry();
};

// The vehicle pass of the tick and of the frame: every vehicle of EnemyList.
void UpdateVehicles();
void DrawVehicles();

// Whether a vehicle's box (x + 6, y + 6, 12 x 9) overlaps the given box
// (the hero's).
bool VehicleTouches(int x, int y, int w, int h);

}  // namespace game
