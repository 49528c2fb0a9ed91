#pragma once
// T_Dax, the player's soldier: walks in eight directions over the map,
// pushes the view up, dies by enemy fire, contact or a deadly cell, and at
// the top of the map walks out through the gate.  His states also carry the
// level's endings: the hand-off to the area-complete screen, the restart
// after a lost life and the game over.

#include <array>

#include "game/vocabulary.h"
#include "platform/core/object.h"
#include "platform/gfx/image.h"

namespace fw {
class TGameSound;
}

namespace game {

class T_Dax : public plat::Object {
public:
    // Placed at x 130, 124 rows below the top of the view, state 40.
    T_Dax();

    float x = 130.0f;
    float y = 0;
    int y_old = 0;
    int estado = HERO_PLAYING;
    plat::Ref<plat::TImage> Image;
    plat::Ref<plat::TImage> anim_granada;
    int frame_gr = 0;
    int Frame_ind = 0;
    float AnimDelay = 0;
    float AnimDelaygr = 0;
    std::array<int, 3> anim_up{0, 1, 2};
    std::array<int, 3> anim_down{3, 4, 5};
    std::array<int, 3> anim_downright{6, 7, 8};
    std::array<int, 3> anim_downleft{9, 10, 11};
    std::array<int, 3> anim_upright{12, 13, 14};
    std::array<int, 3> anim_upleft{15, 16, 17};
    std::array<int, 4> anim_left{18, 19, 20, 21};
    std::array<int, 4> anim_right{22, 23, 24, 25};
    std::array<int, 25> anim_muerto{};
    std::array<int, 25> anim_muerto_caido{};
    float speed = 0.25f;
    float d = 2.0f;
    float rl = 2.0f;
    int size = 21;
    int anim_tirar_granada = 0;
    plat::Ref<fw::TGameSound> dead_sound;
    plat::Ref<fw::TGameSound> grenade_throw_sound;
    double tiempo = 0;
    plat::Ref<fw::TGameSound> fuego_sound;

    virtual void m_update_dax();
    virtual void m_draw_dax();
    virtual void m_PlayDeadSound();
    virtual void m_PlayGrenadeThrowSound();
    // kind 4 (shot) or 43 (fallen): the state, then the music paused, the
    // death sound and the animation index back to 0.
    virtual void m_paso_a_estado_muerto(int kind);

private:
    void TestHits();
    void Walk(float e);
    void ScrollStep(float e);
    // The probe point blocked: the hero stays, and falls when it is deadly.
    void Blocked(int px, int py, bool silent);
    void WalkAnimation();
    void ThrowPose();
    void Leave();
    void Dying();
    void DeathOver();
    void FortressReached();
    void FortressBurning();
};

// Switches the hero to the exit walk once the top is reached, the gate wave
// is over and no enemy is left.
void CheckLevelExit();

}  // namespace game
