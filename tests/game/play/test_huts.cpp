// Shooting huts: where they stand, when they fire, what destroys them, that
// they keep firing out of view, and the huts of areas 2 and 6 on their maps.

#include <set>

#include "game/play/enemies/huts.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class HutTest : public PlayTest {
protected:
    // Area 2 on a 100-row map with the view inside the huts' window and no
    // hut of the area's own.
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(100);
        StartOnMap(map_, 2);
        Frame();
        HutList->Clear();
        ViewTop = 300;
        GodMode = 1;
    }
    plat::Ref<T_Caseta> Make(int row, int side) {
        T_Caseta::f_Create_Caseta(row, side);
        return plat::As<T_Caseta>(HutList->Last());
    }
    // An exploding grenade of `owner` with its box offset (dx, dy) from the
    // middle of the hut's box.
    plat::Ref<T_Granada> BurstAt(const T_Caseta& hut, int dx, int dy, int owner = GRANADA_HERO, int explota = 1) {
        return PutGrenade(hut.x + 12 + static_cast<float>(dx), hut.y + 18 + static_cast<float>(dy), owner, explota);
    }
    std::vector<plat::Ref<T_Bala>> HutShots() const {
        std::vector<plat::Ref<T_Bala>> shots;
        for (const auto& o : *ShotList)
            if (auto b = plat::As<T_Bala>(o); b && b->owned == BALA_HUT) shots.push_back(b);
        return shots;
    }
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(HutTest, AHutStandsAtItsEdgeAndFiresAcrossTheField) {
    const struct { int side; float x; int dir; float bx, by; int cell; } cases[] = {
        {4, 0, DIR_DOWN_RIGHT, 38, 40, 0},
        {6, 272, DIR_DOWN_LEFT, 262, 42, 1},
    };
    for (const auto& c : cases) {
        HutList->Clear();
        ShotList->Clear();
        auto hut = Make(400, c.side);
        EXPECT_FLOAT_EQ(hut->x, c.x);
        EXPECT_FLOAT_EQ(hut->y, 328.0f);
        EXPECT_EQ(hut->py_creado, 400);
        EXPECT_EQ(hut->estado, HUT_STANDING);
        EXPECT_EQ(hut->image, HutImage);
        EXPECT_EQ(hut->image_disparos, GrenadeImage);
        for (int i = 0; i < 201; ++i) UpdateHuts();
        EXPECT_TRUE(HutShots().empty());
        UpdateHuts();
        const auto shots = HutShots();
        ASSERT_EQ(shots.size(), 1u) << c.side;
        EXPECT_EQ(shots[0]->dir, c.dir);
        EXPECT_FLOAT_EQ(shots[0]->x, c.bx);
        EXPECT_FLOAT_EQ(shots[0]->y, hut->y + c.by);
        // Drawn from its side's cell at its edge.
        std::vector<plat::DrawRecord> drawn;
        for (const auto& call : RecordFrame())
            if (call.image == HutImage.get()) drawn.push_back(call);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].frame, c.cell);
        EXPECT_FLOAT_EQ(drawn[0].x, c.x);
        EXPECT_FLOAT_EQ(drawn[0].y, 328.0f - 300.0f + 26.0f);
    }
    // Another side stands at x 0, fires nothing and is not drawn, but keeps
    // its time.
    HutList->Clear();
    ShotList->Clear();
    auto odd = Make(400, 5);
    EXPECT_FLOAT_EQ(odd->x, 0.0f);
    for (int i = 0; i < 202; ++i) UpdateHuts();
    EXPECT_TRUE(HutShots().empty());
    EXPECT_FLOAT_EQ(odd->bala_delay, 199.0f);
    for (const auto& call : RecordFrame()) EXPECT_NE(call.image, HutImage.get());
}

TEST_F(HutTest, ShotsFollowEveryTwoHundredTicksAndTwoHundredFortyOnStageTwo) {
    for (int stage : {1, 2, 3, 9}) {
        Stage = stage;
        HutList->Clear();
        ShotList->Clear();
        Make(400, 4);
        std::vector<int> ticks;
        for (int t = 1; t <= 1000; ++t) {
            const std::size_t n = HutShots().size();
            UpdateHuts();
            if (HutShots().size() > n) ticks.push_back(t);
        }
        // The first after 200 ticks and one more (the delay runs out below
        // zero), then one every 201, or 241 on stage 2.
        const int every = stage == 2 ? 241 : 201;
        ASSERT_GE(ticks.size(), 3u) << stage;
        EXPECT_EQ(ticks[0], 202) << stage;
        EXPECT_EQ(ticks[1] - ticks[0], every) << stage;
        EXPECT_EQ(ticks[2] - ticks[1], every) << stage;
    }
}

TEST_F(HutTest, OnlyAnExplodingGrenadeOfTheHeroDestroysIt) {
    const struct { int owner, explota, dx, dy; bool destroys; } cases[] = {
        {GRANADA_HERO, 1, 0, 0, true},
        {GRANADA_HERO, 0, 0, 0, false},  // still in flight: it passes over
        {GRANADA_ENEMY, 1, 0, 0, false},
        {GRANADA_CANNON, 1, 0, 0, false},
        // The boxes: the hut's (x + 14, y + 20, 20 x 20), the grenade's
        // (x + 2, y + 2, 20 x 16); edges that touch count.
        {GRANADA_HERO, 1, 20, 0, true},
        {GRANADA_HERO, 1, 21, 0, false},
        {GRANADA_HERO, 1, -20, 0, true},
        {GRANADA_HERO, 1, -21, 0, false},
        {GRANADA_HERO, 1, 0, 20, true},
        {GRANADA_HERO, 1, 0, 21, false},
        {GRANADA_HERO, 1, 0, -16, true},
        {GRANADA_HERO, 1, 0, -17, false},
    };
    for (const auto& c : cases) {
        HutList->Clear();
        ShotList->Clear();
        auto& sounds = LogSounds();
        auto hut = Make(400, 4);
        BurstAt(*hut, c.dx, c.dy, c.owner, c.explota);
        Score = 0;
        UpdateHuts();
        EXPECT_EQ(hut->estado, c.destroys ? HUT_DESTROYED : HUT_STANDING) << c.owner << " " << c.dx << " " << c.dy;
        EXPECT_EQ(Score, c.destroys ? 1000 : 0);
        EXPECT_EQ(sounds.played, c.destroys ? std::vector<std::string>{"SND4"} : std::vector<std::string>{});
    }

    // Bullets never harm a hut.
    HutList->Clear();
    ShotList->Clear();
    auto hut = Make(400, 6);
    auto bullet = plat::New<T_Bala>();
    bullet->owned = BALA_HERO;
    bullet->x = hut->x + 20;
    bullet->y = hut->y + 30;
    ShotList->AddLast(bullet);
    UpdateHuts();
    EXPECT_EQ(hut->estado, HUT_STANDING);
}

TEST_F(HutTest, ADestroyedHutFiresItsDueShotThenNothingAndIsNotDrawn) {
    auto& sounds = LogSounds();
    auto hut = Make(400, 6);
    hut->bala_delay = -0.5f;
    BurstAt(*hut, 0, 0);
    Score = 0;
    UpdateHuts();
    EXPECT_EQ(hut->estado, HUT_DESTROYED);
    EXPECT_EQ(HutShots().size(), 1u);  // the shot due on this tick still leaves
    EXPECT_FLOAT_EQ(hut->bala_delay, 199.0f);
    // The burst goes on, but a destroyed hut is inert: no score, no sound,
    // no shot and no time.
    for (int i = 0; i < 400; ++i) UpdateHuts();
    EXPECT_EQ(Score, 1000);
    EXPECT_EQ(sounds.played.size(), 1u);
    EXPECT_EQ(HutShots().size(), 1u);
    EXPECT_FLOAT_EQ(hut->bala_delay, 199.0f);
    for (const auto& call : RecordFrame()) EXPECT_NE(call.image, HutImage.get());
}

TEST_F(HutTest, AHutOutOfViewKeepsFiringAndIsNeverRemoved) {
    Stage = 1;
    auto above = Make(200, 4);  // far above the view
    auto below = Make(600, 6);  // below it
    int fired = 0;
    for (int t = 1; t <= 1000; ++t) {
        Tick();
        // Each shot is made by the hut pass and dropped by the next tick's
        // bullet pass, being outside the field.
        fired += static_cast<int>(HutShots().size());
    }
    EXPECT_EQ(fired, 2 * 4);
    EXPECT_EQ(HutList->Count(), 2);
    EXPECT_TRUE(HutList->Contains(above));
    EXPECT_TRUE(HutList->Contains(below));
}

// The areas' own huts on the real maps: they fire from the start of their
// window, and a grenade thrown from below bursts on a hut and destroys it.
TEST_F(PlayTest, AreasTwoAndSixHaveHutsThatFireAndDieToGrenades) {
    const struct { int level, view; std::vector<std::pair<int, int>> huts; } areas[] = {
        {2, 400, {{512, 4}, {345, 6}, {240, 4}}},
        {6, 1480, {{1576, 4}, {1512, 6}, {1416, 4}, {1328, 6}}},
    };
    for (const auto& a : areas) {
        StartArea(a.level);
        Frame();
        GodMode = 1;
        ViewTop = a.view;
        std::vector<std::pair<int, int>> made;
        for (const auto& o : *HutList)
            if (auto hut = plat::As<T_Caseta>(o)) made.emplace_back(hut->py_creado, hut->lugar);
        EXPECT_EQ(made, a.huts) << a.level;

        // The first hut: the hero stands below its middle, 80 rows further
        // down than the grenade climbs, and throws.
        auto hut = plat::As<T_Caseta>(HutList->First());
        Hero->x = hut->x + 14 + 2;
        Hero->y = hut->y + 20 + 80;
        Hero->y_old = static_cast<int>(Hero->y);
        std::set<const T_Bala*> shots;
        for (int t = 0; t < 202; ++t) {
            Tick();
            Frame();
            for (const auto& o : *ShotList)
                if (auto b = plat::As<T_Bala>(o); b && b->owned == BALA_HUT) shots.insert(b.get());
        }
        EXPECT_EQ(shots.size(), a.huts.size()) << a.level;  // one each, in view or not
        const int score = Score;
        Press(GrenadeKeys[1]);
        for (int t = 0; t < 400 && hut->estado == HUT_STANDING; ++t) {
            Tick();
            Frame();
        }
        EXPECT_EQ(hut->estado, HUT_DESTROYED) << a.level;
        EXPECT_EQ(Score, score + 1000);
        EXPECT_EQ(HutList->Count(), static_cast<int>(a.huts.size()));
    }
}

}  // namespace
}  // namespace playtest
