#include "game/level_screen.h"

namespace game {

void TLevelScreen::Load() {}
void TLevelScreen::Start() { TScreen::Start(); }
void TLevelScreen::Kill() { TScreen::Kill(); }
void TLevelScreen::Logic() {}
void TLevelScreen::Draw() {}
void TLevelScreen::InitLevelStats() {}
void TLevelScreen::m_Mira_vida_extra() {}

}  // namespace game
