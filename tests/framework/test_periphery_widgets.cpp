// The slider, the text input and the tool tip; and the sounds of widgets
// played through the shell's channel pool.

#include <string>
#include <vector>

#include "bitmap_font_files.h"
#include "framework/button.h"
#include "framework/channels.h"
#include "framework/fonts.h"
#include "framework/shapes.h"
#include "framework/slider.h"
#include "framework/text_input.h"
#include "framework/tool_tip.h"
#include "platform/sys/input.h"
#include "widget_fixture.h"

namespace {

using periphery::PoolSoundTest;
using periphery::WidgetTest;

// --- slider -----------------------------------------------------------------------

class SliderTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        WritePicture("track.png", 200, 8);
        WritePicture("dot.png", 10, 10);
    }
};

TEST_F(SliderTest, ValuesAreClampedAndTheDotFollows) {
    auto slider = fw::TSlider::CreateSpecial("track", "dot", 100, 40, 10, "volume", 5);
    EXPECT_EQ(slider->name, "VOLUME");
    EXPECT_EQ(slider->Value, 50);
    EXPECT_EQ(slider->DotX, 100 + 10 + 90 - 5);
    EXPECT_EQ(slider->DotY, 40);
    slider->SetValue(150);
    EXPECT_EQ(slider->Value, 100);
    EXPECT_EQ(slider->DotX, 100 + 10 + 180 - 5);
    slider->SetValue(-5);
    EXPECT_EQ(slider->Value, 0);
    slider->DotImage = nullptr;
    slider->SetValue(50);
    EXPECT_EQ(slider->DotX, 200) << "without a dot picture the dot is a point";
    slider->Draw();
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE).size(), 1u);
}

TEST_F(SliderTest, PressingOrDraggingSetsTheValue) {
    auto slider = fw::TSlider::CreateSpecial("track", "dot", 100, 40, 10, "volume", 5);
    struct Case {
        int x, y, value, result;
    };
    // Hit area: 10 pixels beyond each end, BorderY above and below.
    const Case cases[] = {
        {200, 43, 50, 1}, {105, 43, 0, 1}, {92, 36, 0, 1},  {295, 43, 100, 1},
        {309, 47, 100, 1}, {155, 43, 25, 1}, {89, 43, -1, 0}, {200, 53, -1, 0},
    };
    for (const Case& c : cases) {
        slider->SetValue(77);
        Pointer(c.x, c.y);
        Press();
        EXPECT_EQ(slider->Manage(), c.result) << c.x << "," << c.y;
        EXPECT_EQ(slider->Value, c.value < 0 ? 77 : c.value) << c.x << "," << c.y;
        EXPECT_EQ(slider->MouseOver, c.result) << c.x << "," << c.y;
    }
    Release();
    Pointer(200, 43);
    EXPECT_EQ(slider->Manage(), 0) << "hovering alone sets nothing";
    EXPECT_EQ(slider->MouseOver, 1);

    // A track no wider than its two dead zones has no middle to divide.
    auto narrow = fw::TSlider::CreateSpecial("dot", "dot", 0, 0, 10, "narrow", 5);
    Pointer(5, 5);
    Press();
    narrow->Manage();
    EXPECT_EQ(narrow->Value, 0);
    Release();
}

// --- text input -------------------------------------------------------------------

class TextInputTest : public WidgetTest {
protected:
    // Each character typed on a tick of its own.
    static int Type(fw::TTextInput& input, const std::string& keys) {
        int result = 0;
        for (unsigned char c : keys) {
            fw::KeyTableChar(c);
            result = input.Manage();
        }
        return result;
    }
    static plat::Ref<fw::TTextInput> Editor(const std::string& text = "") {
        auto input = plat::New<fw::TTextInput>();
        input->Init(nullptr, text, 20, 30, nullptr);
        return input;
    }
    // The texts drawn in colour (shadows left out), with their x.
    static std::vector<std::pair<std::string, float>> Drawn() {
        std::vector<std::pair<std::string, float>> out;
        for (const auto& c : Calls(plat::DrawRecord::TEXT))
            if (c.r + c.g + c.b > 0) out.emplace_back(c.text, c.x);
        return out;
    }
};

TEST_F(TextInputTest, TypingEditingAndTheLengthLimit) {
    auto input = Editor("ab");
    EXPECT_EQ(input->CurrentChar, 3);
    EXPECT_EQ(fw::Game->BlockKeys, 1) << "the shell's keys are off while typing";
    EXPECT_EQ(Type(*input, "cdefghijklm"), 0);
    EXPECT_EQ(input->Text, "abcdefghij") << "exactly ten characters";
    Type(*input, "\b\b");
    EXPECT_EQ(input->Text, "abcdefgh");
    Type(*input, std::string(12, '\b'));
    EXPECT_EQ(input->Text, "");
    EXPECT_EQ(input->CurrentChar, 1);
    input->UppercaseFirstCharAsTyped = 1;
    Type(*input, "xy");
    EXPECT_EQ(input->Text, "Xy");
    EXPECT_EQ(Type(*input, "\r"), 1);
    EXPECT_EQ(input->Active, 0);
    EXPECT_EQ(input->Done, 1);
    EXPECT_EQ(fw::Game->BlockKeys, 0);
    EXPECT_EQ(Type(*input, "z"), 0) << "finished: nothing more is taken";
    EXPECT_EQ(input->Text, "Xy");

    // A limit in pixels: the default font is 8 wide.
    auto narrow = Editor();
    narrow->MaxPixelWidth = 20;
    Type(*narrow, "abc");
    EXPECT_EQ(narrow->Text, "ab");
}

TEST_F(TextInputTest, FiltersNumbersOnlyAndBlankTexts) {
    auto safe = Editor();
    safe->MakeCharsFileNameSafe();
    Type(*safe, "a/b:c\\d*e%f");
    EXPECT_EQ(safe->Text, "abcdef");

    auto numbers = Editor();
    numbers->NumbersOnly = 1;
    EXPECT_EQ(Type(*numbers, "a1x2"), 0);
    EXPECT_EQ(numbers->Text, "12");
    EXPECT_EQ(Type(*numbers, "\r"), 1) << "Enter still ends the editing";
    auto escaped = Editor();
    escaped->NumbersOnly = 1;
    EXPECT_EQ(Type(*escaped, "\x1b"), -1) << "and Escape still gives up";

    auto blank = Editor();
    blank->AllowNull = 0;
    EXPECT_EQ(Type(*blank, "  \r"), 0);
    EXPECT_EQ(blank->Active, 1) << "a blank text is not taken";
    EXPECT_EQ(Type(*blank, "x\r"), 1);
    EXPECT_EQ(blank->Text, "  x");

    auto extended = Editor();
    Type(*extended, "\xe9");
    EXPECT_EQ(extended->Text, "");
    extended->AllowExtendedChars = 1;
    Type(*extended, "\xe9");
    EXPECT_EQ(extended->Text, "\xe9");
}

TEST_F(TextInputTest, EscapeGivesUpAndMayClearTheText) {
    auto kept = Editor("name");
    EXPECT_EQ(Type(*kept, "\x1b"), -1);
    EXPECT_EQ(kept->Text, "name");
    EXPECT_EQ(kept->Done, 1);
    auto cleared = Editor("name");
    cleared->ClearTextOnEscape = 1;
    EXPECT_EQ(Type(*cleared, "\x1b"), -1);
    EXPECT_EQ(cleared->Text, "");
    cleared->Reset();
    Type(*cleared, "abcdefghijk");
    EXPECT_EQ(cleared->Text, "abcdefghij") << "a full length again after clearing";
    auto stays = Editor("name");
    stays->AllowEscToAbort = 0;
    EXPECT_EQ(Type(*stays, "\x1b"), 0);
    EXPECT_EQ(stays->Active, 1);
}

TEST_F(TextInputTest, DrawsTheCursorAndDotsUpToTheLimit) {
    auto input = Editor("Abc");
    input->DrawDots = 1;
    input->Draw();
    auto texts = Drawn();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], std::make_pair(std::string("Abc"), 20.0f));
    EXPECT_EQ(texts[1], std::make_pair(std::string("_"), 44.0f));
    EXPECT_EQ(texts[2], std::make_pair(std::string("......"), 52.0f));
    const auto all = Calls(plat::DrawRecord::TEXT);
    EXPECT_EQ(all.size(), 6u) << "each with its shadow";

    // The cursor blinks every 250 ms; its place stays counted.
    for (int i = 0; i < 50; ++i) input->Manage();
    EXPECT_EQ(input->CursorOn, 0);
    plat::ClearRecordedCalls();
    input->Draw();
    texts = Drawn();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], std::make_pair(std::string("......"), 52.0f));

    // At full length there is no cursor and no dot.
    input->Text = "0123456789";
    plat::ClearRecordedCalls();
    input->Draw();
    EXPECT_EQ(Drawn().size(), 1u);
    input->Finish();
    plat::ClearRecordedCalls();
    input->Draw();
    EXPECT_TRUE(Drawn().empty()) << "not drawn once finished";
    input->ForceDraw = 1;
    input->Draw();
    EXPECT_EQ(Drawn().size(), 1u);
}

// --- tool tip ---------------------------------------------------------------------

class ToolTipTest : public WidgetTest {
protected:
    plat::Ref<fw::TToolTip> Tip() {
        auto tip = plat::New<fw::TToolTip>();
        tip->image = Picture(60, 20, 1, 0, "box");
        tip->Font = fw::TFont::Create(nullptr, fw::TColor::Create(255, 255, 0, 1), nullptr, 0, nullptr, nullptr, "");
        tip->CollideCounterMax = 10;
        tip->SetText("one two six");
        return tip;
    }
    static int TicksUntilVisible(fw::TToolTip& tip, int limit) {
        for (int tick = 1; tick <= limit; ++tick) {
            tip.Collide(1);
            if (tip.Visible) return tick;
        }
        return 0;
    }
};

TEST_F(ToolTipTest, ShowsAfterRestingAndWaitsAgainAfterLeaving) {
    auto tip = Tip();
    Pointer(100, 100);
    for (int i = 0; i < 6; ++i) tip->Collide(1);
    tip->Collide(0);
    EXPECT_FLOAT_EQ(tip->CollideCounter, 0) << "leaving restarts the wait";
    EXPECT_EQ(TicksUntilVisible(*tip, 20), 11) << "shown once the counter passes 10";
    EXPECT_FLOAT_EQ(tip->FadeLevel, 0.02f);
    for (int i = 0; i < 60; ++i) tip->Collide(1);
    EXPECT_FLOAT_EQ(tip->FadeLevel, 1);
    tip->Collide(0);
    EXPECT_EQ(tip->Visible, 1) << "fading out";
    for (int i = 0; i < 30; ++i) tip->Collide(0);
    EXPECT_EQ(tip->Visible, 0);
    EXPECT_FLOAT_EQ(tip->FadeLevel, 0);

    tip->Fade = 0;
    EXPECT_EQ(TicksUntilVisible(*tip, 20), 11);
    tip->Collide(0);
    EXPECT_EQ(tip->Visible, 0) << "without fading it goes at once";
}

TEST_F(ToolTipTest, PlacedBesideThePointerInsideTheScreen) {
    struct Case {
        const char* what;
        int px, py, above;
        float x, y;
    };
    const Case cases[] = {
        {"below", 100, 100, 0, 100, 105},
        {"above near the bottom", 100, 470, 0, 100, 445},
        {"above when asked", 100, 100, 1, 100, 75},
        {"clamped at the right edge", 600, 100, 0, 580, 105},
    };
    for (const Case& c : cases) {
        auto tip = Tip();
        tip->AlwaysShowAboveMouse = c.above;
        Pointer(c.px, c.py);
        TicksUntilVisible(*tip, 20);
        EXPECT_FLOAT_EQ(tip->x, c.x) << c.what;
        EXPECT_FLOAT_EQ(tip->y, c.y) << c.what;
        Pointer(c.px - 50, c.py - 50);
        tip->Collide(1);
        EXPECT_FLOAT_EQ(tip->x, c.x) << c.what << ": kept once shown";
    }
}

TEST_F(ToolTipTest, TextIsKeptWhileShowingAndWrapsInAnImageFont) {
    auto tip = Tip();
    EXPECT_EQ(tip->TextWrapped, (std::vector<std::string>{"one two six"}));
    tip->TextDrawWidth = 60;
    EXPECT_EQ(tip->SetText("one two six"), 1);
    EXPECT_EQ(tip->TextWrapped, (std::vector<std::string>{"one two", "six"}));
    Pointer(100, 100);
    TicksUntilVisible(*tip, 20);
    EXPECT_EQ(tip->SetText("new"), 0) << "ignored while it shows";
    for (int i = 0; i < 20; ++i) tip->Collide(1);
    tip->Collide(0);
    EXPECT_EQ(tip->SetText("new"), 0) << "and while it fades out";
    EXPECT_EQ(tip->Text, "one two six");

    tip->Draw();
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "one two");
    EXPECT_FLOAT_EQ(texts[0].x, tip->x + 30 - 28) << "centred on the box";
    EXPECT_FLOAT_EQ(texts[0].y, tip->y + 10 - 8);
    EXPECT_FLOAT_EQ(texts[0].alpha, tip->FadeLevel) << "fading";
    EXPECT_EQ(texts[0].b, 0) << "in the font's colour";
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1);

    // Without a box picture the text block stands for the box.
    tip->image = nullptr;
    for (int i = 0; i < 30; ++i) tip->Collide(0);
    EXPECT_EQ(tip->SetText("one two six"), 1);
    Pointer(300, 475);
    TicksUntilVisible(*tip, 20);
    EXPECT_FLOAT_EQ(tip->y, 475 - 5 - 16) << "two lines of 8 above the pointer";
}

TEST_F(ToolTipTest, ABitmapFontDrawsTheTextAsACentredBlock) {
    plat::Ref<plat::TPixmap> sheet;
    const auto glyphs = fontfiles::DefaultFontSheet(sheet, [](int) { return 0xFFFFFFFFu; });
    fontfiles::Write(dir / "small", sheet, glyphs);
    auto tip = Tip();
    tip->Font->BitmapFont = fw::TBitmapFont::Create(dir / "small", -1, 0, 0);
    tip->Font->Shadow = fw::TShadow::Create(1, 1, 0.5f);
    tip->SetText("ab cd");
    Pointer(100, 100);
    TicksUntilVisible(*tip, 20);
    plat::ClearRecordedCalls();
    tip->Draw();
    std::vector<plat::DrawRecord> glyphCalls;
    for (const auto& c : Calls(plat::DrawRecord::IMAGE))
        if (c.image == tip->Font->BitmapFont->Image.get()) glyphCalls.push_back(c);
    ASSERT_EQ(glyphCalls.size(), 10u) << "five glyphs and their shadows";
    // "ab cd" is 40 wide, one line of 9 (the whole part of 1.2 x 8).
    EXPECT_FLOAT_EQ(glyphCalls[5].x, 100 + 30 - 20);
    EXPECT_FLOAT_EQ(glyphCalls[5].y, 105 + 10 - 5);
    EXPECT_DOUBLE_EQ(tip->Font->BitmapFont->ScaleFactor, 1) << "its scale is back";
}

// --- sounds through the pool ------------------------------------------------------------

TEST_F(PoolSoundTest, WidgetsPlayThroughThePool) {
    WritePicture("ok.png", 40, 20);
    auto button = fw::TButton::CreateSpecial("ok", "", "over", "click");
    EXPECT_FALSE(button->ChannelClick) << "no channels of its own beside a pool";
    Pointer(5, 5);
    button->Manage();
    EXPECT_EQ(Playing(), 1) << "the mouse-over sound";
    Press();
    button->Manage();
    EXPECT_EQ(Playing(), 2) << "the click";
    Release();

    auto input = plat::New<fw::TTextInput>();
    input->Init(nullptr, "", 0, 0, nullptr);
    input->TypingSound = fw::TGameSound::Create(dir / "typing.wav", 0);
    fw::KeyTableChar(8);
    input->Manage();
    EXPECT_EQ(Playing(), 2) << "Backspace on nothing is silent";
    fw::KeyTableChar('a');
    input->Manage();
    fw::KeyTableChar('\r');
    input->Manage();
    EXPECT_EQ(Playing(), 4) << "a key and Enter";

    auto tip = plat::New<fw::TToolTip>();
    tip->ToolTipSound = over;
    tip->CollideCounterMax = 2;
    for (int i = 0; i < 10; ++i) tip->Collide(1);
    EXPECT_EQ(Playing(), 5) << "once as it shows";
}

}  // namespace
