#include "game/play/field.h"

#include <cmath>

#include "framework/channels.h"
#include "framework/game.h"
#include "game/globals.h"
#include "platform/core/clock.h"
#include "tilemap/tilemap.h"

namespace game {

double PlayMilliSecs() { return static_cast<double>(plat::MilliSecs64()); }

void PlayGameSound(const plat::Ref<fw::TGameSound>& sound) {
    if (sound && fw::Game && fw::Game->Channels)
        fw::Game->Channels->PlayGameSound(sound, nullptr, 1.0f, 0.0f);
}

int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
    if (x1 > x2 + w2 || x1 + w1 < x2) return 0;
    if (y1 > y2 + h2 || y1 + h1 < y2) return 0;
    return 1;
}

int TileFlagAt(int x, int y) {
    if (Level <= 1 || !GameMap) return 0;
    return GameMap->MapGetBlock(x / 8, y / 8).br != 0 ? 1 : 0;
}

int RoundToNearest(float v) {
    const float f = v - std::floor(v);
    return f >= 0.5f ? static_cast<int>(std::ceil(v)) : static_cast<int>(std::floor(v));
}

float MapBottom() {
    return GameMap ? static_cast<float>((GameMap->mapheight - 2) * GameMap->mapblockheight) : 0.0f;
}

bool OutsideActorWindow(float x, float y) {
    const float sy = y - static_cast<float>(ViewTop);
    return x < 0 || x > 320 || sy < -42 || sy > 160 || y < 0 || y > MapBottom();
}

}  // namespace game
