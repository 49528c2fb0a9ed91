#pragma once
// T_Fuego: one flame of the burning fortress at the top of areas 4 and 8.
// The hero lights them when he reaches the fortress; they flicker between
// two cells until the area-complete screen takes over and FireList is
// cleared.

#include <array>

#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace game {

class T_Fuego : public plat::Object {
public:
    T_Fuego();

    float x = 0, y = 0;
    int py_creado = 0;
    plat::Ref<plat::TImage> Image;
    std::array<int, 2> anim_fuego{67, 83};
    int frame = 0;            // index into anim_fuego
    float animdelay = 40.0f;  // ticks to the next cell

    // A flame at map position (x, y), appended to FireList.
    static void f_Create_fuego(int x, int y);

    virtual void m_Update_Fuego();
    virtual void m_Draw_Fuego();
};

// Every flame of FireList: one tick, and one frame.
void UpdateFires();
void DrawFires();

}  // namespace game
