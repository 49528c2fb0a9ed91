// Dialogs: the OK box, the yes/no box and the text box; their sizes,
// slides and fades, their keys, and what they give back to the shell.

#include <set>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "framework/animation.h"
#include "framework/dialog.h"
#include "framework/fonts.h"
#include "framework/shapes.h"
#include "framework/text_input.h"
#include "platform/core/random.h"
#include "platform/gfx/font.h"
#include "platform/sys/input.h"

namespace {

using periphery::DialogTest;

class DialogsTest : public DialogTest {
protected:
    static int FontHeight() { return plat::DefaultFont()->Height(); }
    static int TextWidth(const std::string& s) { return static_cast<int>(plat::DefaultFont()->TextWidth(s)); }

    // A started text box with OK (and Cancel) holding `text`.
    static plat::Ref<fw::TDialogTextInput> TextBox(int withCancel, const std::string& text = "") {
        auto box = fw::TDialogTextInput::Create("Your name", text, 10, nullptr, 0, 0, 0, 0);
        box->MenuCreate(withCancel, 20);
        box->SetupText(nullptr, fw::TColor::Create(255, 255, 255, 1), nullptr, 0, nullptr);
        box->Start();
        return box;
    }
    // Characters typed, one a tick, then `ticks` more ticks; the last result.
    template <class D>
    static int Typed(D& dialog, const std::string& text, int ticks = 2) {
        TypeText(text);
        int result = 0;
        for (std::size_t i = 0; i < text.size() + static_cast<std::size_t>(ticks) && result == 0; ++i)
            result = dialog.Manage();
        return result;
    }
};

TEST_F(DialogsTest, BoxesAreSizedFromTheirCaptionMenuAndBorders) {
    auto ok = fw::TDialogOK::Create("Hello there", nullptr, 0, 0, 0);
    // Centring uses the height of the sizing before: right once started.
    ok->Start();
    EXPECT_EQ(ok->w, TextWidth("Hello there") + 2 * 20) << "caption and two borders";
    EXPECT_EQ(ok->h, 16 + FontHeight() + 50 + 2 * 20) << "button, caption, gap and borders";
    EXPECT_EQ(ok->x, (640 - ok->w) / 2);
    EXPECT_EQ(ok->y, (480 - ok->h) / 2);
    const auto button = ok->Button("ok");
    ASSERT_TRUE(button);
    EXPECT_FLOAT_EQ(button->x, static_cast<float>(ok->x + (ok->w - 40) / 2));
    EXPECT_FLOAT_EQ(button->y, static_cast<float>(ok->y + ok->h - 16 - 20));
    EXPECT_FLOAT_EQ(ok->Caption->X, static_cast<float>(ok->x + ok->w / 2));
    EXPECT_FLOAT_EQ(ok->Caption->Y, static_cast<float>(ok->y + 20));

    // A fixed width wraps a caption that does not fit inside the borders,
    // and the box grows to its lines.
    const std::string text = "A message far too long for one line of the box";
    auto fixed = fw::TDialogOK::Create(text, nullptr, 160, 0, 0);
    EXPECT_EQ(fixed->w, 160);
    EXPECT_EQ(fixed->Caption->WordWrap, 120);
    ASSERT_GT(fixed->Caption->TotalLines, 1);
    EXPECT_EQ(fixed->h, 16 + fixed->Caption->TotalLines * FontHeight() + 50 + 40);
    auto wrapped = fw::TDialogOK::Create(text, nullptr, 0, 0, 0);
    wrapped->SetWordWrap(100);
    wrapped->CalcAll();
    EXPECT_EQ(wrapped->Caption->WordWrap, 100);
    EXPECT_FLOAT_EQ(wrapped->Caption->Y,
                    static_cast<float>(wrapped->y + wrapped->h / 2) - wrapped->Caption->CalcHeight() / 2)
        << "a wrapped caption is centred vertically";

    // A background picture gives the size.
    auto pictured = fw::TDialogOK::Create("Hi", Picture(200, 150), 0, 0, 0);
    EXPECT_EQ(pictured->w, 200);
    EXPECT_EQ(pictured->h, 150);

    auto text2 = TextBox(1, "Abc");
    EXPECT_EQ(text2->h, 16 + 2 * FontHeight() + 2 * 30 + 40) << "caption, text line, two gaps";
    EXPECT_EQ(text2->TextInput->X, text2->x + 10 + 10);
    EXPECT_EQ(text2->TextInput->Y, static_cast<int>(text2->Caption->Y) + FontHeight() + 30);
}

TEST_F(DialogsTest, WithoutAMenuTheBoxHasNoButtonsAndStillAnswers) {
    auto question = fw::TDialogYesNo::Create("Sure?", nullptr, 0, 0, 0, 0, 50);
    int yes = 0;
    question->YesFunc = [&] { ++yes; };
    question->Start();
    EXPECT_EQ(question->MenuHeight(), 0);
    EXPECT_EQ(question->h, FontHeight() + 50 + 40);
    EXPECT_FALSE(question->Button("Yes"));
    question->Draw();
    HitKey(plat::KEY_Y);
    EXPECT_EQ(question->Manage(), 1);
    EXPECT_EQ(yes, 1);

    auto text = fw::TDialogTextInput::Create("Name", "", 10, nullptr, 0, 0, 0, 0);
    text->SetupText(nullptr, nullptr, nullptr, 0, nullptr);
    text->Start();
    EXPECT_EQ(Typed(*text, "ab\r"), 1);
}

TEST_F(DialogsTest, SlidesStartBeyondTheirEdge) {
    for (int slide = 1; slide <= 4; ++slide) {
        auto ok = fw::TDialogOK::Create("Sliding", nullptr, 0, 0, 0);
        ok->Centre = 0;
        ok->x = 100;
        ok->y = 80;
        ok->SlideExtra = 10;
        ok->SetTransitions(1000, 1000, 0, 0, slide, 0);
        ok->Start();
        const float fx = 100, fy = 80, fw = static_cast<float>(ok->w), fh = static_cast<float>(ok->h);
        const float expectX[] = {0, 0, 640 + 10 - fx, 0, -fx - fw - 10};
        const float expectY[] = {0, -fy - fh - 10, 0, 480 + 10 - fy, 0};
        EXPECT_FLOAT_EQ(ok->OffsetX, expectX[slide]) << slide;
        EXPECT_FLOAT_EQ(ok->OffsetY, expectY[slide]) << slide;
        Ticks(100, [&] { ok->Manage(); });
        EXPECT_FLOAT_EQ(ok->OffsetX, expectX[slide] / 2) << "coming in, half-way: slide " << slide;
        EXPECT_FLOAT_EQ(ok->OffsetY, expectY[slide] / 2) << slide;
        Ticks(100, [&] { ok->Manage(); });
        EXPECT_EQ(ok->Transitioning, 0);
        EXPECT_FLOAT_EQ(ok->OffsetX, 0);
        EXPECT_FLOAT_EQ(ok->OffsetY, 0);
        HitKey(plat::KEY_ESCAPE);
        ok->Manage();
        Ticks(100, [&] { ok->Manage(); });
        EXPECT_FLOAT_EQ(ok->OffsetX, expectX[slide] / 2) << "going out, half-way: slide " << slide;
        EXPECT_FLOAT_EQ(ok->OffsetY, expectY[slide] / 2) << slide;
    }
}

TEST_F(DialogsTest, ARandomSlidePicksItsEdgeOnce) {
    std::set<int> edges;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        plat::SeedRnd(seed);
        auto ok = fw::TDialogOK::Create("Where from?", nullptr, 0, 0, 0);
        ok->SetTransitions(200, 200, 0, 0, 5, 0);
        const int edge = ok->Slide;
        EXPECT_GE(edge, 1);
        EXPECT_LE(edge, 4);
        ok->Start();
        Ticks(60, [&] { ok->Manage(); });
        HitKey(plat::KEY_ESCAPE);
        Ticks(20, [&] { ok->Manage(); });
        EXPECT_EQ(ok->Slide, edge) << "the same edge in and out";
        edges.insert(edge);
    }
    EXPECT_GT(edges.size(), 1u);
}

TEST_F(DialogsTest, EscapeClosesAccordingToTheKindOfBox) {
    struct Case {
        const char* what;
        int key;
        int result;
    };
    for (const Case c : {Case{"Escape", plat::KEY_ESCAPE, -1}, Case{"N", plat::KEY_N, -1}, Case{"Y", plat::KEY_Y, 1}}) {
        auto question = fw::TDialogYesNo::Create("Delete it?", nullptr, 0, 0, 0, 1, 30);
        question->Start();
        HitKey(c.key);
        EXPECT_EQ(question->Manage(), c.result) << c.what;
        EXPECT_EQ(question->Active, 0) << c.what;
        EXPECT_EQ(question->Manage(), 0) << "the result comes once";
    }
    auto ok = fw::TDialogOK::Create("Done", nullptr, 0, 0, 0);
    ok->Start();
    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(ok->Manage(), 1);

    auto cancellable = TextBox(1, "Abc");
    TypeKey(plat::KEY_ESCAPE);
    EXPECT_EQ(cancellable->Manage(), -1) << "Escape is Cancel when there is one";
    auto okOnly = TextBox(0, "Abc");
    TypeKey(plat::KEY_ESCAPE);
    Ticks(3, [&] { EXPECT_EQ(okOnly->Manage(), 0); });
    EXPECT_EQ(okOnly->Active, 1) << "without Cancel Escape does nothing";
    EXPECT_EQ(Typed(*okOnly, "d\r"), 1);
    EXPECT_EQ(okOnly->TextInput->Text, "Abcd");
}

TEST_F(DialogsTest, TheShellsEscapeSettingAndBlockedKeysComeBack) {
    fw::Game->IgnoreEscapeKey = 0;
    auto ok = fw::TDialogOK::Create("Done", nullptr, 0, 0, 0);
    ok->Start();
    ok->Start();
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1) << "Escape is left to the box";
    HitKey(plat::KEY_ESCAPE);
    ok->Manage();
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 0) << "even when started twice";

    // Killed while open: the shell gets its keys back all the same.
    auto question = fw::TDialogYesNo::Create("Sure?", nullptr, 0, 0, 0, 1, 30);
    question->Start();
    question->Kill();
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 0);
    auto text = TextBox(1);
    EXPECT_EQ(fw::Game->BlockKeys, 1);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1);
    text->Kill();
    EXPECT_EQ(fw::Game->BlockKeys, 0);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(text->Active, 0);
}

TEST_F(DialogsTest, ABlankTextIsRefusedUnlessAllowed) {
    auto box = TextBox(1);
    ClickOn(*box->Menu, "OK", [&] { return box->Manage(); });
    EXPECT_EQ(box->Active, 1);
    EXPECT_EQ(fw::Game->BlockKeys, 1) << "the keys stay blocked for more typing";
    EXPECT_EQ(Typed(*box, "   "), 0);
    EXPECT_EQ(ClickOn(*box->Menu, "OK", [&] { return box->Manage(); }), 0) << "blank is as good as empty";
    EXPECT_EQ(Typed(*box, "\r"), 0) << "nor does Enter take it";
    EXPECT_EQ(box->Active, 1);
    EXPECT_EQ(Typed(*box, "x"), 0);
    EXPECT_EQ(ClickOn(*box->Menu, "OK", [&] { return box->Manage(); }), 1);
    EXPECT_EQ(box->TextInput->Text, "   x");
    EXPECT_EQ(fw::Game->BlockKeys, 0);

    auto empty = fw::TDialogTextInput::Create("Any name", "", 10, nullptr, 0, 0, 0, 0);
    empty->AllowNull = 1;
    empty->MenuCreate(1, 20);
    empty->SetupText(nullptr, nullptr, nullptr, 0, nullptr);
    empty->Start();
    EXPECT_EQ(ClickOn(*empty->Menu, "OK", [&] { return empty->Manage(); }), 1);
}

TEST_F(DialogsTest, ARefusedTextShowsTheErrorBoxThenTypingGoesOn) {
    auto box = TextBox(1);
    box->ErrorCheckFunc = [](const std::string& text, std::string& message) {
        if (text.size() >= 3) return 0;
        message = "Three letters at least";
        return -1;
    };
    box->ErrorDialogFunc = [](const std::string& message) {
        return fw::TDialogOK::Create(message, nullptr, 0, 0, 0);
    };
    EXPECT_EQ(Typed(*box, "ab\r"), 0);
    ASSERT_TRUE(box->DialogOK);
    EXPECT_EQ(box->DialogOK->Caption->Text, "Three letters at least");
    EXPECT_EQ(box->DialogOK->Active, 1);
    EXPECT_EQ(box->TextInput->Text, "Ab") << "the first letter made a capital";
    EXPECT_EQ(fw::Game->BlockKeys, 1);
    EXPECT_EQ(Typed(*box, "z"), 0);
    EXPECT_EQ(box->TextInput->Text, "Ab") << "while the error shows it alone takes keys";
    fw::FlushInput();
    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(box->Manage(), 0);
    EXPECT_FALSE(box->DialogOK);
    EXPECT_EQ(box->Active, 1);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1) << "the text box still has Escape";
    EXPECT_EQ(Typed(*box, "c\r"), 1);
    EXPECT_EQ(box->TextInput->Text, "Abc");

    // Without a way to make the box the text is refused all the same.
    auto plain = TextBox(1);
    plain->ErrorCheckFunc = box->ErrorCheckFunc;
    EXPECT_EQ(Typed(*plain, "ab\r"), 0);
    EXPECT_FALSE(plain->DialogOK);
    EXPECT_EQ(plain->TextInput->Active, 1) << "and the player types on";
    EXPECT_EQ(Typed(*plain, "c\r"), 1);
}

TEST_F(DialogsTest, NothingReactsWhileGoingOutAndTheResultComesAtTheEnd) {
    fw::Game->IgnoreEscapeKey = 0;
    auto ok = fw::TDialogOK::Create("Bye", nullptr, 0, 0, 0);
    ok->SetTransitions(100, 100, 0, 0, 0, 0);
    ok->Start();
    HitKey(plat::KEY_ESCAPE);
    Ticks(20, [&] { EXPECT_EQ(ok->Manage(), 0) << "coming in"; });
    EXPECT_EQ(ok->Transitioning, 0);
    EXPECT_EQ(ok->Manage(), 0) << "Escape pressed while coming in was dropped";
    HitKey(plat::KEY_ESCAPE);
    EXPECT_EQ(ok->Manage(), 0);
    EXPECT_EQ(ok->Transitioning, 2);
    for (int i = 0; i < 19; ++i) {
        HitKey(plat::KEY_ESCAPE);
        EXPECT_EQ(ClickOn(*ok->Menu, "OK", [&] { return ok->Manage(); }), 0) << i;
    }
    EXPECT_EQ(ok->Active, 1);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 1);
    EXPECT_EQ(ok->Manage(), 1) << "on the tick the transition ends";
    EXPECT_EQ(ok->Active, 0);
    EXPECT_EQ(fw::Game->IgnoreEscapeKey, 0);
    EXPECT_EQ(ok->Manage(), 0);
}

TEST_F(DialogsTest, AFadingBoxFadesItsDimShadowCaptionAndButtons) {
    auto ok = fw::TDialogOK::Create("Fading", nullptr, 0, 0, 0);
    ok->Shadow = fw::TShadow::Create(3, 3, 0.5f);
    ok->SetupCaption(nullptr, fw::TColor::Create(255, 255, 255, 1), fw::TShadow::Create(1, 1, 0.8f), nullptr);
    ok->SetTransitions(100, 0, 0.6f, 1, 0, 0);
    ok->Start();
    Ticks(10, [&] { ok->Manage(); });
    plat::ClearRecordedCalls();
    ok->Draw();
    const auto rects = Calls(plat::DrawRecord::RECT);
    ASSERT_GE(rects.size(), 3u);
    EXPECT_FLOAT_EQ(rects[0].alpha, 0.3f) << "the dim, at half its darkness";
    EXPECT_FLOAT_EQ(rects[0].w, 640);
    EXPECT_EQ(rects[1].r, 0);
    EXPECT_FLOAT_EQ(rects[1].alpha, 0.25f) << "the box's shadow";
    EXPECT_EQ(rects[2].r, 150);
    EXPECT_FLOAT_EQ(rects[2].alpha, 0.5f) << "the box";
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FLOAT_EQ(texts[0].alpha, 0.4f) << "the caption's shadow";
    EXPECT_FLOAT_EQ(texts[1].alpha, 0.5f) << "the caption";
    const auto images = Calls(plat::DrawRecord::IMAGE);
    ASSERT_FALSE(images.empty());
    EXPECT_FLOAT_EQ(images.back().alpha, 0.5f) << "the button";
    EXPECT_FLOAT_EQ(fw::TextAlpha, 1.0f);

    Ticks(10, [&] { ok->Manage(); });
    plat::ClearRecordedCalls();
    ok->Draw();
    EXPECT_FLOAT_EQ(Calls(plat::DrawRecord::RECT)[0].alpha, 0.6f) << "in: the full dim";
    EXPECT_FLOAT_EQ(Calls(plat::DrawRecord::TEXT)[1].alpha, 1.0f);
}

}  // namespace
