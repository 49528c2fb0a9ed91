#pragma once
// T_Pack_Granadas: a box of grenades lying on the map.  It blinks between two
// cells; the hero collects it by walking over it, in whatever state he is,
// for three grenades (never more than 99 held) and 1000 points.  It lies in
// ShotList until collected or scrolled off the bottom of the field.

#include <array>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {
class TGameSound;
}

namespace game {

class T_Pack_Granadas : public plat::Object {
public:
    T_Pack_Granadas();

    float x = 0, y = 0;
    int py_creado = 0;  // the row given: the level script places each pack once
    plat::Ref<plat::TImage> Image;
    std::array<int, 14> anim_pack_gr{76, 76, 76, 76, 76, 76, 76, 77, 77, 77, 77, 77, 77, 77};
    int frame = 0;      // index into anim_pack_gr
    plat::Ref<fw::TGameSound> pick_pack_sound;
    float animdelay = 0;

    // A pack at column x standing on map row py, appended to ShotList.
    static void f_Create_pack_gr(int x, int py);

    virtual void m_update_pack_gr();
    virtual void m_draw_pack_gr();
};

// The pickup pass of the tick and of the frame: every pack of ShotList.
void UpdatePickups();
void DrawPickups();

}  // namespace game
