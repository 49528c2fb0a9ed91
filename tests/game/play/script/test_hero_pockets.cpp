// No place the hero can walk to holds him so that only walking down frees
// him: every place he reaches from the start and every restart of an area is
// found with the game's own hero walking the real map, and a place he walks
// into going up or sideways where Up, Up-left, Up-right, Left and Right all
// fail (or take him less than a block aside) is a pocket.  Shrubs and rocks
// that leave him such a pocket look passable and are not; at the field's
// edges and in one-block gaps he can even be held where no key moves him.
// Nor may any place he reaches strand him: a dead end longer than the view
// keeps him for good once the view has scrolled past its mouth.

#include <sstream>
#include <string>
#include <vector>

#include "game/play/script/area_tables.h"
#include "tests/game/play/fixture.h"
#include "tests/game/play/script/hero_places.h"

namespace playtest {
namespace {

using namespace game;

// The views the hero starts at: the area's start and every restart.
std::vector<int> StartViews(int level) {
    std::vector<int> views{ViewTop};
    for (const auto& band : AreaTablesOf(level).checkpoints) views.push_back(band.view);
    return views;
}

std::string Describe(int level, const HeroPlaces::Pocket& p) {
    std::ostringstream text;
    text << "area " << level << ": the hero at (" << p.x << ", " << p.y << ") (view " << p.view << ") ";
    text << (p.frozen ? "is held where no key moves him" : "is held where only walking down frees him");
    if (p.x0 != p.x1 || p.y0 != p.y1)
        text << "; the pocket runs over x " << p.x0 << ".." << p.x1 << ", y " << p.y0 << ".." << p.y1;
    return text.str();
}

std::string DescribeStranded(int level, const HeroPlaces::Pocket& p) {
    std::ostringstream text;
    text << "area " << level << ": the hero at (" << p.x << ", " << p.y << ") (view " << p.view
         << ") is stranded: no way leads on to the top from x " << p.x0 << ".." << p.x1 << ", y " << p.y0
         << ".." << p.y1;
    return text.str();
}

class HeroPockets : public PlayTest, public ::testing::WithParamInterface<int> {};

TEST_P(HeroPockets, NoPlaceHeWalksToHoldsHimSoThatOnlyDownFreesHim) {
    const int level = GetParam();
    StartArea(level);
    GodMode = 1;  // falling into deadly ground still stops him
    EnemyList->Clear();
    HeroPlaces places;
    places.Find(StartViews(level));
    ASSERT_GT(places.Places(), 100000) << "the search found almost nowhere to walk";
    for (const auto& pocket : places.Pockets()) ADD_FAILURE() << Describe(level, pocket);
    for (const auto& place : places.Stranded()) ADD_FAILURE() << DescribeStranded(level, place);
}

INSTANTIATE_TEST_SUITE_P(Areas, HeroPockets, ::testing::Range(1, 9),
                         [](const auto& info) { return "Area" + std::to_string(info.param); });

// The search on small maps of its own: what is a pocket and what is not.
class PocketSearch : public PlayTest {};

TEST_F(PocketSearch, FindsTheBaysNoWiderThanTheHeroUnderWhatHeCannotPass) {
    // A map of 30 rows (the view starts at 64, the hero at (130, 188)) with
    // solid ground painted on: an overhang over blocks 16..19 of row 10
    // (y 80..87) and two stones in row 11 (y 88..95) whose places vary.
    struct Case {
        const char* name;
        int left, right;  // block columns of the stones under the overhang's ends
        bool pocket;
        float x, y;  // a place of the pocket
    };
    const Case cases[] = {
        // His side probes (x + 2, x + 22) on the stones, his up probes under
        // the overhang: he walks up between them and is held.
        {"stones two blocks apart", 16, 19, true, 130, 72.75f},
        // Left and Right take him three pixels aside, no way up there.
        {"stones three blocks apart", 15, 19, true, 126, 72.75f},
        // Eleven pixels of play: a bay wider than he is.
        {"stones four blocks apart", 15, 20, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto map = MakeMap(30);
        Paint(*map, 120, 80, 48, 8, 1);
        Paint(*map, c.left * 8, 88, 8, 8, 1);
        Paint(*map, c.right * 8, 88, 8, 8, 1);
        StartOnMap(map);
        GodMode = 1;
        HeroPlaces places;
        places.Find({ViewTop});
        const auto pockets = places.Pockets();
        ASSERT_EQ(pockets.size(), c.pocket ? 1u : 0u) << (pockets.empty() ? "" : Describe(1, pockets[0]));
        if (!c.pocket) continue;
        EXPECT_LE(pockets[0].x0, c.x);
        EXPECT_GE(pockets[0].x1, c.x);
        EXPECT_LE(pockets[0].y0, c.y);
        EXPECT_GE(pockets[0].y1, c.y);
        EXPECT_FALSE(pockets[0].frozen);
    }
}

TEST_F(PocketSearch, FindsTheHeroHeldAtTheFieldsEdgeWhereNoKeyMovesHim) {
    // Bushes over blocks 37 and 38 of row 10, block 39 open: he walks up
    // the edge column going up-right until the edge stops him, and there
    // every probe but the right-hand ones lies in the bushes.
    auto map = MakeMap(30);
    Paint(*map, 296, 80, 16, 8, 1);
    StartOnMap(map);
    GodMode = 1;
    HeroPlaces places;
    places.Find({ViewTop});
    const auto pockets = places.Pockets();
    ASSERT_EQ(pockets.size(), 1u);
    EXPECT_EQ(pockets[0].x0, 296.0f);
    EXPECT_EQ(pockets[0].x1, 296.0f);
    EXPECT_TRUE(pockets[0].frozen) << Describe(1, pockets[0]);
}

TEST_F(PocketSearch, FindsTheDeadEndsThatStrandHimOnceTheViewHasScrolledOn) {
    // A map of 80 rows (the view starts at 464, the hero at (130, 588)): a
    // wall at x 224..231 from a row down to y 559 fences a strip along the
    // right edge, closed across its top by a row at y `cap`.  He walks into
    // the strip from below; up it, the view scrolls after him and never
    // comes back, so a strip longer than the view keeps him.
    struct Case {
        const char* name;
        int cap;       // the top of the strip's lid
        bool stranded;
    };
    const Case cases[] = {
        {"a long dead end", 200, true},
        {"a short bay: its mouth stays in view", 528, false},
        {"an open strip", -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto map = MakeMap(80);
        const int wallTop = c.cap < 0 ? 200 : c.cap;
        Paint(*map, 224, wallTop, 8, 560 - wallTop, 1);
        if (c.cap >= 0) Paint(*map, 232, c.cap, 88, 8, 1);
        StartOnMap(map);
        GodMode = 1;
        HeroPlaces places;
        places.Find({ViewTop});
        const auto stranded = places.Stranded();
        ASSERT_EQ(stranded.size(), c.stranded ? 1u : 0u)
            << (stranded.empty() ? "" : DescribeStranded(1, stranded[0]));
        if (!c.stranded) continue;
        EXPECT_GE(stranded[0].x0, 216.0f);                        // in the strip only
        EXPECT_LT(stranded[0].y0, 300.0f);                        // up under its lid
        EXPECT_TRUE(places.Pockets().empty());                    // a bay far wider than he is
    }
}

}  // namespace
}  // namespace playtest
