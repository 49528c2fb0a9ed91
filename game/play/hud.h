#pragma once
// The black bars around the play field and the status line with score,
// grenades, lives and the high score.

#include <string>

namespace game {

void DrawHudBars();
void DrawHudLine();
// The leading zeros that make n show with at least seven digits.
std::string ScorePadding(int n);

}  // namespace game
