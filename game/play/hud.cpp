// The black bars around the play field and the status line.

#include "game/play/hud.h"

#include "game/front/bitmap_font.h"
#include "game/globals.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

std::string TwoDigits(const std::string& prefix, int n) {
    return n < 10 ? prefix + "0" + std::to_string(n) : prefix + std::to_string(n);
}

}  // namespace

std::string ScorePadding(int n) {
    int digits = 7;
    int power = 10;
    for (int b = 1; b <= 6; ++b, power *= 10) {
        if (n / power == 0) {
            digits = b;
            break;
        }
    }
    return std::string(static_cast<std::size_t>(7 - digits), '0');
}

void DrawHudBars() {
    plat::SetColor(0, 0, 0);
    plat::DrawRect(0, 0, 320, 26);
    plat::DrawRect(0, 186, 320, 54);
    plat::SetColor(255, 255, 255);
}

void DrawHudLine() {
    constexpr float kRow = 196;
    WriteText("SCORE " + ScorePadding(Score) + std::to_string(Score), 3, kRow);
    WriteText(TwoDigits("<=", Grenades), 122, kRow);
    WriteText(TwoDigits("MEN ", Lives), 170, kRow);
    WriteText("HI " + ScorePadding(HiScore) + std::to_string(HiScore), 238, kRow);
}

}  // namespace game
