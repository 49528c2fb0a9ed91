#include "game/play/script/idle_grenadier.h"

#include <cmath>

#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "tilemap/tilemap.h"

namespace game {

void RunIdleGrenadier() {
    if (!(std::fabs(PlayClock - LastScrollTime) > 3000.0 && ViewTop > 30)) return;
    // The three seconds start again whether or not a grenadier comes.
    LastScrollTime = PlayClock;
    // Where he may come from, in order: the x whose map pixel on his row must
    // be open, his row below the top of the view, and his side.
    const struct {
        int px, dy, side;
    } places[] = {
        {310, 21, DIR_LEFT},
        {10, 21, DIR_RIGHT},
        {310, 120, DIR_LEFT},
        {10, 130, DIR_RIGHT},
    };
    for (const auto& p : places) {
        if (GameMap->MapCollision(p.px, ViewTop + p.dy) != 0) continue;
        T_Enemigo::f_Create_Granadero(ViewTop + p.dy, p.side);
        return;
    }
}

}  // namespace game
