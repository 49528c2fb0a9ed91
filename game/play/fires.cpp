#include "game/play/fires.h"

#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "platform/gfx/draw.h"

namespace game {

T_Fuego::T_Fuego() : Image(EnemyImage) {}

void T_Fuego::f_Create_fuego(int x, int y) {
    auto fire = plat::New<T_Fuego>();
    fire->x = static_cast<float>(x);
    fire->y = static_cast<float>(y);
    FireList->AddLast(fire);
}

void T_Fuego::m_Update_Fuego() {
    if (animdelay < 0) {
        frame = (frame + 1) % static_cast<int>(anim_fuego.size());
        animdelay = 40.0f;
    }
    animdelay -= fw::Delta;
}

void T_Fuego::m_Draw_Fuego() {
    plat::DrawImage(Image, x, y - static_cast<float>(ViewTop) + kPlayFieldTop,
                    anim_fuego[static_cast<std::size_t>(frame)]);
}

void UpdateFires() {
    EachOf<T_Fuego>(*FireList, [](T_Fuego& fire) { fire.m_Update_Fuego(); });
}

void DrawFires() {
    EachOf<T_Fuego>(*FireList, [](T_Fuego& fire) { fire.m_Draw_Fuego(); });
}

}  // namespace game
