#pragma once
// TLevelCompleteScreen: shown between two areas.

#include "framework/screen.h"

namespace game {

class TLevelCompleteScreen : public fw::TScreen {
public:
    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
};

}  // namespace game
