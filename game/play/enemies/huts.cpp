#include "game/play/enemies/huts.h"

#include "framework/banks.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "game/play/shots.h"
#include "platform/gfx/draw.h"

namespace game {

void T_Caseta::f_Create_Caseta(int y, int side) {
    auto hut = plat::New<T_Caseta>();
    hut->x = side == DIR_RIGHT ? 272.0f : 0.0f;
    hut->y = static_cast<float>(y - 72);
    hut->py_creado = y;
    hut->image = HutImage;
    hut->image_disparos = GrenadeImage;
    hut->lugar = side;
    if (SoundBank) hut->caseta_explota_sound = SoundBank->Find("snd4");
    HutList->AddLast(hut);
}

// Only an exploding grenade of the hero over the hut's middle destroys it;
// bullets and grenades still in flight pass.
bool T_Caseta::HitByGrenade() const {
    for (const auto& object : *ShotList) {
        const auto* g = dynamic_cast<const T_Granada*>(object.get());
        if (!g || g->owned != GRANADA_HERO || g->explota != 1) continue;
        if (RectsOverlap(static_cast<int>(g->x + 2), static_cast<int>(g->y + 2), 20, 16, static_cast<int>(x + 14),
                         static_cast<int>(y + 20), 20, 20) == 1)
            return true;
    }
    return false;
}

void T_Caseta::m_update_caseta() {
    if (estado != HUT_STANDING) return;
    if (HitByGrenade()) {
        Score += 1000;
        estado = HUT_DESTROYED;
        PlayGameSound(caseta_explota_sound);
    }
    // A hut destroyed this tick still fires this tick's shot.
    if (bala_delay < 0) {
        if (lugar == DIR_LEFT) T_Bala::f_Create_Bala_Caseta(DIR_DOWN_RIGHT, x, y);
        else if (lugar == DIR_RIGHT) T_Bala::f_Create_Bala_Caseta(DIR_DOWN_LEFT, x, y);
        bala_delay = Stage == 2 ? 240.0f : 200.0f;
    }
    if (bala_delay >= 0) bala_delay -= 1.0f * fw::Delta;
}

void T_Caseta::m_draw_caseta() {
    if (estado != HUT_STANDING) return;
    const float sy = y - static_cast<float>(ViewTop) + kPlayFieldTop;
    if (lugar == DIR_RIGHT) plat::DrawImage(image, 272, sy, 1);
    else if (lugar == DIR_LEFT) plat::DrawImage(image, 0, sy, 0);
}

void UpdateHuts() {
    EachOf<T_Caseta>(*HutList, [](T_Caseta& hut) { hut.m_update_caseta(); });
}

void DrawHuts() {
    EachOf<T_Caseta>(*HutList, [](T_Caseta& hut) { hut.m_draw_caseta(); });
}

void StandHutsUp() {
    EachOf<T_Caseta>(*HutList, [](T_Caseta& hut) { hut.estado = HUT_STANDING; });
}

}  // namespace game
