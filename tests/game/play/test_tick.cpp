// The level screen: start, the order of the passes of a tick and of the
// draw, scrolling, extra lives, Escape, the gate and the hut windows.

#include <algorithm>

#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/fires.h"
#include "game/play/pickups.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

TEST_F(PlayTest, StartPlacesTheViewAtTheBottomAndTheHeroEntersOnTheFirstFrame) {
    StartArea(1);
    EXPECT_EQ(GameMap->mapheight, 196);
    EXPECT_EQ(ViewTop, (196 - 2) * 8 - 160);
    ASSERT_TRUE(Hero);
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_FLOAT_EQ(Hero->x, 130.0f);
    EXPECT_FLOAT_EQ(Hero->y, static_cast<float>(ViewTop + 124));
    EXPECT_EQ(Lives, 5);
    EXPECT_EQ(Grenades, 5);
    EXPECT_EQ(Direction, 2);
    EXPECT_EQ(fw::Game->CurrentTScreen, LevelScreen);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1);

    // The first tick reads no input and does not move him.
    Hold(plat::KEY_LEFT);
    const float y0 = Hero->y, x0 = Hero->x;
    Tick();
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_FLOAT_EQ(Hero->x, x0);
    EXPECT_FLOAT_EQ(Hero->y, y0);
    Frame();
    EXPECT_EQ(Hero->estado, HERO_PLAYING);
    Tick();
    EXPECT_EQ(Direction, 4);
    EXPECT_FLOAT_EQ(Hero->x, x0 - 0.5f);
}

TEST_F(PlayTest, ANewGameResetsTheGameButTheNextAreaKeepsIt) {
    Score = 1234;
    Lives = 2;
    Grenades = 0;
    // The area ended with his grenade in the air.
    PutGrenade(100, 100, GRANADA_HERO, 0);
    GrenadeReady = 0;
    StartArea(3);  // as the area-complete screen starts it
    EXPECT_EQ(Level, 3);
    EXPECT_EQ(Score, 1234);
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(Grenades, 0);
    EXPECT_EQ(CountGrenades(), 0);
    EXPECT_EQ(GrenadeReady, 1) << "the grenade went with the area, throwing did not";
    StartArea(1);  // a new game from the title
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Lives, 5);
    EXPECT_EQ(Grenades, 5);
    EXPECT_EQ(GrenadeReady, 1);
    EXPECT_EQ(title_->kills, 1);  // the title screen is let go for a new game
}

TEST_F(PlayTest, TheRunResetLeavesNothingOfAPlayedGame) {
    // What a game, a key redefinition and the level script leave behind.
    StartArea(2);
    Score = 45000;
    Lives = 1;
    HiScore = 50000;
    ExtraLifeStep = 1;
    GodMode = 1;
    ControlMode = 1;
    FireKeys[1] = plat::KEY_SPACE;
    Direction = DIR_LEFT;
    KidnappersDown = 2;
    GateNextKind = ENEMY_GRENADIER;
    LastGateSpawnMs = 123456;
    GateWaveCounter = -9;
    SpawnMarkers.fill(-3);
    TopClock = 99;

    ResetRunState();
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Lives, 5);
    EXPECT_EQ(Grenades, 5);  // god mode is off again before the grenades are counted
    EXPECT_EQ(HiScore, 10000);
    EXPECT_EQ(ExtraLifeStep, 30000);
    EXPECT_EQ(NextExtraLife, 30000);
    EXPECT_EQ(GodMode, 0);
    EXPECT_EQ(ControlMode, 0);
    EXPECT_EQ(FireKeys[1], plat::KEY_LCONTROL);
    EXPECT_EQ(Direction, DIR_NONE);
    EXPECT_EQ(LastDirection, DIR_UP);
    EXPECT_FALSE(Hero);
    EXPECT_EQ(KidnappersDown, 0);
    EXPECT_EQ(GateNextKind, ENEMY_RUNNER);
    EXPECT_EQ(LastGateSpawnMs, 0);
    EXPECT_EQ(GateWaveCounter, -1);
    EXPECT_EQ(std::count(SpawnMarkers.begin(), SpawnMarkers.end(), 0), 20);  // all 20, not only 0..15
    EXPECT_EQ(TopClock, 0);

    // A new game resets only the game; the script's carry-over stays.
    GateNextKind = ENEMY_GRENADIER;
    HiScore = 50000;
    Score = 7;
    ResetNewGame();
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(HiScore, 50000);
    EXPECT_EQ(GateNextKind, ENEMY_GRENADIER);
}

// Actors that only note that their list's pass reached them.
class NotingSoldier : public T_Enemigo {
public:
    NotingSoldier(std::vector<std::string>& order, std::string name) : order_(order), name_(std::move(name)) {}
    void m_Update_enemigo() override { order_.push_back(name_); }

private:
    std::vector<std::string>& order_;
    std::string name_;
};
// A bullet that notes whether the level script has sent this tick's idle
// grenadier when the bullet pass reaches it.
class NotingBullet : public T_Bala {
public:
    explicit NotingBullet(std::vector<std::string>& order) : order_(order) {}
    void m_Update_Bala() override {
        bool grenadier = false;
        for (const auto& o : *EnemyList)
            if (auto e = plat::As<T_Enemigo>(o)) grenadier = grenadier || e->estado == ENEMY_GRENADIER;
        order_.push_back(grenadier ? "bullets after spawn" : "bullets");
    }

private:
    std::vector<std::string>& order_;
};
class NotingPack : public T_Pack_Granadas {
public:
    explicit NotingPack(std::vector<std::string>& order) : order_(order) {}
    void m_update_pack_gr() override { order_.push_back("pickups"); }

private:
    std::vector<std::string>& order_;
};
class NotingHut : public T_Caseta {
public:
    explicit NotingHut(std::vector<std::string>& order) : order_(order) {}
    void m_update_caseta() override { order_.push_back("huts"); }

private:
    std::vector<std::string>& order_;
};
class NotingVehicle : public T_Vehiculo_Enemigo {
public:
    explicit NotingVehicle(std::vector<std::string>& order) : order_(order) {}
    void m_update_vehiculos() override { order_.push_back("vehicles"); }

private:
    std::vector<std::string>& order_;
};

TEST_F(PlayTest, TheTickRunsItsPassesInOrder) {
    std::vector<std::string> order;
    // One of each, the vehicle ahead of the soldier in their shared list, and
    // an idle grenadier due from the level script.
    auto actors = [&] {
        LastScrollTime = PlayMilliSecs() - 4000;
        ShotList->AddLast(plat::New<NotingBullet>(order));
        EnemyList->AddLast(plat::New<NotingVehicle>(order));
        EnemyList->AddLast(plat::New<NotingSoldier>(order, "enemies"));
        GuardList->AddLast(plat::New<NotingSoldier>(order, "guards"));
        ShotList->AddLast(plat::New<NotingPack>(order));
        HutList->AddLast(plat::New<NotingHut>(order));
    };

    auto map = MakeMap(100);
    StartOnMap(map, 4);
    actors();
    Frame();
    FireCoolDown = -1;
    Press(FireKeys[1]);
    Tick();
    const int y0 = static_cast<int>(Hero->y + 2);
    EXPECT_EQ(order, (std::vector<std::string>{"bullets after spawn", "enemies", "guards", "pickups", "vehicles"}));
    // The fire buttons' bullet of this tick was moved by the bullet pass.
    int fired = 0;
    for (const auto& o : *ShotList)
        if (auto b = plat::As<T_Bala>(o); b && b->owned == BALA_HERO && b->y < static_cast<float>(y0)) ++fired;
    EXPECT_EQ(fired, 1);

    // Area 1 has no vehicle pass; guards only on areas 4 and 8; huts only in
    // their windows of areas 2 and 6, between the pickups and the vehicles.
    order.clear();
    StartOnMap(map, 1);
    actors();
    Tick();
    EXPECT_EQ(order, (std::vector<std::string>{"bullets after spawn", "enemies", "pickups"}));
    order.clear();
    StartOnMap(map, 2);
    actors();
    ViewTop = 300;
    Tick();
    EXPECT_EQ(order, (std::vector<std::string>{"bullets after spawn", "enemies", "pickups", "huts", "vehicles"}));
}

TEST_F(PlayTest, HutsRunOnlyInsideTheirWindows) {
    auto map = MakeMap(100);
    const struct { int level, view; bool on; } cases[] = {
        {2, 50, false}, {2, 51, true}, {2, 519, true}, {2, 520, false},
        {6, 1075, false}, {6, 1076, true}, {3, 300, false},
    };
    for (const auto& c : cases) {
        StartOnMap(map, c.level);
        if (HutList->IsEmpty()) T_Caseta::f_Create_Caseta(400, 4);
        ViewTop = c.view;
        auto hut = plat::As<T_Caseta>(HutList->First());
        Tick();
        int drawn = 0;
        for (const auto& call : RecordFrame()) drawn += call.image == HutImage.get() ? 1 : 0;
        EXPECT_FLOAT_EQ(hut->bala_delay, c.on ? 199.0f : 200.0f) << c.level << " " << c.view;
        EXPECT_EQ(drawn, c.on ? HutList->Count() : 0) << c.level << " " << c.view;
    }
}

TEST_F(PlayTest, TheViewScrollsOnePixelPerFourTicksOfPushing) {
    auto map = MakeMap(120);
    StartOnMap(map);
    const int top = ViewTop;
    Frame();
    Hold(UpKeys[1]);
    // He walks up from row 124 to row 108 at a quarter pixel per tick; the
    // first push scrolls at once, then every fourth tick.
    int ticks = 0;
    while (ViewTop == top && ticks < 200) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 65);
    EXPECT_EQ(ViewTop, top - 1);
    EXPECT_FLOAT_EQ(Hero->y - static_cast<float>(ViewTop), 108.0f);
    EXPECT_DOUBLE_EQ(LastScrollTime, PlayMilliSecs() - 5.0);
    std::vector<int> steps;
    for (int i = 1; i <= 40; ++i) {
        const int before = ViewTop;
        Tick();
        if (ViewTop != before) steps.push_back(i);
        const float sy = Hero->y - static_cast<float>(ViewTop);
        EXPECT_TRUE(sy > 107.0f && sy <= 108.0f) << sy;
    }
    EXPECT_EQ(steps, (std::vector<int>{4, 8, 12, 16, 20, 24, 28, 32, 36, 40}));

    // At the top the margin is 54 and nothing scrolls any more.
    ViewTop = 1;
    Hero->y = Hero->y_old = 109;
    for (int i = 0; i < 400; ++i) Tick();
    EXPECT_EQ(ViewTop, 0);
    EXPECT_FLOAT_EQ(Hero->y, 54.0f);
}

TEST_F(PlayTest, PlayClockStopsInTheLastThirtyRowsAndTopClockRunsAtTheTop) {
    auto map = MakeMap(120);
    StartOnMap(map);
    ViewTop = 31;
    Tick();
    EXPECT_DOUBLE_EQ(PlayClock, PlayMilliSecs() - 5);
    const double frozen = PlayClock;
    ViewTop = 30;
    Tick();
    EXPECT_DOUBLE_EQ(PlayClock, frozen);
    EXPECT_DOUBLE_EQ(TopClock, 0);
    ViewTop = 0;
    Tick();
    EXPECT_DOUBLE_EQ(TopClock, PlayMilliSecs() - 5);
}

TEST_F(PlayTest, OneExtraLifePerTick) {
    auto map = MakeMap(100);
    StartOnMap(map);
    auto& sounds = LogSounds();
    Score = 65000;
    Tick();
    EXPECT_EQ(Lives, 6);
    EXPECT_EQ(NextExtraLife, 60000);
    Tick();
    EXPECT_EQ(Lives, 7);
    EXPECT_EQ(NextExtraLife, 90000);
    Tick();
    EXPECT_EQ(Lives, 7);
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"SND9", "SND9"})) << "the extra-life sound for each";
}

TEST_F(PlayTest, EscapeReturnsToTheTitleWithoutTheScore) {
    MusicOn();
    StartArea(1);
    Play(3);
    EXPECT_EQ(Music(), "playing");
    Score = 50000;
    Press(plat::KEY_ESCAPE);
    Tick();
    EXPECT_EQ(Music(), "stopped");
    EXPECT_EQ(LevelStartKind, 2);
    EXPECT_EQ(title_->starts, 1);
    EXPECT_EQ(fw::Game->DestinationTScreen, TitleScreen);
    EXPECT_EQ(HiScore, 10000);
    EXPECT_EQ(fw::Game->HighScores->Count(), 0);
}

TEST_F(PlayTest, FireListSurvivesALevelStart) {
    T_Fuego::f_Create_fuego(80, 0);
    ShotList->AddLast(plat::New<T_Bala>());
    auto map = MakeMap(100);
    StartOnMap(map);
    EXPECT_EQ(FireList->Count(), 1);
    EXPECT_EQ(ShotList->Count(), 0);
}

TEST_F(PlayTest, TheDrawPutsLayersActorsAndBarsInOrder) {
    StartArea(1);
    Frame();
    FireCoolDown = -1;
    Press(FireKeys[1]);
    Tick();
    ShotList->AddLast(plat::New<T_Granada>());
    auto g = plat::As<T_Granada>(ShotList->Last());
    g->owned = GRANADA_HERO;
    g->x = 100;
    g->y = static_cast<float>(ViewTop + 50);

    const auto calls = RecordFrame();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().kind, plat::DrawRecord::CLS);

    auto find = [&](auto pred, std::size_t from = 0) {
        for (std::size_t i = from; i < calls.size(); ++i)
            if (pred(calls[i])) return static_cast<long>(i);
        return -1L;
    };
    const long hero = find([](const auto& c) { return c.image == HeroImage.get(); });
    const long bullet = find([](const auto& c) { return c.kind == plat::DrawRecord::RECT && c.w == 2; });
    const long grenade = find([](const auto& c) { return c.image == GrenadeImage.get(); });
    const long bars = find([](const auto& c) {
        return c.kind == plat::DrawRecord::RECT && c.r == 0 && c.w == 320 && c.h == 26;
    });
    ASSERT_GE(hero, 1);
    EXPECT_LT(hero, bullet);
    EXPECT_LT(bullet, grenade);
    EXPECT_LT(grenade, bars);
    // Map tiles are drawn before the hero (layer 0) and between the bullets
    // and the grenades (layer 1 in front of the soldiers).
    const long tile0 = find([](const auto& c) {
        return c.kind == plat::DrawRecord::IMAGE && c.image != HeroImage.get();
    });
    EXPECT_LT(tile0, hero);
    // The hero is drawn at his map row less the view plus the bar height.
    EXPECT_FLOAT_EQ(calls[static_cast<std::size_t>(hero)].y, Hero->y - static_cast<float>(ViewTop) + 26);
    // The bar below the play field, and the colour is white again after.
    const long lower = find([](const auto& c) {
        return c.kind == plat::DrawRecord::RECT && c.r == 0 && c.y == 186 && c.h == 54;
    });
    EXPECT_EQ(lower, bars + 1);
    int r, gg, b;
    plat::GetColor(r, gg, b);
    EXPECT_EQ(r + gg + b, 3 * 255);
}

TEST_F(PlayTest, TheGateSlidesInNearTheTopExceptOnTheFortressAreas) {
    auto map = MakeMap(100);
    const struct { int level, view; const plat::TImage* image; float y; } cases[] = {
        {1, 50, nullptr, 0}, {1, 49, GateClosedImage.get(), -23}, {3, 1, GateClosedImage.get(), 25},
        {1, 0, GateOpenImage.get(), 26}, {4, 10, nullptr, 0}, {8, 0, nullptr, 0},
    };
    for (const auto& c : cases) {
        StartOnMap(map, c.level);
        ViewTop = c.view;
        std::vector<plat::DrawRecord> gates;
        for (const auto& call : RecordFrame())
            if (call.image && (call.image == GateClosedImage.get() || call.image == GateOpenImage.get()))
                gates.push_back(call);
        if (!c.image) {
            EXPECT_TRUE(gates.empty()) << c.level << " " << c.view;
            continue;
        }
        ASSERT_FALSE(gates.empty()) << c.level << " " << c.view;
        EXPECT_EQ(gates[0].image, c.image);
        EXPECT_FLOAT_EQ(gates[0].y, c.y);
        if (c.image == GateOpenImage.get()) {
            ASSERT_EQ(gates.size(), 2u);
            EXPECT_FLOAT_EQ(gates[0].x, 104);
            EXPECT_EQ(gates[0].frame, 0);
            EXPECT_FLOAT_EQ(gates[1].x, 208);
            EXPECT_EQ(gates[1].frame, 1);
        } else {
            EXPECT_FLOAT_EQ(gates[0].x, 120);
        }
    }
}

}  // namespace
}  // namespace playtest
