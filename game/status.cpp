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
    if (!BitmapFont) return;
    constexpr float kRow = 196;
    const int left = TBitmapFont2::L_JUSTIFY, top = TBitmapFont2::T_JUSTIFY;
    BitmapFont->write("SCORE " + ScorePadding(Score) + std::to_string(Score), 3, kRow, left, top);
    BitmapFont->write(TwoDigits("<=", Grenades), 122, kRow, left, top);
    BitmapFont->write(TwoDigits("MEN ", Lives), 170, kRow, left, top);
    BitmapFont->write("HI " + ScorePadding(HiScore) + std::to_string(HiScore), 238, kRow, left, top);
}

}  // namespace game
