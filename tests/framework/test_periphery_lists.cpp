// The list box and the scroll bar.

#include <cmath>
#include <string>
#include <vector>

#include "bitmap_font_files.h"
#include "dialog_fixture.h"
#include "framework/fonts.h"
#include "framework/list_box.h"
#include "framework/mouse.h"
#include "framework/shapes.h"
#include "platform/gfx/font.h"
#include "platform/sys/input.h"

namespace {

using periphery::DialogTest;

class ListBoxTest : public DialogTest {
protected:
    // A box at (20, 30), 200 wide, in the default font, with `lines` lines.
    static plat::Ref<fw::TListBox> List(int lines, int limit = 0, float height = 400) {
        auto list = fw::TListBox::Create(10, 5, 0, 1, 500);
        list->SetCoords(20, 30, 200, height);
        list->SetupFont(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, nullptr,
                        fw::TColor::Create(255, 255, 0, 1));
        for (int i = 0; i < lines; ++i) list->Strings.push_back("line " + std::to_string(i));
        list->Limit = limit;
        return list;
    }
    // A click in the middle of visible row `row`.
    static void ClickRow(fw::TListBox& list, int row) {
        Pointer(100, static_cast<int>(list.Box->Y) + row * list.LineHeight + list.LineHeight / 2);
        Press();
        list.Manage();
        Release();
        NextTick();
    }
};

TEST_F(ListBoxTest, LinesAreAsHighAsTheFontAndItsGapsAndTheBoxKeepsWholeLines) {
    auto list = List(3, 0, 100);
    const int font = plat::DefaultFont()->Height();
    EXPECT_EQ(list->LineHeight, font + 10);
    EXPECT_EQ(list->DisplayLines, 100 / (font + 10));
    EXPECT_FLOAT_EQ(list->Box->H, static_cast<float>(list->DisplayLines * list->LineHeight));

    // A font without a measurable glyph and no gaps: lines still have a
    // height, so nothing divides by nothing.
    plat::Ref<plat::TPixmap> sheet;
    const auto glyphs = fontfiles::DefaultFontSheet(sheet, [](int) { return 0xFFFFFFFFu; });
    fontfiles::Write(dir / "font", sheet, glyphs);
    auto bitmap = fw::TBitmapFont::Create(dir / "font", 0, 0, 0);
    bitmap->TestString = "";
    list->Gap = 0;
    list->SetupFont(nullptr, nullptr, nullptr, bitmap, nullptr);
    EXPECT_EQ(list->LineHeight, 1);
    EXPECT_EQ(list->DisplayLines, static_cast<int>(list->Box->H));
}

TEST_F(ListBoxTest, SelectionAndTheViewThatFollowsIt) {
    auto list = List(20, 5);
    struct Case {
        int index, topBefore, selected, top;
        const char* value;
    };
    const Case cases[] = {
        {12, 0, 12, 8, "line 12"},   // below the view: becomes its last line
        {3, 8, 3, 3, "line 3"},      // above it: becomes its first line
        {5, 3, 5, 3, "line 5"},      // inside it: the view stays
        {-1, 3, -1, 3, ""},
        {20, 3, -1, 3, ""},          // past the end: no selection
        {-7, 3, -1, 3, ""},
    };
    for (const Case& c : cases) {
        list->TopIndex = c.topBefore;
        list->SetIndex(c.index);
        EXPECT_EQ(list->Index, c.selected) << c.index;
        EXPECT_EQ(list->TopIndex, c.top) << c.index;
        EXPECT_EQ(list->Value, c.value) << c.index;
    }

    struct Top {
        int count, limit, asked, top;
    };
    const Top tops[] = {{3, 5, 2, 0}, {20, 5, 18, 15}, {20, 5, 4, 4}, {20, 5, -3, 0}, {0, 5, 1, 0}};
    for (const Top& t : tops) {
        auto other = List(t.count, t.limit);
        other->SetTopIndex(t.asked);
        EXPECT_EQ(other->TopIndex, t.top) << t.count << " lines, asked " << t.asked;
    }
    list->SetTopIndex(6);
    EXPECT_EQ(list->GetTempLimit(), 11);
    list->SetTopIndex(15);
    EXPECT_EQ(list->GetTempLimit(), 20);
    list->SetIndex(17);
    EXPECT_EQ(list->GetIndexY(), 30 + 2 * list->LineHeight);
}

TEST_F(ListBoxTest, ClicksSelectAndASecondClickSoonAfterIsADoubleClickReadOnce) {
    auto list = List(8, 5);
    list->ClickSound = click;
    ClickRow(*list, 2);
    EXPECT_EQ(list->Index, 2);
    EXPECT_EQ(list->Value, "line 2");
    EXPECT_EQ(Played(list->ClickChannel), click->sound) << "a selection clicks";
    ClickRow(*list, 2);
    EXPECT_EQ(Played(list->ClickChannel), nullptr) << "the double click is silent";
    EXPECT_EQ(list->GetDoubleClicked(), 2);
    EXPECT_EQ(list->GetDoubleClicked(), -1) << "reported once";
    ClickRow(*list, 2);
    EXPECT_EQ(list->GetDoubleClicked(), -1) << "a third click starts over";
    ClickRow(*list, 2);
    EXPECT_EQ(list->GetDoubleClicked(), 2) << "and a fourth makes a new double click";

    // Too late, or on another line: two single clicks.
    ClickRow(*list, 1);
    Ticks(101, [&] { list->Manage(); });
    ClickRow(*list, 1);
    EXPECT_EQ(list->GetDoubleClicked(), -1);
    ClickRow(*list, 3);
    EXPECT_EQ(list->GetDoubleClicked(), -1);
    EXPECT_EQ(list->Index, 3);

    // The view scrolled by two: rows show lines 2..6.
    list->TopIndex = 2;
    ClickRow(*list, 4);
    EXPECT_EQ(list->Index, 6);
    // The top edge of a row, beside the box, and below the last line shown
    // are no line.
    for (const auto& [x, y] : {std::pair{100, 30}, std::pair{10, 40}, std::pair{100, 30 + 5 * list->LineHeight + 2}}) {
        list->SetIndex(0);
        Pointer(x, y);
        Press();
        list->Manage();
        Release();
        NextTick();
        EXPECT_EQ(list->Index, 0) << x << "," << y;
    }
}

TEST_F(ListBoxTest, ArrowKeysMoveTheSelectionAndRepeatWhileHeld) {
    auto list = List(8);
    fw::KeyTableDown(plat::KEY_DOWN);
    list->Manage();
    EXPECT_EQ(list->Index, 0) << "from no selection Down takes the first line";
    Ticks(79, [&] { list->Manage(); });
    EXPECT_EQ(list->Index, 0) << "held: nothing more for 400 ms";
    list->Manage();
    EXPECT_EQ(list->Index, 1);
    Ticks(20, [&] { list->Manage(); });
    EXPECT_EQ(list->Index, 2) << "then a line every 100 ms";
    Ticks(200, [&] { list->Manage(); });
    EXPECT_EQ(list->Index, 7) << "and no further than the last";
    fw::KeyTableUp(plat::KEY_DOWN);
    list->Manage();
    auto tapUp = [&] {
        fw::KeyTableDown(plat::KEY_UP);
        list->Manage();
        fw::KeyTableUp(plat::KEY_UP);
        list->Manage();
    };
    tapUp();
    EXPECT_EQ(list->Index, 6);
    list->ArrowKeysMoveHighlight = 0;
    tapUp();
    EXPECT_EQ(list->Index, 6);
}

TEST_F(ListBoxTest, DrawsTheBarUnderTheSelectedAndLockedColoursOnlyWhereLocked) {
    auto list = List(6, 4);
    list->LockedColor = fw::TColor::Create(120, 120, 120, 1);
    list->LockedArray = {0, 1, 1};  // lines past the array are not locked
    list->TopIndex = 1;
    list->SetIndex(2);
    list->Draw();
    const auto rects = Calls(plat::DrawRecord::RECT);
    ASSERT_EQ(rects.size(), 2u) << "the box, then the bar";
    EXPECT_EQ(rects[1].b, 150);
    EXPECT_FLOAT_EQ(rects[1].y, 30.0f + static_cast<float>(list->LineHeight));
    EXPECT_FLOAT_EQ(rects[1].h, static_cast<float>(list->LineHeight));
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 4u) << "the four lines shown";
    const std::vector<std::string> shown = {texts[0].text, texts[1].text, texts[2].text, texts[3].text};
    EXPECT_EQ(shown, (std::vector<std::string>{"line 1", "line 2", "line 3", "line 4"}));
    EXPECT_EQ(texts[0].r, 120) << "locked";
    EXPECT_EQ(texts[1].b, 0) << "selected: the inverse colour wins over locked";
    EXPECT_EQ(texts[2].r, 255) << "past the locked entries";
    EXPECT_EQ(texts[3].r, 255);
    EXPECT_FLOAT_EQ(texts[1].x, 30);
    EXPECT_FLOAT_EQ(texts[1].y, 30.0f + 5 + static_cast<float>(list->LineHeight));
}

// --- scroll bar ----------------------------------------------------------------------

class ScrollBarTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        for (const char* name : {"up", "down"}) {
            WritePicture(std::string(name) + ".png", 12, 10);
            WritePicture(std::string(name) + "MO.png", 12, 10);
            WritePicture(std::string(name) + "_disabled.png", 12, 10);
        }
        slider = Picture(10, 20);
    }
    // A vertical bar at (100, 50), 100 long: the 20-pixel slider moves 80.
    plat::Ref<fw::TScrollBar> Bar(double valueMax, int size = 100) const {
        auto bar = fw::TScrollBar::Create(slider, size, valueMax, 100, 50, 1);
        bar->SetArrows("up", "down", 100);
        return bar;
    }
    static int Disabled(const fw::TScrollBar& bar, const std::string& name) {
        return bar.Menu->FindButton(name)->Disabled;
    }
    plat::Ref<fw::TGameImage> slider;
};

TEST_F(ScrollBarTest, PositionsAndValuesStayInRangeWithNothingToDivideBy) {
    auto bar = Bar(8);
    struct Case {
        double asked;
        int position;
    };
    for (const Case c : {Case{4, 40}, Case{8, 80}, Case{20, 80}, Case{-3, 0}, Case{1.5, 15}}) {
        bar->SliderSetPosition(c.asked);
        EXPECT_EQ(bar->SliderPosition, c.position) << c.asked;
        bar->ValueCalc();
        EXPECT_FALSE(std::isnan(bar->ValuePrecise));
        EXPECT_DOUBLE_EQ(bar->ValuePrecise, c.position / 10.0);
    }
    // No values, a negative largest value, a track no longer than the
    // slider: the slider rests at the start with the value 0.
    for (auto& empty : {Bar(0), Bar(-4), Bar(8, 20), Bar(8, 12)}) {
        empty->SliderSetPosition(5);
        EXPECT_EQ(empty->SliderPosition, 0);
        empty->SliderPosition = 30;
        empty->ValueCalc();
        EXPECT_EQ(empty->ValuePrecise, 0);
        EXPECT_EQ(empty->Value, 0);
    }
}

TEST_F(ScrollBarTest, ArrowsSitOutsideTheTrackAndAreDisabledAtTheirEnd) {
    auto bar = Bar(8);
    const auto up = bar->Menu->FindButton(bar->UpName), down = bar->Menu->FindButton(bar->DownName);
    EXPECT_FLOAT_EQ(up->x, 99);
    EXPECT_FLOAT_EQ(up->y, 40);
    EXPECT_FLOAT_EQ(down->y, 150);
    EXPECT_EQ(up->Disabled, 1) << "at 0 the up arrow has nowhere to go";
    EXPECT_EQ(down->Disabled, 0);
    bar->SetCoords(110, 60);
    EXPECT_FLOAT_EQ(up->x, 109);
    EXPECT_FLOAT_EQ(down->y, 160);
}

TEST_F(ScrollBarTest, DraggingPastEitherEndClamps) {
    auto bar = Bar(8);
    Pointer(105, 55);
    Press();
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 1);
    EXPECT_EQ(bar->SliderOffset, 5);
    NextTick();
    Pointer(105, 92);
    bar->Manage();
    EXPECT_EQ(bar->SliderPosition, 37) << "where the slider was taken hold of stays under the pointer";
    EXPECT_EQ(bar->Value, 4) << "3.7 rounded";
    Pointer(300, 400);
    bar->Manage();
    EXPECT_EQ(bar->SliderPosition, 80);
    EXPECT_EQ(bar->Value, 8);
    EXPECT_EQ(Disabled(*bar, "down"), 1);
    EXPECT_EQ(Disabled(*bar, "up"), 0);
    Pointer(105, -50);
    bar->Manage();
    EXPECT_EQ(bar->SliderPosition, 0);
    EXPECT_EQ(Disabled(*bar, "up"), 1);
    EXPECT_EQ(Disabled(*bar, "down"), 0);
    Release();
    bar->Manage();
    EXPECT_EQ(bar->SliderSelected, 0);
    Pointer(105, 120);
    bar->Manage();
    EXPECT_EQ(bar->SliderPosition, 0) << "let go, the pointer moves nothing";
}

TEST_F(ScrollBarTest, AHeldArrowScrollsThroughTheRepeatAndAListFollows) {
    auto list = fw::TListBox::Create(10, 5, 0, 1, 500);
    for (int i = 0; i < 12; ++i) list->Strings.push_back("line " + std::to_string(i));
    list->Limit = 4;
    list->ScrollBar = Bar(8);
    list->SetClickSound(click2);
    const auto down = list->ScrollBar->Menu->FindButton("down");
    EXPECT_EQ(down->SoundClick2, click2) << "repeats sound the list's click";
    Pointer(static_cast<int>(down->x) + 5, static_cast<int>(down->y) + 5);
    Press();
    list->Manage();
    EXPECT_EQ(list->TopIndex, 1);
    NextTick();
    Ticks(79, [&] {
        list->Manage();
        NextTick();
    });
    EXPECT_EQ(list->TopIndex, 1) << "held: the first repeat after 400 ms";
    list->Manage();
    NextTick();
    EXPECT_EQ(list->TopIndex, 2);
    Ticks(200, [&] {
        list->Manage();
        NextTick();
    });
    EXPECT_EQ(list->TopIndex, 8) << "every 100 ms up to the end";
    EXPECT_EQ(down->Disabled, 1);
    Release();

    // Selecting a line moves the slider with the view.
    list->SetIndex(2);
    EXPECT_EQ(list->TopIndex, 2);
    EXPECT_EQ(list->ScrollBar->SliderPosition, 20);
    EXPECT_EQ(list->ScrollBar->Value, 2);
}

}  // namespace
