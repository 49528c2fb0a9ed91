#include "game/records_entry_screen.h"

namespace game {

void TIntroducirRecordsScreen::Load() {}
void TIntroducirRecordsScreen::Start() { TScreen::Start(); }
void TIntroducirRecordsScreen::Kill() { TScreen::Kill(); }
void TIntroducirRecordsScreen::Logic() {}
void TIntroducirRecordsScreen::Draw() {}

}  // namespace game
