#include "game/hud.h"

namespace game {

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

}  // namespace game
