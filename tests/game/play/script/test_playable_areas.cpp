// Whatever the dice fall, every area can be played to its end on its real
// map, with the game's own walking, shots and script:
// - every soldier the area tables make walks out of the place he was made
//   and never ends up where the hero's bullets and grenades cannot reach;
// - the hero restarting at any checkpoint and holding Up, Up-left or
//   Up-right walks into no water;
// - the gate wave at the top of every area ends with the hero's walk out,
//   played by a hero who has to shoot every soldier himself, hunting them
//   as they come or only once the wave has run out and they have walked
//   down as far as they go.
// Nothing is drawn and the clock is the test's: the seed loops are fast.

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "game/play/enemies/enemy.h"
#include "game/play/field.h"
#include "game/play/script/area_tables.h"
#include "game/play/script/make_actor.h"
#include "tests/game/play/script/hero_driver.h"

namespace playtest {
namespace {

using namespace game;

// The map blocks that are open and joined to the hero's way through the
// area: what his bullets can fly through, and where he can stand.  A
// soldier is within the hero's reach when his box covers one of them (a
// bullet gets there) or when the hero can stand on joined open ground 80
// rows below him (his grenade bursts there, whatever lies between).
class OpenGround {
public:
    void Find(int fromX, int fromY) {
        w_ = GameMap->mapwidth;
        h_ = GameMap->mapheight;
        joined_.assign(static_cast<std::size_t>(w_ * h_), 0);
        std::vector<int> todo{fromY / 8 * w_ + fromX / 8};
        joined_[static_cast<std::size_t>(todo[0])] = 1;
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            const int cx = i % w_, cy = i / w_;
            const int next[4][2] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[0] >= w_ || n[1] < 0 || n[1] >= h_) continue;
                const auto j = static_cast<std::size_t>(n[1] * w_ + n[0]);
                if (joined_[j] || GameMap->MapCollision(n[0] * 8, n[1] * 8) != 0) continue;
                joined_[j] = 1;
                todo.push_back(static_cast<int>(j));
            }
        }
    }
    bool Reaches(float x, float y) const { return Shot(x, y) || Grenade(x, y); }
    // Whether the soldier's hit box (x + 2, y + 2, 20 x 16) covers a joined
    // open block.
    bool Shot(float x, float y) const {
        const int x0 = static_cast<int>(x) + 2, y0 = static_cast<int>(y) + 2;
        for (int cy = y0 / 8; cy <= (y0 + 15) / 8; ++cy)
            for (int cx = x0 / 8; cx <= (x0 + 19) / 8; ++cx)
                if (Joined(cx, cy)) return true;
        return false;
    }
    // Whether the hero can stand where his grenade's burst (20 x 16, 80 rows
    // above him) covers the soldier's box: all of him on joined open ground.
    bool Grenade(float x, float y) const {
        const int ex = static_cast<int>(x), ey = static_cast<int>(y);
        for (int hy = ey + 64; hy <= ey + 96; hy += 4)
            for (int hx = std::max(ex - 20, 3); hx <= std::min(ex + 20, 293); hx += 4) {
                bool stands = true;
                for (int py : {hy + 2, hy + 8, hy + 14, hy + 21})
                    for (int px : {hx + 2, hx + 7, hx + 12, hx + 17, hx + 22})
                        stands = stands && Joined(px / 8, py / 8);
                if (stands) return true;
            }
        return false;
    }

private:
    bool Joined(int cx, int cy) const {
        return cx >= 0 && cx < w_ && cy >= 0 && cy < h_ && joined_[static_cast<std::size_t>(cy * w_ + cx)];
    }
    int w_ = 0, h_ = 0;
    std::vector<char> joined_;
};

// Whether the middle of a soldier's hit box (x + 2, y + 2, 20 x 16), its
// ten middle columns from top to bottom, lies in solid ground: he stands
// inside a wall or a rock, drawn over it.
bool InsideSolid(float x, float y) {
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y) + 2;
    for (int py : {y0, y0 + 8, y0 + 16})
        for (int px : {x0 + 7, x0 + 12, x0 + 17})
            if (GameMap->MapCollision(px, py) == 0) return false;
    return true;
}

// The kinds that walk, and so may walk into a trap.
bool Walks(int estado) {
    switch (estado) {
    case ENEMY_RUNNER:
    case ENEMY_GRENADIER:
    case ENEMY_JUMPER:
    case ENEMY_VERDE:
    case ENEMY_LEAVING_GATE:
    case ENEMY_LORRY_JUMPER:
    case ENEMY_HILL_RUNNER: return true;
    default: return false;
    }
}

// A table entry that makes soldiers: what it is, the view it is made at,
// and how.
struct Maker {
    std::string rule;
    int view;
    CreationCall call;
};

CreationCall Call(Creation kind, std::initializer_list<int> args) {
    CreationCall c{kind, static_cast<std::uint8_t>(args.size()), {}, Picker::None};
    std::size_t i = 0;
    for (int a : args) c.args[i++] = a;
    return c;
}

// Every call of an area's tables that makes a soldier, with its view: the
// chain's rules at the first row they fire on, the checkpoints' actors at
// their restart views, the start actors at the start view, and at the top
// the gate soldiers (out of every gate place, of both kinds), the verde
// soldier, the extra grenadiers and both kinds out of every side door.
std::vector<Maker> MakersOf(int level, int startView) {
    const AreaTables& area = AreaTablesOf(level);
    std::vector<Maker> out;
    for (std::size_t i = 0; i < area.spawns.size(); ++i)
        out.push_back({"rule " + std::to_string(i + 1), area.spawns[i].hi, area.spawns[i].call});
    for (const auto& band : area.checkpoints)
        for (const auto& call : band.calls) out.push_back({"restart at view " + std::to_string(band.view), band.view, call});
    for (const auto& call : area.startActors) out.push_back({"area start", startView, call});
    for (int x = 140; x <= 180; x += 10)
        for (int kind : {ENEMY_RUNNER, ENEMY_GRENADIER})
            out.push_back({"gate soldier at x " + std::to_string(x), 0,
                           Call(Creation::Sale_de_Puerta, {x, 0, kind, -1})});
    out.push_back({"verde soldier", 0, area.gate.verde});
    for (const auto& extra : area.gate.extras) {
        out.push_back({"gate grenadier", 0, extra.call});
        if (extra.either) out.push_back({"gate grenadier", 0, extra.other});
    }
    for (const auto& door : area.gate.doors) {
        const std::string where = "side door (" + std::to_string(door.x) + ", " + std::to_string(door.row) + ")";
        out.push_back({where, 0, Call(Creation::Granadero_puerta, {door.x, door.row, door.dir})});
        out.push_back({where, 0, Call(Creation::Corredor_puerta, {door.x, door.row, door.dir})});
    }
    return out;
}

constexpr int kWalkSeeds = 200;
// Eight legs of the slowest walker (44 pixels at 0.235 a tick).
constexpr int kWalkTicks = 1500;
// A soldier has left his place once he is his own width away from it.
constexpr float kLeft = 24.0f;
// A soldier ends in a place when he spends the last two legs there.
constexpr int kLastStretch = 380;
// A grenadier feels for walls at his left edge whichever way he walks, so
// one who walks right into something two blocks wide or more is caught
// inside it, his probes all in it.  A table entry whose soldiers end their
// walk inside solid ground on more seeds than this, of the 200 walked,
// fails: the ground in their first legs needs moving.
constexpr int kMostSeedsInsideSolid = 4;

// What the walks of one table entry came to over the seeds.
struct WalkTally {
    int outSeeds = 0;  // seeds on which a soldier never left his place or ended out of reach
    std::string firstOut;
    int solidSeeds = 0;  // seeds on which a soldier ended his walk inside solid ground
    std::string firstSolid;
};

std::string Share(int seeds) { return std::to_string(seeds) + " of " + std::to_string(kWalkSeeds) + " seeds"; }

// Makes the entry's soldiers once per seed, with the hero standing at the
// entry's view, and walks each of them on his own.
WalkTally WalkOverTheSeeds(int level, const Maker& maker, const OpenGround& ground) {
    WalkTally tally;
    for (int seed = 1; seed <= kWalkSeeds; ++seed) {
        EnemyList->Clear();
        ShotList->Clear();
        GuardList->Clear();
        ViewTop = maker.view;
        Hero->x = 130;
        Hero->y = static_cast<float>(ViewTop + 124);
        Hero->estado = HERO_PLAYING;
        plat::SeedRnd(static_cast<unsigned>(seed));
        fw::SeedRandRange(static_cast<unsigned>(seed));
        MakeActor(maker.call);
        std::vector<plat::Ref<T_Enemigo>> walkers;
        for (const auto& o : *EnemyList)
            if (auto e = plat::As<T_Enemigo>(o); e && Walks(e->estado)) walkers.push_back(e);
        bool out = false, solid = false;
        for (const auto& e : walkers) {
            const float x0 = e->x, y0 = e->y;
            const int kind = e->estado;
            bool gone = false, away = false;
            int inSolid = 0, outOfReach = 0;  // ticks in a row
            fw::Delta = 1.0f;
            for (int t = 0; t < kWalkTicks && !gone; ++t) {
                e->m_Update_enemigo();
                ShotList->Clear();  // his own shots and grenades play no part
                gone = !EnemyList->Contains(e);
                away = away || std::abs(e->x - x0) >= kLeft || std::abs(e->y - y0) >= kLeft;
                inSolid = InsideSolid(e->x, e->y) ? inSolid + 1 : 0;
                outOfReach = ground.Reaches(e->x, e->y) ? 0 : outOfReach + 1;
            }
            if (gone) continue;
            std::ostringstream where;
            where << "area " << level << ", " << maker.rule << " (view " << maker.view << "), seed " << seed
                  << ": the " << KindName(kind) << " made at (" << x0 << ", " << y0 << ") ";
            std::ostringstream end;
            end << "; after " << kWalkTicks << " ticks he is at (" << e->x << ", " << e->y << ")";
            std::string fault;
            if (!away)
                fault = "never gets " + std::to_string(static_cast<int>(kLeft)) + " px from where he was made";
            else if (outOfReach >= kLastStretch)
                fault = inSolid >= kLastStretch ? "stays inside solid ground where the hero's shots cannot reach him"
                                                : "ends where the hero's shots cannot reach him";
            if (!fault.empty() && !out && tally.outSeeds == 0) tally.firstOut = where.str() + fault + end.str();
            out = out || !fault.empty();
            if (inSolid >= kLastStretch && !solid && tally.solidSeeds == 0)
                tally.firstSolid = where.str() + "ends his walk inside solid ground" + end.str();
            solid = solid || inSolid >= kLastStretch;
        }
        tally.outSeeds += out;
        tally.solidSeeds += solid;
    }
    EnemyList->Clear();
    return tally;
}

class AreaSoldiers : public PlayTest, public ::testing::WithParamInterface<int> {};

TEST_P(AreaSoldiers, EverySoldierWalksOutOfHisPlaceAndStaysWithinReach) {
    const int level = GetParam();
    StartArea(level);
    GodMode = 1;
    const int startView = ViewTop;
    OpenGround ground;
    ground.Find(130 + 12, startView + 124 + 15);

    std::vector<WalkTally> tallies;
    for (const Maker& maker : MakersOf(level, startView)) tallies.push_back(WalkOverTheSeeds(level, maker, ground));
    for (const auto& t : tallies)
        if (t.outSeeds) ADD_FAILURE() << t.firstOut << " [" << Share(t.outSeeds) << "]";
    // Every entry whose soldiers end inside solid ground at all, worst
    // first: where the maps want mending next.
    std::vector<const WalkTally*> inside;
    for (const auto& t : tallies)
        if (t.solidSeeds) inside.push_back(&t);
    std::stable_sort(inside.begin(), inside.end(),
                     [](const WalkTally* a, const WalkTally* b) { return a->solidSeeds > b->solidSeeds; });
    for (const WalkTally* t : inside) {
        std::cout << "inside solid ground on " << Share(t->solidSeeds) << ": " << t->firstSolid << "\n";
        EXPECT_LE(t->solidSeeds, kMostSeedsInsideSolid)
            << t->firstSolid << " [" << Share(t->solidSeeds) << "; at most " << kMostSeedsInsideSolid << " may]";
    }
}

INSTANTIATE_TEST_SUITE_P(Areas, AreaSoldiers, ::testing::Range(1, 9),
                         [](const auto& info) { return "Area" + std::to_string(info.param); });

// The walk on a small map of its own: a door grenadier sent right, 28
// pixels from a block, is caught inside it when it is two blocks wide or
// more, and walks off a block one wide (his middle probes find the way
// open behind it).
class SoldierWalks : public PlayTest {};

TEST_F(SoldierWalks, AGrenadierWalkingRightIntoSomethingWideEndsInsideItAndIsCounted) {
    struct Case {
        int width;
        bool caught;
    };
    for (const Case c : {Case{8, false}, Case{16, true}, Case{48, true}}) {
        SCOPED_TRACE("a block " + std::to_string(c.width) + " px wide");
        auto map = MakeMap(30);
        Paint(*map, 160, 120, c.width, 64, 1);
        StartOnMap(map);
        GodMode = 1;
        OpenGround ground;
        ground.Find(130 + 12, ViewTop + 124 + 15);
        const Maker maker{"door at (130, 150)", ViewTop, Call(Creation::Granadero_puerta, {130, 150, DIR_RIGHT})};
        const WalkTally tally = WalkOverTheSeeds(1, maker, ground);
        if (c.caught) {
            EXPECT_GT(tally.solidSeeds, kMostSeedsInsideSolid);
            EXPECT_NE(tally.firstSolid.find("ends his walk inside solid ground"), std::string::npos) << tally.firstSolid;
        } else {
            EXPECT_EQ(tally.solidSeeds, 0) << tally.firstSolid;
        }
    }
}


// --- restarts -------------------------------------------------------------------

class Restarts : public PlayTest {};

TEST_F(Restarts, HoldingUpOrAsideForTwoSecondsAfterARestartWalksIntoNoWater) {
    struct Key {
        const char* name;
        int code;
    };
    const Key keys[] = {{"Up", UpKeys[1]}, {"Up-left", 0}, {"Up-right", 0}};
    for (int level = 1; level <= 8; ++level) {
        for (const auto& band : AreaTablesOf(level).checkpoints) {
            for (const Key& key : keys) {
                StartArea(level);
                GodMode = 1;
                EnemyList->Clear();
                ViewTop = band.view;
                RestartFromCheckpoint();
                ASSERT_EQ(ViewTop, band.view);
                Hero->estado = HERO_PLAYING;
                std::vector<int> held{UpKeys[1]};
                if (std::string(key.name) == "Up-left") held.push_back(LeftKeys[1]);
                if (std::string(key.name) == "Up-right") held.push_back(RightKeys[1]);
                for (int k : held) Hold(k);
                int t = 0;
                for (; t < 400 && Hero->estado == HERO_PLAYING; ++t) Tick();
                for (int k : held) Release(k);
                Tick();
                EXPECT_NE(Hero->estado, HERO_FALLEN)
                    << "area " << level << ", restart at view " << band.view << ": holding " << key.name
                    << " he falls into deadly ground after " << t << " ticks at (" << Hero->x << ", " << Hero->y
                    << ")";
            }
        }
    }
}

// --- the gate wave --------------------------------------------------------------

struct Wave {
    int level, stage;
};

class GateWave : public HeroDriver<PlayTest>, public ::testing::WithParamInterface<Wave> {};

// A third of them hunted at once, a third after the wave, and a third
// after the wave with no grenades left.
constexpr int kWaveSeeds = 150;

TEST_P(GateWave, EndsWithTheWalkOutWhenTheHeroShootsEverySoldier) {
    const Wave wave = GetParam();
    Level = wave.level;
    LevelScreen->Load();
    int failed = 0;
    for (int seed = 1; seed <= kWaveSeeds && failed < 3; ++seed) {
        LevelStartKind = 3;
        LevelScreen->Start();
        Stage = wave.stage;
        GodMode = 1;
        // On seeds of the first kind he hunts from the wave's first soldier;
        // on the others he holds his place, firing up, until the wave has
        // run out, so the soldiers walk down as far as they go before he
        // goes after them; on the third kind he has no grenades: a player
        // may reach the top with none, and his bullets alone must end it.
        const bool early = seed % 3 == 1, bullets = seed % 3 == 0;
        ThrowGrenades(!bullets);
        Grenades = bullets ? 0 : 5;
        plat::SeedRnd(static_cast<unsigned>(seed));
        fw::SeedRandRange(static_cast<unsigned>(seed));
        // The hero has just walked up to the top: what the rest of the area
        // made is out of the window and goes on the first update.
        ViewTop = 0;
        Hero->x = 130;
        Hero->y = 124;
        Hero->estado = HERO_PLAYING;
        const int starts = complete_->starts;
        int t = 0;
        for (; t < 12000 && complete_->starts == starts; ++t) {
            if (Hero->estado == HERO_PLAYING) Drive(t, early);
            else Tick();
        }
        ReleaseAll();
        if (complete_->starts == starts && ++failed)
            ADD_FAILURE() << "area " << wave.level << ", stage " << wave.stage << ", seed " << seed
                          << (early ? " (hunting at once)" : bullets ? " (hunting after the wave, no grenades)" : " (hunting after the wave)") << ": no walk out after " << t << " ticks; counter " << GateWaveCounter << ", hero "
                          << Hero->estado << " at (" << Hero->x << ", " << Hero->y << ");" << Leftovers();
    }
    EXPECT_EQ(failed, 0) << "area " << wave.level << ", stage " << wave.stage << ": " << failed
                         << " waves did not end (the seeds stop at the third)";
}

std::vector<Wave> AllWaves() {
    std::vector<Wave> out;
    for (int level = 1; level <= 8; ++level)
        for (int stage : {1, 9}) out.push_back({level, stage});
    return out;
}

INSTANTIATE_TEST_SUITE_P(Areas, GateWave, ::testing::ValuesIn(AllWaves()), [](const auto& info) {
    return "Area" + std::to_string(info.param.level) + "Stage" + std::to_string(info.param.stage);
});

}  // namespace
}  // namespace playtest
