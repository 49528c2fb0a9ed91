#include "game/play/pickups.h"

#include "framework/banks.h"
#include "framework/timing.h"
#include "game/globals.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

constexpr int kMaxGrenades = 99;

}  // namespace

T_Pack_Granadas::T_Pack_Granadas() : Image(EnemyImage) {}

void T_Pack_Granadas::f_Create_pack_gr(int x, int py) {
    auto pack = plat::New<T_Pack_Granadas>();
    pack->x = static_cast<float>(x);
    pack->y = static_cast<float>(py - 21);
    pack->py_creado = py;
    if (SoundBank) pack->pick_pack_sound = SoundBank->Find("snd2");
    ShotList->AddLast(pack);
}

void T_Pack_Granadas::m_update_pack_gr() {
    if (y - static_cast<float>(ViewTop) > 160) {
        ShotList->Remove(shared_from_this());
        return;
    }
    if (animdelay < 0) {
        frame = (frame + 1) % static_cast<int>(anim_pack_gr.size());
        animdelay = 12.0f;
    }
    animdelay -= fw::Delta;

    // Collected in any state of the hero, dying or entering too.
    if (Hero && RectsOverlap(static_cast<int>(Hero->x + 2), static_cast<int>(Hero->y + 2), 20, 16,
                             static_cast<int>(x + 2), static_cast<int>(y + 2), 20, 16) == 1) {
        x = y = -25.0f;
        Grenades = Grenades <= kMaxGrenades - 3 ? Grenades + 3 : kMaxGrenades;
        Score += 1000;
        PlayGameSound(pick_pack_sound);
        ShotList->Remove(shared_from_this());
    }
}

void T_Pack_Granadas::m_draw_pack_gr() {
    plat::DrawImage(Image, x, y - static_cast<float>(ViewTop) + kPlayFieldTop,
                    anim_pack_gr[static_cast<std::size_t>(frame)]);
}

void UpdatePickups() {
    EachOf<T_Pack_Granadas>(*ShotList, [](T_Pack_Granadas& pack) { pack.m_update_pack_gr(); });
}

void DrawPickups() {
    EachOf<T_Pack_Granadas>(*ShotList, [](T_Pack_Granadas& pack) { pack.m_draw_pack_gr(); });
}

}  // namespace game
