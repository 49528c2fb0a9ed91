#pragma once
// A test hero who cannot be hit (God mode) and walks straight up an area,
// stepping aside where the way up is blocked, fires every 25 ticks, and at
// the top hunts the soldiers about, so that any area is played from its
// start view to its end.  He hunts only from places he could walk to: a
// soldier his bullets and grenades cannot reach from there stays alive.
// A mixin over a play fixture.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/play/enemies/enemy.h"
#include "tests/game/play/fixture.h"

namespace playtest {

// What a soldier of the tables is, for the messages of the play tests.
inline const char* KindName(int estado) {
    using namespace game;
    switch (estado) {
    case ENEMY_RUNNER: return "runner";
    case ENEMY_GRENADIER: return "grenadier";
    case ENEMY_JUMPER: return "jumper";
    case ENEMY_VERDE: return "verde soldier";
    case ENEMY_LEAVING_GATE: return "gate soldier";
    case ENEMY_HILL_RUNNER: return "hill runner";
    default: return "soldier";
    }
}

// What is still about, for the message of an area or a wave that did not
// end: each soldier's kind, state, key and place.
inline std::string Leftovers() {
    using namespace game;
    std::string text;
    for (const auto& o : *EnemyList) {
        if (auto e = plat::As<T_Enemigo>(o))
            text += " " + std::string(KindName(e->estado)) + " (" + std::to_string(e->estado) + ") key " +
                    std::to_string(e->py_creado) + " at " + std::to_string(static_cast<int>(e->x)) + "," +
                    std::to_string(static_cast<int>(e->y));
        else
            text += " vehicle";
    }
    return text;
}

// The places the hero can walk to at the top of an area (the view at 0,
// where he stays between rows 54 and 136 of the map), found from one place
// by his own probes: up at (12, 15), down at (12, 21), left at (2, 16) and
// right at (22, 16), in steps of a pixel.  A place he can stand on is one
// where no part of him (x + 2 .. x + 22, y + 2 .. y + 21) overlaps solid
// ground: where a player would stand, not pressed into a wall.
class TopPlaces {
public:
    static constexpr int kLeft = 3, kRight = 293, kTop = 54, kBottom = 136;

    void Find(int fromX, int fromY) {
        const int w = kRight - kLeft + 1, h = kBottom - kTop + 1;
        open_.assign(static_cast<std::size_t>(w * h), 0);
        std::vector<int> todo;
        auto visit = [&](int x, int y) {
            if (x < kLeft || x > kRight || y < kTop || y > kBottom || open_[Index(x, y)]) return;
            open_[Index(x, y)] = 1;
            todo.push_back(Index(x, y));
        };
        visit(std::clamp(fromX, kLeft, kRight), std::clamp(fromY, kTop, kBottom));
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            const int x = kLeft + i % w, y = kTop + i / w;
            if (Free(x + 12, y + 14)) visit(x, y - 1);
            if (Free(x + 12, y + 21)) visit(x, y + 1);
            if (Free(x + 1, y + 16)) visit(x - 1, y);
            if (Free(x + 22, y + 16)) visit(x + 1, y);
        }
        // Of the places he reaches, those he can stand on.
        for (std::size_t i = 0; i < open_.size(); ++i)
            if (open_[i]) open_[i] = Clear(kLeft + static_cast<int>(i) % w, kTop + static_cast<int>(i) / w) ? 2 : 1;
    }
    bool At(int x, int y) const {
        return x >= kLeft && x <= kRight && y >= kTop && y <= kBottom && !open_.empty() && open_[Index(x, y)] == 2;
    }
    bool Empty() const { return open_.empty(); }

private:
    static bool Free(int px, int py) { return game::GameMap->MapCollision(px, py) == 0; }
    static bool Clear(int x, int y) {
        for (int py : {y + 2, y + 8, y + 14, y + 21})
            for (int px : {x + 2, x + 7, x + 12, x + 17, x + 22})
                if (!Free(px, py)) return false;
        return true;
    }
    static std::size_t Index(int x, int y) {
        return static_cast<std::size_t>((y - kTop) * (kRight - kLeft + 1) + (x - kLeft));
    }
    std::vector<char> open_;
};

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

    // A stance against a soldier at (ex, ey): where the hero stands, as an
    // offset, the key he holds (and so the way he fires), and how far the
    // place may lie from it and still hit: his shots fly 80 rows up or
    // down, 110 pixels across, and his grenade bursts 80 rows above him.
    struct Stance {
        int dx, dy, key;
        int slackX, slackY;  // the place may be this much nearer (dy, dx) or off
    };

    // The nearest place of a stance he can stand on, if any.
    bool PlaceFor(const Stance& s, float ex, float ey, int& hx, int& hy) const {
        const int tx = static_cast<int>(std::lround(ex)) + s.dx, ty = static_cast<int>(std::lround(ey)) + s.dy;
        for (int r = 0; r <= std::max(s.slackX, s.slackY); r += 2)
            for (int oy : {0, -r, r})
                for (int ox : {0, -r, r}) {
                    if (std::abs(ox) > s.slackX || std::abs(oy) > s.slackY) continue;
                    if (places_.At(tx + ox, ty + oy)) {
                        hx = tx + ox;
                        hy = ty + oy;
                        return true;
                    }
                }
        return false;
    }

    // At the top the soldiers about are hunted, each in turn for 1600
    // ticks: the hero takes turns at standing below him (firing up and
    // throwing), beside him firing across, and above him firing down, each
    // from the nearest place he can walk to.
    void Hunt(int tick) {
        using namespace game;
        if (places_.Empty()) places_.Find(static_cast<int>(Hero->x), static_cast<int>(Hero->y));
        std::vector<plat::Ref<T_Enemigo>> about;
        for (const auto& o : *EnemyList)
            if (auto e = plat::As<T_Enemigo>(o); e && e->estado != ENEMY_DYING && e->estado != ENEMY_DYING_GUARD)
                about.push_back(e);
        if (about.empty()) return;
        const auto& e = about[static_cast<std::size_t>(tick / 1600) % about.size()];
        const Stance stances[] = {{0, 80, UpKeys[1], 8, 60},
                                  {-70, 0, RightKeys[1], 40, 6},
                                  {70, 0, LeftKeys[1], 40, 6},
                                  {4, -60, DownKeys[1], 8, 40}};
        const int first = (tick / 400) % 4;
        for (int k = 0; k < 4; ++k) {
            const Stance& s = stances[(first + k) % 4];
            int hx = 0, hy = 0;
            if (!PlaceFor(s, e->x, e->y, hx, hy)) continue;
            for (int key : {UpKeys[1], DownKeys[1], LeftKeys[1], RightKeys[1]})
                if (key != s.key) this->Release(key);
            this->Hold(s.key);
            Hero->x = static_cast<float>(hx);
            Hero->y = static_cast<float>(hy);
            if (s.key == UpKeys[1] && tick % 150 == 0 && grenades_) {
                Grenades = 5;
                this->Press(GrenadeKeys[1]);
            }
            return;
        }
    }

    // One tick of the test hero: a first frame to let him in, the way up,
    // the hunt at the top (from the start of the gate wave when `early`,
    // else once it is over), a shot every 25 ticks.
    void Drive(int tick, bool early = false) {
        using namespace game;
        if (Hero->estado == HERO_ENTERING) this->Frame();
        if (Hero->estado == HERO_PLAYING) Steer();
        if (Hero->estado == HERO_PLAYING && ViewTop == 0 && (early || GateWaveCounter <= -16)) Hunt(tick);
        if (tick % 25 == 0) this->Press(FireKeys[1]);
        this->Tick();
    }
    void ReleaseAll() {
        using namespace game;
        for (int key : {UpKeys[1], DownKeys[1], LeftKeys[1], RightKeys[1]}) this->Release(key);
        places_ = TopPlaces{};
    }

    // Whether he throws grenades in the hunt: a player may reach the top
    // with none left, and then only his bullets can end the wave.
    void ThrowGrenades(bool on) { grenades_ = on; }

    TopPlaces places_;
    bool grenades_ = true;
};

}  // namespace playtest
