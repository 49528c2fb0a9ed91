#pragma once
// A test hero who cannot be hit (God mode) and walks straight up an area,
// stepping aside where the way up is blocked, fires every 25 ticks, and once
// the gate wave is over hunts the soldiers still about, so that any area is
// played from its start view to its end.  A mixin over a play fixture.

#include <algorithm>

#include "game/play/enemies/enemy.h"
#include "tests/game/play/fixture.h"

namespace playtest {

template <class Base>
class HeroDriver : public Base {
protected:
    static bool Open(int px, int py) { return game::GameMap->MapCollision(px, py) == 0; }
    // Whether the hero at x can walk up the next `ahead` rows.
    static bool WayUp(int x, int y, int ahead) {
        for (int k = 0; k <= ahead; ++k)
            if (!Open(x + 12, y + 15 - k)) return false;
        return true;
    }
    // Steps the hero aside to the nearest column he can walk up.
    static void Steer() {
        using namespace game;
        const int x = static_cast<int>(Hero->x), y = static_cast<int>(Hero->y);
        if (y < 0 || WayUp(x, y, 4)) return;
        for (int dx = 2; dx < 300; dx += 2)
            for (int nx : {x - dx, x + dx})
                if (nx >= 3 && nx <= 295 && WayUp(nx, y, 12)) {
                    Hero->x = static_cast<float>(nx);
                    return;
                }
    }

    // Once the gate wave is over, the soldiers still about are hunted: the
    // hero takes turns at standing below the first of them (firing up and
    // throwing, his grenade bursts 80 rows up), above him firing down, and
    // beside him firing across.
    void Hunt(int tick) {
        using namespace game;
        for (const auto& o : *EnemyList) {
            auto e = plat::As<T_Enemigo>(o);
            if (!e || e->estado == ENEMY_DYING || e->estado == ENEMY_DYING_GUARD) continue;
            struct Stance {
                float dx, dy;
                int key;
            };
            const Stance stances[] = {{0, 80, UpKeys[1]}, {0, -50, DownKeys[1]}, {-60, 0, RightKeys[1]}, {60, 0, LeftKeys[1]}};
            const Stance& s = stances[(tick / 400) % 4];
            for (int key : {UpKeys[1], DownKeys[1], LeftKeys[1], RightKeys[1]})
                if (key != s.key) this->Release(key);
            this->Hold(s.key);
            Hero->x = std::clamp(e->x + s.dx, 3.0f, 295.0f);
            Hero->y = std::clamp(e->y + s.dy, 54.0f, 138.0f);
            if (s.key == UpKeys[1] && tick % 150 == 0) {
                Grenades = 5;
                this->Press(GrenadeKeys[1]);
            }
            return;
        }
    }

    // One tick of the test hero: a first frame to let him in, the way up,
    // the hunt after the wave, a shot every 25 ticks.
    void Drive(int tick) {
        using namespace game;
        if (Hero->estado == HERO_ENTERING) this->Frame();
        if (Hero->estado == HERO_PLAYING) Steer();
        if (Hero->estado == HERO_PLAYING && ViewTop == 0 && GateWaveCounter <= -16) Hunt(tick);
        if (tick % 25 == 0) this->Press(FireKeys[1]);
        this->Tick();
    }
    void ReleaseAll() {
        using namespace game;
        for (int key : {UpKeys[1], DownKeys[1], LeftKeys[1], RightKeys[1]}) this->Release(key);
    }
};

}  // namespace playtest
