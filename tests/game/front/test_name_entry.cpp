// The name entry: letters shot with the crosshair or typed, the control
// characters, the edge cases of the name, the table it writes; and the
// status line texts, both drawn through a font that records what it writes.

#include <tuple>

#include "framework/highscore.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class EntryTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        font_ = plat::New<RecordingFont>();
        saved_ = BitmapFont;
        BitmapFont = font_;
        for (int i = 0; i < 8; ++i) fw::Game->HighScores->Add("OLD" + std::to_string(i), 8000 - 1000 * i, 2);
        Score = 4500;
        Level = 6;
        RecordsEntryScreen->PreStart();
        fw::Game->DestinationTScreen = nullptr;
    }
    void TearDown() override {
        BitmapFont = saved_;
        PlayTest::TearDown();
    }
    void EntryTick() {
        fw::Delta = 1.0f;
        fw::Game->DoPeekEvent();
        RecordsEntryScreen->Logic();
        clock_->Advance(5);
    }
    void Run(int ticks) {
        for (int i = 0; i < ticks; ++i) EntryTick();
    }
    TIntroducirRecordsScreen& E() { return *RecordsEntryScreen; }
    // Fires at the character under the crosshair and waits for the bullet.
    void Shoot() {
        Press(FireKeys[1]);
        EntryTick();
        ASSERT_EQ(E().Bala->Bala_activa, 1);
        for (int i = 0; i < 200 && E().Bala->Bala_activa; ++i) EntryTick();
        ASSERT_EQ(E().Bala->Bala_activa, 0);
    }
    // Moves one grid step with a single press, then lets the glide finish.
    void Step(int key) {
        Hold(key);
        EntryTick();
        Release(key);
        Run(40);
    }
    std::string NameLine() {
        font_->texts.clear();
        E().Draw();
        for (const auto& t : font_->texts)
            if (t.x == 120 && t.y == 50) return t.text;
        return "?";
    }
    plat::Ref<RecordingFont> font_;
    plat::Ref<TBitmapFont2> saved_;
};

TEST_F(EntryTest, LettersAreShotWithTheCrosshair) {
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, "A");
    EXPECT_EQ(NameLine(), "........;");
    Shoot();
    EXPECT_EQ(E().nombre, "A");
    EXPECT_EQ(E().anim_letra_activa, 1);
    Step(RightKeys[1]);
    EXPECT_EQ(E().Punto_de_mira->x, 89);
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, "B");
    EXPECT_EQ(E().anim_letra_activa, 0);  // moving ends the flash
    Shoot();
    EXPECT_EQ(NameLine(), "AB......;");
    Step(DownKeys[1]);
    Step(DownKeys[1]);
    EXPECT_EQ(E().Punto_de_mira->y, 101);
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, "V");
    Step(DownKeys[1]);  // the grid's edge: nothing moves
    EXPECT_EQ(E().Punto_de_mira->y, 101);
    // The ":" deletes, the ";" confirms.
    for (int i = 0; i < 7; ++i) Step(RightKeys[1]);
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, ":");
    Shoot();
    EXPECT_EQ(E().nombre, "A");
    Step(RightKeys[1]);
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, ";");
    Shoot();
    EXPECT_EQ(fw::Game->DestinationTScreen, HighScoresScreen);
    EXPECT_EQ(table_->starts, 1);
    EXPECT_EQ(LevelStartKind, 7);
    const auto rows = fw::Game->HighScores->ToArray();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[4]->name, "A");
    EXPECT_EQ(rows[4]->score, 4500);
    EXPECT_EQ(rows[4]->level, 0) << "no area is stored, whichever was reached";
    EXPECT_EQ(rows[7]->name, "OLD6");  // the old lowest row made room
}

TEST_F(EntryTest, TheFireButtonWaitsWhileADirectionIsHeldOrABulletFlies) {
    // A diagonal moves nothing and keeps the direction: no shot.
    Hold(UpKeys[1]);
    Hold(RightKeys[1]);
    Press(FireKeys[1]);
    EntryTick();
    EXPECT_EQ(Direction, 3);
    EXPECT_EQ(E().Bala->Bala_activa, 0);
    Release(UpKeys[1]);
    Release(RightKeys[1]);
    EntryTick();
    Shoot();
    EXPECT_EQ(E().nombre, "A");
    // A second press during the flight is ignored.
    Press(FireKeys[1]);
    EntryTick();
    const float y = E().Bala->y;
    Press(FireKeys[1]);
    EntryTick();
    EXPECT_LT(E().Bala->y, y);  // the same bullet flies on
    Run(200);
    EXPECT_EQ(E().nombre, "AA");
}

TEST_F(EntryTest, TheFireButtonDoesNothingWhileAStraightDirectionIsHeld) {
    // The held direction nudges the crosshair, which resets Direction within
    // the same tick: at the grid's edge (up, left from the start) and away
    // from it (down, right).  Neither that tick nor the glide after it fires.
    for (int key : {UpKeys[1], LeftKeys[1], DownKeys[1], RightKeys[1]}) {
        SCOPED_TRACE(key);
        Hold(key);
        Press(FireKeys[1]);
        EntryTick();
        EXPECT_EQ(E().Bala->Bala_activa, 0);
        Release(key);
        for (int i = 0; i < 40; ++i) {
            EntryTick();
            EXPECT_EQ(E().Bala->Bala_activa, 0) << "tick " << i;
        }
        EXPECT_EQ(E().Puedo_usar_input, 1);
    }
    EXPECT_EQ(E().nombre, "");
    Shoot();  // with nothing held the same button shoots
    EXPECT_EQ(E().nombre, "L");
}

TEST_F(EntryTest, HoldingLeftMovesOneColumnPerGlide) {
    E().Punto_de_mira->x = E().Punto_de_mira->xfinal = 217;
    // A nudge, a tick to choose the next column, 31 ticks of glide.
    for (int i = 0; i < 3 * 33; ++i) {
        Hold(LeftKeys[1]);  // the keyboard's auto-repeat
        EntryTick();
    }
    EXPECT_FLOAT_EQ(E().Punto_de_mira->x, 169);
    Release(LeftKeys[1]);
    EntryTick();
    EXPECT_EQ(E().Punto_de_mira->letra_senyalada, "G");
    EXPECT_EQ(E().Puedo_usar_input, 1);
}

// The crosshair (cell 20 of the second enemy sheet) over the letter, the
// hero below it at row 152 walking along with it (his cell follows every 8
// pixels: 0, 1, 2, 0 ...), and the flying bullet, a 2 x 2 rectangle.
TEST_F(EntryTest, CrosshairHeroAndBulletAreDrawnWhereTheyAre) {
    struct Drawn {
        const plat::TImage* image;
        int cell;
        float x, y;
        bool operator==(const Drawn&) const = default;
    };
    auto draw = [&] {
        std::vector<Drawn> images, rects;
        plat::StartRecording();
        plat::ClearRecordedCalls();
        E().Draw();
        for (const auto& c : plat::RecordedCalls()) {
            if (c.kind == plat::DrawRecord::IMAGE) images.push_back({c.image, c.frame, c.x, c.y});
            if (c.kind == plat::DrawRecord::RECT) {
                rects.push_back({nullptr, 0, c.x, c.y});
                EXPECT_EQ(std::make_pair(c.w, c.h), std::make_pair(2.0f, 2.0f));
            }
        }
        plat::StopRecording();
        return std::make_pair(images, rects);
    };
    const plat::TImage* crosshair = EnemyCImage.get();
    const plat::TImage* hero = HeroImage.get();
    auto [images, rects] = draw();
    EXPECT_EQ(images, (std::vector<Drawn>{{crosshair, 20, 73, 69}, {hero, 0, 73, 152}}));
    EXPECT_TRUE(rects.empty()) << "no bullet before a shot";

    // Gliding right: the hero's cell steps with the crosshair's x.
    Hold(RightKeys[1]);
    EntryTick();
    Release(RightKeys[1]);
    const std::pair<float, int> along[] = {{81, 1}, {88.5f, 1}, {89, 2}};
    for (const auto& [x, cell] : along) {
        while (E().Punto_de_mira->x < x) EntryTick();
        EXPECT_FLOAT_EQ(E().Punto_de_mira->x, x);
        std::tie(images, rects) = draw();
        EXPECT_EQ(images, (std::vector<Drawn>{{crosshair, 20, x, 69}, {hero, cell, x, 152}})) << x;
    }
    Run(10);

    // Fired: the bullet leaves at (crosshair x + 12, 146) and climbs.
    Press(FireKeys[1]);
    EntryTick();
    std::tie(images, rects) = draw();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_FLOAT_EQ(rects[0].x, 89 + 12);
    EXPECT_FLOAT_EQ(rects[0].y, 146);  // made after this tick's flight
    Run(20);
    std::tie(images, rects) = draw();
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_FLOAT_EQ(rects[0].y, 126);
}

TEST_F(EntryTest, TypedNamesAndTheirEdgeCases) {
    for (int key : std::vector<int>{plat::KEY_BACKSPACE, 'V', 'E', plat::KEY_SPACE, 'L', plat::KEY_NUMDIVIDE,
                                    'M', 'A', 'R', 'O', 'K'}) {
        Press(key);
        EntryTick();
    }
    EXPECT_EQ(E().nombre, "VE.L/MAR");  // a ninth character is refused
    EXPECT_EQ(NameLine(), "VE.L/MAR;");
    Press(plat::KEY_DELETE);
    EntryTick();
    EXPECT_EQ(E().nombre, "VE.L/MA");
    Press('1');  // not a name character
    EntryTick();
    EXPECT_EQ(E().nombre, "VE.L/MA");
    Press(plat::KEY_ENTER);
    EntryTick();
    EXPECT_EQ(fw::Game->DestinationTScreen, HighScoresScreen);
    EXPECT_EQ(fw::Game->HighScores->ToArray()[4]->name, "VE.L/MA");
}

TEST_F(EntryTest, AShotNinthLetterFlashesButIsNotAdded) {
    for (int key : {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}) {
        Press(key);
        EntryTick();
    }
    Shoot();
    EXPECT_EQ(E().nombre, "ABCDEFGH");
    EXPECT_EQ(E().anim_letra_activa, 1);
    // The flash shows the frames of "A" in A's place, and the tile is left out.
    font_->texts.clear();
    E().Draw();
    int plainA = 0, flash = 0;
    for (const auto& t : font_->texts) {
        if (t.text == "A" && t.x == 80 && t.y == 74) ++flash;
        if (t.text == "B" && t.x == 96) ++plainA;
    }
    EXPECT_EQ(flash, 1);
    EXPECT_EQ(plainA, 1);
    // The whole flash takes 28 frames of 26 ticks.
    int ticks = 0;
    while (E().anim_letra_activa && ticks < 2000) {
        EntryTick();
        ++ticks;
    }
    EXPECT_NEAR(ticks, 28 * 26, 27);
}

TEST_F(EntryTest, AnEmptyNameIsStoredEmptyAndDeletingNothingDoesNothing) {
    Press(plat::KEY_BACKSPACE);
    EntryTick();
    EXPECT_EQ(E().nombre, "");
    Press(plat::KEY_ENTER);
    EntryTick();
    EXPECT_EQ(fw::Game->HighScores->ToArray()[4]->name, "");
}

TEST_F(EntryTest, QualifyingAndTheTableThatMakesRoom) {
    auto& table = *fw::Game->HighScores;
    Score = 1000;  // equal to the lowest row
    EXPECT_EQ(ScoreQualifiesForTable(), 1);
    Score = 999;
    EXPECT_EQ(ScoreQualifiesForTable(), 0);
    // A short or empty table has room for any score, and keeps its rows.
    table.Clear();
    EXPECT_EQ(ScoreQualifiesForTable(), 1);
    table.Add("ONE", 5000, 1);
    Score = 10;
    EXPECT_EQ(ScoreQualifiesForTable(), 1);
    Press(plat::KEY_ENTER);
    EntryTick();
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.ToArray()[0]->name, "ONE");
    // And the table was written.
    auto reread = plat::New<fw::THighScoreList>();
    reread->Create((root_ / "home" / "velmarok").string(), 8);
    EXPECT_EQ(reread->Load(), 2);
}

// --- the status line --------------------------------------------------------------

class StatusTest : public EntryTest {};

TEST_F(StatusTest, TheLineShowsScoreGrenadesMenAndTheHighScore) {
    auto map = MakeMap(60);
    StartOnMap(map, 1);
    const struct { int score, grenades, lives, hi; std::vector<std::string> texts; } cases[] = {
        {0, 5, 5, 10000, {"SCORE 0000000", "<=05", "MEN 05", "HI 0010000"}},
        {300, 9, 10, 12345678, {"SCORE 0000300", "<=09", "MEN 10", "HI 12345678"}},
        {12345678, 99, 1, 0, {"SCORE 12345678", "<=99", "MEN 01", "HI 0000000"}},
    };
    for (const auto& c : cases) {
        Score = c.score;
        Grenades = c.grenades;
        Lives = c.lives;
        HiScore = c.hi;
        font_->texts.clear();
        Frame();
        ASSERT_EQ(font_->texts.size(), 4u);
        const float xs[] = {3, 122, 170, 238};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(font_->texts[i].text, c.texts[i]);
            EXPECT_FLOAT_EQ(font_->texts[i].x, xs[i]);
            EXPECT_FLOAT_EQ(font_->texts[i].y, 196);
            EXPECT_EQ(font_->texts[i].h, TBitmapFont2::L_JUSTIFY);
            EXPECT_EQ(font_->texts[i].v, TBitmapFont2::T_JUSTIFY);
        }
    }
}

// The real table screen lets the name entry go as it starts, in the middle
// of the entry's own tick: the tick must come out of it cleanly.
TEST_F(EntryTest, ConfirmingIntoTheRealTableReleasesTheEntryMidTick) {
    HighScoresScreen = plat::New<THighScoresScreen>();
    for (int i = 0; i < 9; ++i) Step(RightKeys[1]);
    Step(DownKeys[1]);
    Step(DownKeys[1]);
    ASSERT_EQ(E().Punto_de_mira->letra_senyalada, ";");
    Press(FireKeys[1]);
    EntryTick();
    for (int i = 0; i < 200 && fw::Game->DestinationTScreen == nullptr; ++i) EntryTick();
    EXPECT_EQ(fw::Game->DestinationTScreen, HighScoresScreen);
    EXPECT_EQ(fw::Game->CurrentTScreen, HighScoresScreen);
    EXPECT_FALSE(E().Punto_de_mira);
    EXPECT_FALSE(E().Bala);
    EXPECT_EQ(fw::Game->HighScores->ToArray()[4]->score, 4500);
    // Further ticks and frames of the released entry do nothing.
    EntryTick();
    E().Draw();

    // And by the keyboard.
    fw::Game->DestinationTScreen = nullptr;
    RecordsEntryScreen->PreStart();
    Press('Z');
    EntryTick();
    Press(plat::KEY_ENTER);
    EntryTick();
    EXPECT_EQ(fw::Game->DestinationTScreen, HighScoresScreen);
    EXPECT_FALSE(E().Bala);
}

}  // namespace
}  // namespace playtest
