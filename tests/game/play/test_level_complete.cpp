// The area-complete screen: the two lines by area, typed a letter every 21
// ticks, the two seconds on the clock after the second line while the ticks
// go on, and the start of the next area with the bonus (area 8 -> area 1 at
// stage 9); Escape does nothing.

#include <tuple>

#include "framework/screen.h"
#include "tests/game/play/fixture.h"

namespace playtest {
namespace {

using namespace game;

class CompleteTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        screen_ = plat::New<TLevelCompleteScreen>();
        LevelCompleteScreen = screen_;
    }
    // Entered as the hero leaves `level` at the top.
    void Enter(int level, int stage) {
        Level = level;
        Stage = stage;
        LevelStartKind = SCREEN_LEVEL;
        screen_->PreStart();
    }
    // One tick as the shell runs it (its keys too), and a frame.
    void Step() {
        fw::Delta = 1.0f;
        fw::Game->DoPeekEvent();
        fw::Game->ReadKeys();
        fw::Game->CurrentTScreen->Logic();
        if (fw::Game->CurrentTScreen == screen_) screen_->Draw();
        clock_->Advance(5);
    }
    // Ticks until the level screen has started (or `limit` ticks).
    int UntilNextArea(int limit = 5000) {
        int ticks = 0;
        while (fw::Game->CurrentTScreen == screen_ && ticks < limit) {
            Step();
            ++ticks;
        }
        return ticks;
    }
    plat::Ref<TLevelCompleteScreen> screen_;
};

TEST_F(CompleteTest, TheLinesOfEachArea) {
    const struct {
        int level;
        const char *first, *second;
    } texts[] = {
        {1, "BROKE THE 1ST AREA", "NOW RUSH TO THE 2ND AREA"}, {5, "BROKE THE 1ST AREA", "NOW RUSH TO THE 2ND AREA"},
        {2, "BROKE THE 2ND AREA", "NOW RUSH TO THE 3RD AREA"}, {6, "BROKE THE 2ND AREA", "NOW RUSH TO THE 3RD AREA"},
        {3, "BROKE THE 3RD AREA", "NOW RUSH TO THE LAST AREA"}, {7, "BROKE THE 3RD AREA", "NOW RUSH TO THE LAST AREA"},
        {4, "  CONGRATULATIONS", "YOUR FIRST DUTY FINISHED"}, {8, "  CONGRATULATIONS", "YOUR EVERY DUTY FINISHED"},
    };
    for (const auto& t : texts) {
        Enter(t.level, 1);
        EXPECT_EQ(screen_->text1, t.first) << t.level;
        EXPECT_EQ(screen_->text2, t.second) << t.level;
        EXPECT_EQ(screen_->posiciontexto, 1);
        EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1);
    }
    // Any other area keeps the lines of the last visit.
    Enter(9, 1);
    EXPECT_EQ(screen_->text2, "YOUR EVERY DUTY FINISHED");
}

TEST_F(CompleteTest, ALetterEveryTwentyOneTicksThenTwoSecondsThenTheNextArea) {
    Enter(1, 1);
    const int first = static_cast<int>(screen_->text1.size());
    const int second = static_cast<int>(screen_->text2.size());
    // The ticks on which each line shows a letter more.
    std::vector<int> steps[2];
    int t = 0;
    for (; !screen_->linea2_escrita && t < 3000; ++t) {
        const int line = screen_->linea1_escrita;
        const int pos = screen_->posiciontexto;
        Step();
        if (screen_->linea1_escrita == line && screen_->posiciontexto > pos) steps[line].push_back(t);
    }
    ASSERT_EQ(screen_->linea2_escrita, 1);
    // Every letter of both lines, one every 21 ticks.
    EXPECT_EQ(static_cast<int>(steps[0].size()), first);
    EXPECT_EQ(static_cast<int>(steps[1].size()), second);
    for (const auto& line : steps)
        for (std::size_t i = 1; i < line.size(); ++i) EXPECT_EQ(line[i] - line[i - 1], 21) << i;
    EXPECT_NEAR(t, 21 * (first + second - 2), 6);  // the first letter of a line comes at once
    // The screen keeps ticking on the finished text: 399 more ticks (1995
    // ms) stay, the 400th moves on.
    const int startScore = Score = 1234;
    for (int i = 0; i < 399; ++i) Step();
    EXPECT_EQ(fw::Game->CurrentTScreen, screen_);
    EXPECT_EQ(Level, 1);
    Step();
    EXPECT_EQ(fw::Game->CurrentTScreen, LevelScreen);
    EXPECT_EQ(Level, 2);
    EXPECT_EQ(Stage, 2);
    EXPECT_EQ(Score, startScore + 5000);
    EXPECT_EQ(LevelStartKind, SCREEN_AREA_COMPLETE);
    // The level screen started area 2 at its bottom with a new hero.
    EXPECT_EQ(ViewTop, (GameMap->mapheight - 2) * GameMap->mapblockheight - 160);
    EXPECT_EQ(Hero->estado, HERO_ENTERING);
    EXPECT_EQ(HutList->Count(), 3);  // area 2's huts
}

// The first line is typed at (80, 100), every prefix over the last; then
// it stands whole there while the second is typed at (58, 116); then both
// stand whole.
TEST_F(CompleteTest, TheLinesAreTypedAtTheirPlaces) {
    auto font = plat::New<RecordingFont>();
    const auto saved = BitmapFont;
    BitmapFont = font;
    Enter(2, 1);
    const std::string first = screen_->text1, second = screen_->text2;
    using Written = std::tuple<std::string, float, float>;
    auto frame = [&] {
        font->texts.clear();
        screen_->Draw();
        std::vector<Written> out;
        for (const auto& t : font->texts) {
            EXPECT_EQ(std::make_pair(t.h, t.v), std::make_pair(0, 2)) << t.text;
            out.emplace_back(t.text, t.x, t.y);
        }
        return out;
    };
    EXPECT_EQ(frame(), (std::vector<Written>{{"B", 80, 100}}));
    while (!screen_->linea1_escrita) Step();
    while (screen_->posiciontexto < 4) Step();
    EXPECT_EQ(frame(), (std::vector<Written>{{first, 80, 100}, {second.substr(0, 4), 58, 116}}));
    while (!screen_->linea2_escrita) Step();
    EXPECT_EQ(frame(), (std::vector<Written>{{first, 80, 100}, {second, 58, 116}}));
    BitmapFont = saved;
}

TEST_F(CompleteTest, AfterAreaEightComesAreaOneAtStageNine) {
    Score = 100;
    Enter(8, 8);
    EXPECT_LT(UntilNextArea(), 5000);
    EXPECT_EQ(Level, 1);
    EXPECT_EQ(Stage, 9);
    EXPECT_EQ(Score, 5100);
    EXPECT_EQ(fw::Game->CurrentTScreen, LevelScreen);
    // After area 4 comes area 5.
    Enter(4, 4);
    UntilNextArea();
    EXPECT_EQ(Level, 5);
    EXPECT_EQ(Stage, 5);
}

TEST_F(CompleteTest, EscapeDoesNothing) {
    Enter(3, 3);
    for (int i = 0; i < 30; ++i) {
        if (i % 10 == 0) Press(plat::KEY_ESCAPE);
        Step();
    }
    EXPECT_EQ(fw::Game->CurrentTScreen, screen_);
    EXPECT_FALSE(fw::Game->DestinationTScreen && fw::Game->DestinationTScreen != screen_);
    EXPECT_EQ(fw::Game->GameFade->Active, 0);
    UntilNextArea();  // it still goes on
    EXPECT_EQ(Level, 4);
}

}  // namespace
}  // namespace playtest
