#pragma once
// Every place the hero can walk to on the map loaded, found by moving the
// game's own hero (T_Dax) one tick at a time in each of his eight
// directions from every place found, and the pockets among them: places he
// walks into going up or sideways where Up, Up-left, Up-right, Left and
// Right all fail, so that only a move down frees him; and the places he is
// stranded at, from which no way leads on to the top of the area.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/globals.h"
#include "game/play/hero.h"
#include "game/vocabulary.h"
#include "tilemap/tilemap.h"

namespace playtest {

// A bit for each of the hero's eight directions.
constexpr std::uint8_t DirBit(int dir) { return static_cast<std::uint8_t>(1u << (dir < 5 ? dir - 1 : dir - 2)); }

class HeroPlaces {
public:
    // His steps are a quarter pixel down and half a pixel across (0.25 a
    // tick, twice that sideways), so from a whole-pixel start every place he
    // reaches lies on that grid.
    static constexpr int kAcross = 2, kDown = 4;
    static constexpr int kWidth = 300 * kAcross;  // x runs from 2 to 296

    // A group of pockets side by side, for the report.
    struct Pocket {
        float x0, x1, y0, y1;  // the hero's places in it
        float x, y;            // one of them
        int view;              // the view he reaches it at
        bool frozen;           // somewhere in it not even a move down frees him
    };

    // Searches from the hero's place at every view of `views` (the start and
    // the restarts: x 130, 124 rows below the top of the view).  The view
    // follows him as in play: it scrolls when he pushes at the top margin and
    // never goes back down, so he cannot walk lower than its bottom; of the
    // ways to a place the one with the view lowest is kept, since it leaves
    // him the most room.
    void Find(const std::vector<int>& views) {
        using namespace game;
        rows_ = GameMap->mapheight * 8 * kDown;
        view_.assign(static_cast<std::size_t>(kWidth) * static_cast<std::size_t>(rows_), -1);
        moves_.assign(view_.size(), 0);
        entered_.assign(view_.size(), 0);
        free_.assign(view_.size(), 0);
        const int top = *std::max_element(views.begin(), views.end());
        std::vector<std::vector<int>> todo(static_cast<std::size_t>(top + 1));
        auto reach = [&](int ix, int iy, int view, int dir, int fromX, int fromY) {
            const std::size_t i = Index(ix, iy);
            if (dir != DIR_DOWN_LEFT && dir != DIR_DOWN && dir != DIR_DOWN_RIGHT)
                entered_[i] |= From(ix - fromX, iy - fromY);
            if (view_[i] >= view) return;
            view_[i] = static_cast<std::int16_t>(view);
            todo[static_cast<std::size_t>(view)].push_back(static_cast<int>(i));
        };
        for (int v : views) reach(130 * kAcross, (v + 124) * kDown, v, DIR_DOWN, 0, 0);
        const int savedView = ViewTop;
        for (int v = top; v >= 0; --v) {
            auto& list = todo[static_cast<std::size_t>(v)];
            while (!list.empty()) {
                const int i = list.back();
                list.pop_back();
                if (view_[static_cast<std::size_t>(i)] != v) continue;  // reached since with a lower view
                const int ix = i % kWidth, iy = i / kWidth;
                std::uint8_t moved = 0, free = 0;
                for (int dir : kDirs) {
                    int nx = 0, ny = 0, nv = 0;
                    if (!Step(ix, iy, v, dir, nx, ny, nv)) continue;
                    moved |= DirBit(dir);
                    if (nv == v && nx == ix + Across(dir) && ny == iy + Down(dir)) free |= DirBit(dir);
                    reach(nx, ny, nv, dir, ix, iy);
                }
                // Where the view held him back or scrolled, the ways the
                // ground leaves him are asked again with him in mid-view.
                if (iy < BandTop(v) + kDown || iy >= BandBottom(v)) free = GroundMoves(ix, iy);
                free_[static_cast<std::size_t>(i)] = free;
                moves_[static_cast<std::size_t>(i)] = moved;
                ++places_;
            }
        }
        ViewTop = savedView;
    }

    long Places() const { return places_; }

    // The pockets, grouped.  He is held at a place when no move up frees
    // him there and Left and Right take him less than a block either way to
    // other such places: a bay no wider than he is, under something he
    // cannot pass.  A place where he is held is a pocket when no key moves
    // him at all, or when he walks into it going up or sideways from a place
    // where he is not held.  (Held where only a move down took him, he is
    // where his probes put him under the corner of anything solid: his up
    // probes lie six rows above his down probes.)  Doorways count like any
    // other bay: the doors soldiers are sent out of are shut to him.
    std::vector<Pocket> Pockets() const {
        std::vector<char> mark(view_.size(), 0);
        for (int iy = 0; iy < rows_; ++iy)
            for (int ix = 0; ix < kWidth; ++ix)
                if (Held(ix, iy) && (moves_[Index(ix, iy)] == 0 || EnteredFromFree(ix, iy)))
                    mark[Index(ix, iy)] = 1;
        return Groups(mark);
    }

    // The places he is stranded at, grouped: places from where no walk
    // brings the view to the top of the area, even with the view as low as
    // he can have it there.  The view never scrolls back down and he cannot
    // walk below it, so a dead end that runs up further than that keeps him
    // for good.  A place that leads on with the view at some height leads on
    // with it lower too (more room), so each place has a highest view it
    // leads on from: found view by view from the top, each view adding a
    // pixel of room at its bottom.
    std::vector<Pocket> Stranded() const {
        constexpr int kNever = 1 << 30;
        std::vector<int> from(view_.size(), kNever);  // the highest view he leads on from there
        std::vector<int> todo;
        for (int iy = BandTop(0); iy <= std::min(BandBottom(0), rows_ - 1); ++iy)
            for (int ix = 0; ix < kWidth; ++ix)
                if (Reached(ix, iy)) from[Index(ix, iy)] = 0;  // the top: the way out opens here
        auto leadsOn = [&](int ix, int iy, int v, int dir) {
            const int nx = ix + Across(dir), ny = iy + Down(dir);
            return Moves(ix, iy, v, dir) && from[Index(nx, ny)] <= v;
        };
        for (int v = 1; BandTop(v) < rows_; ++v) {
            // Only the room added at the view's bottom can open a way on.
            for (int iy = BandBottom(v - 1) + 1; iy <= std::min(BandBottom(v), rows_ - 1); ++iy)
                for (int ix = 0; ix < kWidth; ++ix) {
                    if (!Reached(ix, iy) || from[Index(ix, iy)] <= v) continue;
                    for (int dir : kDirs)
                        if (leadsOn(ix, iy, v, dir)) {
                            from[Index(ix, iy)] = v;
                            todo.push_back(static_cast<int>(Index(ix, iy)));
                            break;
                        }
                }
            while (!todo.empty()) {  // and back from there along his moves inside the view
                const int j = todo.back();
                todo.pop_back();
                const int jx = j % kWidth, jy = j / kWidth;
                for (int dir : kDirs) {
                    const int ix = jx - Across(dir), iy = jy - Down(dir);
                    if (!InBand(v, ix, iy) || iy >= rows_ || !Reached(ix, iy) || from[Index(ix, iy)] <= v ||
                        !Moves(ix, iy, v, dir))
                        continue;
                    from[Index(ix, iy)] = v;
                    todo.push_back(static_cast<int>(Index(ix, iy)));
                }
            }
        }
        std::vector<char> mark(view_.size(), 0);
        for (std::size_t i = 0; i < view_.size(); ++i)
            if (view_[i] >= 0 && from[i] > view_[i]) mark[i] = 1;
        return Groups(mark);
    }

private:
    static constexpr int kDirs[8] = {game::DIR_UP_LEFT,   game::DIR_UP,   game::DIR_UP_RIGHT,  game::DIR_LEFT,
                                     game::DIR_RIGHT,     game::DIR_DOWN_LEFT, game::DIR_DOWN, game::DIR_DOWN_RIGHT};
    static constexpr std::uint8_t kUp = DirBit(game::DIR_UP_LEFT) | DirBit(game::DIR_UP) | DirBit(game::DIR_UP_RIGHT);
    // Sideways play of a block, in steps.
    static constexpr int kBay = 8 * kAcross;

    // The places marked 1 in `mark`, in groups of neighbours.
    std::vector<Pocket> Groups(std::vector<char>& mark) const {
        std::vector<Pocket> out;
        for (std::size_t i = 0; i < mark.size(); ++i) {
            if (mark[i] != 1) continue;
            const int ix0 = static_cast<int>(i) % kWidth, iy0 = static_cast<int>(i) / kWidth;
            Pocket p{X(ix0), X(ix0), Y(iy0), Y(iy0), X(ix0), Y(iy0), view_[i], false};
            std::vector<std::size_t> group{i};
            mark[i] = 2;
            while (!group.empty()) {
                const std::size_t j = group.back();
                group.pop_back();
                const int ix = static_cast<int>(j) % kWidth, iy = static_cast<int>(j) / kWidth;
                p.x0 = std::min(p.x0, X(ix));
                p.x1 = std::max(p.x1, X(ix));
                p.y0 = std::min(p.y0, Y(iy));
                p.y1 = std::max(p.y1, Y(iy));
                p.frozen = p.frozen || moves_[j] == 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = ix + dx, ny = iy + dy;
                        if (nx < 0 || nx >= kWidth || ny < 0 || ny >= rows_ || mark[Index(nx, ny)] != 1) continue;
                        mark[Index(nx, ny)] = 2;
                        group.push_back(Index(nx, ny));
                    }
            }
            out.push_back(p);
        }
        return out;
    }

    // The rows of places (in steps) he can be at with the view at `v`:
    // from the margin where his way up scrolls the view (a pixel above it
    // while the view catches up; at the top, where his way up ends) down to
    // the view's bottom.
    static int BandTop(int v) { return v > 0 ? (v + 108) * kDown - 3 : 54 * kDown; }
    static int BandBottom(int v) { return (v + 160 - game::Hero->size) * kDown; }
    static bool InBand(int v, int ix, int iy) {
        return ix >= 0 && ix < kWidth && iy >= BandTop(v) && iy <= BandBottom(v);
    }
    // Whether the ground lets him walk `dir` from a place, and the view at
    // `v` does too (not down past its bottom; up past its margin it scrolls).
    bool Moves(int ix, int iy, int v, int dir) const {
        if (!(free_[Index(ix, iy)] & DirBit(dir))) return false;
        return InBand(v, ix + Across(dir), iy + Down(dir));
    }
    // The ways the ground leaves him from a place, asked with the view so
    // far above that neither its margin nor its bottom is near.
    static std::uint8_t GroundMoves(int ix, int iy) {
        const int y = iy / kDown;
        const int view = y < 120 ? 0 : y - 120;
        std::uint8_t free = 0;
        for (int dir : kDirs) {
            int nx = 0, ny = 0, nv = 0;
            if (Step(ix, iy, view, dir, nx, ny, nv) && nv == view && nx == ix + Across(dir) && ny == iy + Down(dir))
                free |= DirBit(dir);
        }
        return free;
    }

    // The step each direction makes on the search's grid.
    static int Across(int dir) {
        using namespace game;
        return dir == DIR_UP_LEFT || dir == DIR_LEFT || dir == DIR_DOWN_LEFT     ? -1
               : dir == DIR_UP_RIGHT || dir == DIR_RIGHT || dir == DIR_DOWN_RIGHT ? 1
                                                                                   : 0;
    }
    static int Down(int dir) {
        using namespace game;
        return dir == DIR_UP_LEFT || dir == DIR_UP || dir == DIR_UP_RIGHT           ? -1
               : dir == DIR_DOWN_LEFT || dir == DIR_DOWN || dir == DIR_DOWN_RIGHT ? 1
                                                                                   : 0;
    }

    static float X(int ix) { return static_cast<float>(ix) / kAcross; }
    static float Y(int iy) { return static_cast<float>(iy) / kDown; }
    std::size_t Index(int ix, int iy) const {
        return static_cast<std::size_t>(iy) * kWidth + static_cast<std::size_t>(ix);
    }

    // One tick of the hero at a place with the view at `view`, walking
    // `dir`: whether he moves (a fall into deadly ground is no move), and
    // where to.
    static bool Step(int ix, int iy, int view, int dir, int& nx, int& ny, int& nv) {
        using namespace game;
        Hero->x = X(ix);
        Hero->y = Y(iy);
        Hero->y_old = view + 108;  // the view last scrolled with him at the margin
        Hero->estado = HERO_PLAYING;
        ViewTop = view;
        Direction = dir;
        Hero->m_update_dax();
        if (Hero->estado != HERO_PLAYING) return false;
        nx = static_cast<int>(std::lround(Hero->x * kAcross));
        ny = static_cast<int>(std::lround(Hero->y * kDown));
        nv = ViewTop;
        return nx != ix || ny != iy || nv != view;
    }

    bool Reached(int ix, int iy) const { return view_[Index(ix, iy)] >= 0; }
    bool NoWayUp(int ix, int iy) const { return Reached(ix, iy) && (moves_[Index(ix, iy)] & kUp) == 0; }

    // Whether from this place Up and the ways aside lead only to places
    // within a block to either side that have no way up either.
    bool Held(int ix, int iy) const {
        if (!NoWayUp(ix, iy)) return false;
        int a = ix, b = ix;
        while (moves_[Index(a, iy)] & DirBit(game::DIR_LEFT)) {
            if (--a < 0 || ix - a >= kBay || !NoWayUp(a, iy)) return false;
        }
        while (moves_[Index(b, iy)] & DirBit(game::DIR_RIGHT)) {
            if (++b >= kWidth || b - ix >= kBay || !NoWayUp(b, iy)) return false;
        }
        return b - a < kBay;
    }

    // The offsets a move that is not down comes from, as bits.
    static constexpr std::uint8_t From(int dx, int dy) {
        return static_cast<std::uint8_t>(1u << ((dx + 1) + 3 * (dy + 1)));
    }
    // Whether such a move takes him there from a place where he is not held.
    bool EnteredFromFree(int ix, int iy) const {
        for (int dy = -1; dy <= 0; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int fx = ix - dx, fy = iy - dy;
                if ((entered_[Index(ix, iy)] & From(dx, dy)) && fx >= 0 && fx < kWidth && fy < rows_ &&
                    !Held(fx, fy))
                    return true;
            }
        return false;
    }

    int rows_ = 0;
    long places_ = 0;
    std::vector<std::int16_t> view_;     // the view he reaches each place at, -1 where he never is
    std::vector<std::uint8_t> moves_;    // a bit for every direction that moves him on
    std::vector<std::uint8_t> entered_;  // where the moves that are not down come from (From bits)
    std::vector<std::uint8_t> free_;     // a bit for every direction the ground lets him step
};

}  // namespace playtest
