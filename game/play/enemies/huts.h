#pragma once
// T_Caseta: a shooting hut at the left or right edge of the play field
// (areas 2 and 6).  It fires diagonally across the field every second or so,
// also while out of view, until an exploding grenade of the hero destroys it;
// a destroyed hut is no longer drawn, so the map's rubble shows.  Huts are
// never removed by themselves: the level screen clears HutList.

#include "game/vocabulary.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {
class TGameSound;
}

namespace game {

class T_Caseta : public plat::Object {
public:
    float x = 0, y = 0;                        // top left of the 48 x 72 hut
    plat::Ref<plat::TImage> image;             // HutImage: 0 left hut, 1 right hut
    plat::Ref<plat::TImage> image_disparos;    // held, not drawn by the hut
    int impactos = 0;
    int estado = HUT_STANDING;                 // HutState
    int py_creado = 0;                         // creation key: the row given
    float DisparosDelay = 0;
    int lugar = 0;                             // 4 left edge, 6 right edge
    float bala_delay = 200;                    // ticks to the next shot
    plat::Ref<fw::TGameSound> caseta_explota_sound;

    // A hut standing on map row `y` (its foot), at the left edge (side 4) or
    // the right edge (side 6), appended to HutList.
    static void f_Create_Caseta(int y, int side);

    virtual void m_update_caseta();
    virtual void m_draw_caseta();

private:
    bool HitByGrenade() const;
};

// The hut pass of the tick and of the frame: every hut of HutList.
void UpdateHuts();
void DrawHuts();
// Every hut of HutList standing again (the restart after a death).
void StandHutsUp();

}  // namespace game
