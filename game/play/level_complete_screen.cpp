#include "game/play/level_complete_screen.h"

namespace game {

void TLevelCompleteScreen::Load() {}
void TLevelCompleteScreen::Start() { TScreen::Start(); }
void TLevelCompleteScreen::Kill() { TScreen::Kill(); }
void TLevelCompleteScreen::Logic() {}
void TLevelCompleteScreen::Draw() {}

}  // namespace game
