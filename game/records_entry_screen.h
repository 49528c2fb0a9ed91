#pragma once
// TIntroducirRecordsScreen: the high-score name entry after a game.

#include "framework/screen.h"

namespace game {

class TIntroducirRecordsScreen : public fw::TScreen {
public:
    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
};

}  // namespace game
