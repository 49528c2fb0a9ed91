#pragma once
// TLevelScreen: the screen on which the game is played.

#include "framework/screen.h"

namespace fw {
class TGameSound;
}  // namespace fw

namespace game {

class TLevelScreen : public fw::TScreen {
public:
    plat::Ref<fw::TGameSound> snd_vida_extra;  // the extra-life sound

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
    virtual void InitLevelStats();
    virtual void m_Mira_vida_extra();
};

}  // namespace game
