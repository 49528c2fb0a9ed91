// The black bars around the play field and the status line.

#include <string>

#include "game/bitmap_font.h"
#include "game/globals.h"
#include "game/hud.h"
#include "platform/gfx/draw.h"

namespace game {

void DrawHudBars() {
    plat::SetColor(0, 0, 0);
    plat::DrawRect(0, 0, 320, 26);
    plat::DrawRect(0, 186, 320, 54);
    plat::SetColor(255, 255, 255);
}

namespace {

std::string TwoDigits(const std::string& prefix, int n) {
    return n < 10 ? prefix + "0" + std::to_string(n) : prefix + std::to_string(n);
}

}  // namespace

void DrawHudLine() {
    constexpr float kRow = 196;
    WriteText("SCORE " + ScorePadding(Score) + std::to_string(Score), 3, kRow);
    WriteText(TwoDigits("<=", Grenades), 122, kRow);
    WriteText(TwoDigits("MEN ", Lives), 170, kRow);
    WriteText("HI " + ScorePadding(HiScore) + std::to_string(HiScore), 238, kRow);
}

}  // namespace game
