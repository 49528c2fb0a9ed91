// Grenade packs (collected, capped, blinking, left behind at the bottom) and
// the flames of the burning fortress.

#include <algorithm>

#include "game/play/fires.h"
#include "game/play/pickups.h"
#include "game/play/script/make_actor.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class PickupTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        map_ = MakeMap(100);
        StartOnMap(map_, 3);
        Frame();
        Hero->x = 100;
        Hero->y = static_cast<float>(ViewTop + 100);
    }
    // A pack right under the hero's feet (or offset from them).
    plat::Ref<T_Pack_Granadas> PackAtHero(float dx = 0, float dy = 0) {
        T_Pack_Granadas::f_Create_pack_gr(0, 0);
        auto pack = plat::As<T_Pack_Granadas>(ShotList->Last());
        pack->x = Hero->x + dx;
        pack->y = Hero->y + dy;
        return pack;
    }
    plat::Ref<tilemap::TileMap> map_;
};

TEST_F(PickupTest, APackIsMadeStandingOnItsRow) {
    MakeActor({Creation::pack_gr, 2, {218, ViewTop + 60, 0, 0}, Picker::None});
    auto pack = plat::As<T_Pack_Granadas>(ShotList->Last());
    ASSERT_TRUE(pack);
    EXPECT_FLOAT_EQ(pack->x, 218.0f);
    EXPECT_FLOAT_EQ(pack->y, ViewTop + 39.0f);
    EXPECT_EQ(pack->py_creado, ViewTop + 60);
    const auto calls = RecordFrame();
    const auto cell = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.image == EnemyImage.get(); });
    ASSERT_NE(cell, calls.end());
    EXPECT_EQ(cell->frame, 76);
    EXPECT_FLOAT_EQ(cell->x, 218.0f);
    EXPECT_FLOAT_EQ(cell->y, 39.0f + 26.0f);
    // Drawn under the hero.
    const auto hero = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.image == HeroImage.get(); });
    EXPECT_LT(cell, hero);
}

TEST_F(PickupTest, ItGivesThreeGrenadesButNeverMoreThan99AndAThousandPoints) {
    const struct { int before, after; } cases[] = {{0, 3}, {5, 8}, {95, 98}, {96, 99}, {97, 99}, {98, 99}, {99, 99}};
    for (const auto& c : cases) {
        auto& sounds = LogSounds();
        auto pack = PackAtHero();
        Grenades = c.before;
        Score = 500;
        Tick();
        EXPECT_EQ(Grenades, c.after) << c.before;
        EXPECT_EQ(Score, 1500);
        EXPECT_EQ(sounds.played, std::vector<std::string>{"SND2"});
        EXPECT_FALSE(ShotList->Contains(pack));
        EXPECT_FLOAT_EQ(pack->x, -25.0f);
        EXPECT_FLOAT_EQ(pack->y, -25.0f);
    }
}

TEST_F(PickupTest, TheHeroCollectsItInAnyState) {
    for (int state : {HERO_ENTERING, HERO_SHOT, HERO_FALLEN, HERO_LEAVING, HERO_LEVEL_LEFT, HERO_PLAYING}) {
        GodMode = state == HERO_PLAYING ? 1 : 0;
        Hero->estado = state;
        Hero->x = 100;
        Hero->y = static_cast<float>(ViewTop + 100);
        Grenades = 5;
        PackAtHero(1.5f, -0.5f);
        Tick();
        EXPECT_EQ(Grenades, 8) << state;
    }
}

TEST_F(PickupTest, TheHerosFeetMustReachIt) {
    // Both boxes are (x + 2, y + 2, 20 x 16); edges that touch count.
    const struct { float dx, dy; bool taken; } cases[] = {
        {20, 0, true}, {21, 0, false}, {-20, 0, true}, {-21, 0, false},
        {0, 16, true}, {0, 17, false}, {0, -16, true}, {0, -17, false}, {20.9f, 16.9f, true},
    };
    for (const auto& c : cases) {
        ShotList->Clear();
        Hero->estado = HERO_PLAYING;
        auto pack = PackAtHero(c.dx, c.dy);
        UpdatePickups();
        EXPECT_EQ(!ShotList->Contains(pack), c.taken) << c.dx << " " << c.dy;
    }
}

TEST_F(PickupTest, ItBlinksAndIsLeftBehindAtTheBottom) {
    Hero->x = 280;
    T_Pack_Granadas::f_Create_pack_gr(20, ViewTop + 50);
    auto pack = plat::As<T_Pack_Granadas>(ShotList->Last());
    // Cell 76 for seven steps, then 77 for seven, a step every 13 ticks (the
    // first comes on the second tick).
    std::vector<std::pair<int, int>> runs;  // (cell, ticks shown)
    for (int t = 0; t < 500; ++t) {
        UpdatePickups();
        const int cell = pack->anim_pack_gr[static_cast<std::size_t>(pack->frame)];
        if (runs.empty() || runs.back().first != cell) runs.emplace_back(cell, 0);
        ++runs.back().second;
    }
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0], std::make_pair(76, 79));
    EXPECT_EQ(runs[1], std::make_pair(77, 91));
    EXPECT_EQ(runs[2], std::make_pair(76, 91));
    EXPECT_EQ(runs[3], std::make_pair(77, 91));

    // It stays while its top is at the bottom row of the field, and goes
    // once it is below.
    ViewTop = static_cast<int>(pack->y) - 160;
    UpdatePickups();
    EXPECT_TRUE(ShotList->Contains(pack));
    ViewTop -= 1;
    UpdatePickups();
    EXPECT_FALSE(ShotList->Contains(pack));
}

TEST_F(PlayTest, AFlameChangesCellEveryFortyOneTicks) {
    auto map = MakeMap(100);
    StartOnMap(map, 4);
    ViewTop = 0;
    T_Fuego::f_Create_fuego(44, 54);
    auto fire = plat::As<T_Fuego>(FireList->Last());
    EXPECT_EQ(fire->Image, EnemyImage);
    std::vector<int> changes;
    int cell = 67;
    for (int t = 1; t <= 200; ++t) {
        UpdateFires();
        plat::StartRecording();
        plat::ClearRecordedCalls();
        DrawFires();
        const auto calls = plat::RecordedCalls();
        plat::StopRecording();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_FLOAT_EQ(calls[0].x, 44.0f);
        EXPECT_FLOAT_EQ(calls[0].y, 54.0f + 26.0f);
        if (calls[0].frame != cell) changes.push_back(t);
        cell = calls[0].frame;
        EXPECT_TRUE(cell == 67 || cell == 83);
    }
    EXPECT_EQ(changes, (std::vector<int>{42, 83, 124, 165}));
}

// The fortress on the real map of area 4: the hero reaches the top with the
// gate wave over, walks into the fortress and it burns, in front of the
// map's front layer, until the area-complete screen follows.
TEST_F(PlayTest, TheFortressBurnsAtTheTopOfAreaFour) {
    StartArea(4);
    Frame();
    GodMode = 1;
    ViewTop = 0;
    GateWaveCounter = -16;
    Hero->x = 152;
    Hero->y = 54;
    int ticks = 0;
    while (Hero->estado != HERO_FORTRESS_BURNING && ticks < 2000) {
        Tick();
        Frame();
        ++ticks;
    }
    ASSERT_EQ(Hero->estado, HERO_FORTRESS_BURNING);
    EXPECT_EQ(FireList->Count(), 9);
    // Before the status bars: the map's tiles, then the nine flames.
    const auto calls = RecordFrame();
    long lastTile = -1, firstFlame = -1, flames = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& c = calls[i];
        if (c.kind == plat::DrawRecord::RECT && c.r == 0 && c.w == 320 && c.h == 26) break;
        if (c.kind != plat::DrawRecord::IMAGE) continue;
        if (c.image == EnemyImage.get()) {
            if (firstFlame < 0) firstFlame = static_cast<long>(i);
            ++flames;
        } else {
            lastTile = static_cast<long>(i);
        }
    }
    EXPECT_EQ(flames, 9);
    EXPECT_GT(firstFlame, 0);
    EXPECT_GT(firstFlame, lastTile);
    for (int i = 0; i < 700 && fw::Game->DestinationTScreen == nullptr; ++i) {
        Tick();
        Frame();
    }
    EXPECT_EQ(complete_->starts, 1);
    EXPECT_EQ(fw::Game->DestinationTScreen, LevelCompleteScreen);
    EXPECT_TRUE(FireList->IsEmpty());
}

}  // namespace
}  // namespace playtest
