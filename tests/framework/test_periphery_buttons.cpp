// Buttons: hovering and clicking with the pointer, the pressed look, the
// disabled kinds, held repeats, keyboard activation, grow-on-hover, which
// look is drawn, their sounds and loading from files; menus: names of the
// clicked and hovered buttons, stacking, rows and columns, and when they
// poll nothing.

#include <string>
#include <vector>

#include "framework/button.h"
#include "framework/fonts.h"
#include "framework/menu.h"
#include "framework/screen.h"
#include "framework/shapes.h"
#include "platform/core/error.h"
#include "platform/sys/input.h"
#include "widget_fixture.h"

namespace {

using periphery::WidgetTest;

class ButtonTest : public WidgetTest {
protected:
    // A 40 x 20 button at (100, 50) with a hover look, both sounds and its
    // own (silent) channels.
    plat::Ref<fw::TButton> MakeButton() {
        auto b = plat::New<fw::TButton>();
        b->SetImage(Picture(40, 20, 1, 0, "normal"));
        b->ImageMouseOver = Picture(40, 20, 1, 0, "over");
        b->Init();
        b->SetPosition(100, 50);
        b->SoundMouseOver = over;
        b->SoundClick = click;
        b->ChannelMouseOver = plat::AllocChannel();
        b->ChannelClick = plat::AllocChannel();
        return b;
    }
    static void Tick(fw::TButton& b) {
        b.Manage();
        NextTick();
    }
    // The picture of the look drawn by Draw.
    static const plat::TImage* Drawn(fw::TButton& b) {
        plat::ClearRecordedCalls();
        b.Draw();
        const auto images = Calls(plat::DrawRecord::IMAGE);
        return images.empty() ? nullptr : images.back().image;
    }
};

TEST_F(ButtonTest, HoverAndClickWithThePointer) {
    auto b = MakeButton();
    Pointer(99, 55);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0) << "left of the button";
    Pointer(100, 50);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 1) << "its top-left pixel";
    EXPECT_EQ(Played(b->ChannelMouseOver), over->sound);
    Pointer(139, 69);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 1) << "its bottom-right pixel";
    EXPECT_EQ(Played(b->ChannelMouseOver), nullptr) << "once per entry";
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 1);
    EXPECT_EQ(Played(b->ChannelClick), click->sound);
    EXPECT_EQ(fw::Game->Mouse->mh, 0) << "the click is taken";
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0) << "for one tick";
    Release();
    Pointer(140, 60);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0);
    Pointer(120, 60);
    Tick(*b);
    EXPECT_EQ(Played(b->ChannelMouseOver), over->sound) << "again on the next entry";

    // The owner may veto hovering; an offset moves the hover area.
    b->MouseOverUserFunction = [] { return 1; };
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0);
    b->MouseOverUserFunction = nullptr;
    b->offx = 100;
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0);
    Pointer(220, 60);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 1);
}

TEST_F(ButtonTest, WithTheVirtualResolutionThePointerIsMappedIntoIt) {
    // 320 x 240 shown twice its size in the 640 x 480 window.
    fw::UseVirtualResolution = 1;
    auto b = MakeButton();
    b->CentreX(50);
    EXPECT_FLOAT_EQ(b->x, 140) << "centred in the drawing space";
    Pointer(2 * 145, 2 * 55);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 1);
    Pointer(145, 55);
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0) << "window pixels are not drawing-space pixels";
}

TEST_F(ButtonTest, ThePressedLookLastsAndRefusesClicksMeanwhile) {
    auto b = MakeButton();
    b->ImageMouseClick = Picture(40, 20, 1, 0, "down");
    b->MouseClickDuration = 10;
    Pointer(110, 60);
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 1);
    EXPECT_FLOAT_EQ(b->MouseClickCounter, 9) << "set to 10, one tick run down";
    EXPECT_EQ(Drawn(*b), b->ImageMouseClick->image.get());
    Tick(*b);
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0) << "refused while the pressed look runs";
    b->ClickWhenDown = 1;
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 1) << "unless clicks are taken while down";
    Release();
    for (int i = 0; i < 10; ++i) Tick(*b);
    EXPECT_FLOAT_EQ(b->MouseClickCounter, 0);
    EXPECT_EQ(Drawn(*b), b->ImageMouseOver->image.get()) << "back to the hover look";

    b->StayDown = 1;
    Press();
    Tick(*b);
    for (int i = 0; i < 50; ++i) Tick(*b);
    EXPECT_FLOAT_EQ(b->MouseClickCounter, 10) << "held down";
    b->ClearClick();
    EXPECT_FLOAT_EQ(b->MouseClickCounter, 0);
}

TEST_F(ButtonTest, DisabledButtonsStillClickUnlessBlockedForGood) {
    auto b = MakeButton();
    b->ImageMouseOver = nullptr;
    b->Disabled = 1;
    EXPECT_EQ(Drawn(*b), b->image->image.get()) << "no disabled picture: the normal one";
    b->ImageDisabled = Picture(40, 20, 1, 0, "disabled");
    Pointer(110, 60);
    Press();
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 1);
    EXPECT_EQ(b->Clicked, 1) << "a disabled button reacts by default";
    EXPECT_EQ(Drawn(*b), b->ImageDisabled->image.get());
    b->ClickDisabled = 0;
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0);
    b->ClickDisabled = 1;
    b->Disabled = 2;
    Press();
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0);
    EXPECT_EQ(b->Clicked, 0) << "any other value never reacts";
    b->Disabled = 0;
    b->Active = 0;
    Press();
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0);
    EXPECT_EQ(Drawn(*b), nullptr) << "an inactive button is not drawn";
    b->AlwaysDraw = 1;
    EXPECT_NE(Drawn(*b), nullptr);
}

TEST_F(ButtonTest, AHeldButtonRepeatsWithTheRepeatSound) {
    auto b = MakeButton();
    b->SoundClick2 = click2;
    b->SetupMouseRepeat(100, 50);  // 20 ticks, then every 10
    Pointer(110, 60);
    Press();
    std::vector<int> clicks;
    for (int tick = 1; tick <= 45; ++tick) {
        Tick(*b);
        if (!b->Clicked) continue;
        clicks.push_back(tick);
        EXPECT_EQ(Played(b->ChannelClick), tick == 1 ? click->sound : click2->sound) << tick;
    }
    EXPECT_EQ(clicks, (std::vector<int>{1, 21, 31, 41}));
}

TEST_F(ButtonTest, EnterClicksAnOKButtonAnywhereAndSpaceWhenAllowed) {
    auto b = MakeButton();
    Pointer(0, 0);
    HitKey(plat::KEY_ENTER);
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0) << "not an OK button";
    b->OKButton = 1;
    HitKey(plat::KEY_ENTER);
    Tick(*b);
    EXPECT_EQ(b->Clicked, 1);
    EXPECT_EQ(b->MouseOver, 1) << "shown as if hovered";
    Tick(*b);
    HitKey(plat::KEY_SPACE);
    Tick(*b);
    EXPECT_EQ(b->Clicked, 1);
    Tick(*b);
    b->OKButtonUseSpace = 0;
    HitKey(plat::KEY_SPACE);
    Tick(*b);
    EXPECT_EQ(b->Clicked, 0);
    fw::FlushKeyTables();
}

TEST_F(ButtonTest, GrowOnHoverKeepsTheHoverAreaAndGrowsAboutTheCentre) {
    auto b = MakeButton();
    b->SetupScaleOnMO(1.5f, 0.1f, 0.05f);
    Pointer(110, 60);
    for (int i = 0; i < 8; ++i) Tick(*b);
    EXPECT_FLOAT_EQ(b->ScaleOnMO, 1.5f) << "capped";
    plat::ClearRecordedCalls();
    b->Draw();
    const auto image = Calls(plat::DrawRecord::IMAGE).at(0);
    EXPECT_FLOAT_EQ(image.scaleX, 1.5f);
    EXPECT_FLOAT_EQ(image.x, 100 - 10) << "shifted by half the growth";
    EXPECT_FLOAT_EQ(image.y, 50 - 5);
    EXPECT_FLOAT_EQ(b->ScaleX, 1) << "the sprite's own scale is back";
    Pointer(145, 60);  // inside the grown picture, outside the button
    Tick(*b);
    EXPECT_EQ(b->MouseOver, 0);
    EXPECT_FLOAT_EQ(b->ScaleOnMO, 1.45f) << "shrinking";
}

TEST_F(ButtonTest, TheLooksTakePriorityInOrder) {
    auto b = MakeButton();
    b->ImageMouseClick = Picture(40, 20, 1, 0, "down");
    b->ImageDisabled = Picture(40, 20, 1, 0, "disabled");
    struct Case {
        const char* what;
        float counter;
        int mouseOver, disabled;
        const plat::Ref<fw::TGameImage>& expected;
    };
    const Case cases[] = {
        {"pressed first", 5, 1, 1, b->ImageMouseClick},
        {"then hovered", 0, 1, 1, b->ImageMouseOver},
        {"then disabled", 0, 0, 1, b->ImageDisabled},
        {"else normal", 0, 0, 0, b->image},
    };
    for (const Case& c : cases) {
        b->MouseClickCounter = c.counter;
        b->MouseOver = c.mouseOver;
        b->Disabled = c.disabled;
        EXPECT_EQ(Drawn(*b), c.expected->image.get()) << c.what;
    }
    // A fixed glow asks for the hover look; without a hover picture the
    // normal one is drawn.
    b->MouseClickCounter = 0;
    b->MouseOver = 0;
    b->Disabled = 0;
    b->SetFixedGlowOnMO(1, 0.1f, 1);
    b->FixedGlowOnMOActivate();
    EXPECT_EQ(Drawn(*b), b->ImageMouseOver->image.get()) << "the glow pass over the hover look";
    b->ImageMouseOver = nullptr;
    plat::ClearRecordedCalls();
    b->Draw();
    for (const auto& call : Calls(plat::DrawRecord::IMAGE)) EXPECT_EQ(call.image, b->image->image.get());
}

TEST_F(ButtonTest, LoadedFromFilesWithACaptionThatMovesWithIt) {
    WritePicture("ok.png", 60, 24);
    WritePicture("okMO.png", 60, 24);
    auto b = fw::TButton::CreateSpecial("ok", "okMO", "over", "click");
    EXPECT_EQ(b->name, "OK");
    EXPECT_EQ(b->w, 60);
    EXPECT_EQ(b->h2, 12);
    ASSERT_TRUE(b->ImageMouseOver);
    ASSERT_TRUE(b->SoundClick);
    ASSERT_TRUE(b->ChannelClick) << "its own channels without a pool";
    b->SetupCaption("Go", nullptr, fw::TColor::Create(255, 0, 0, 1), nullptr, nullptr, nullptr);
    EXPECT_FLOAT_EQ(b->Caption->X, 30);
    b->CentreX(100);
    EXPECT_FLOAT_EQ(b->x, (640 - 60) / 2);
    EXPECT_FLOAT_EQ(b->Caption->X, 320) << "the caption moved with it";
    EXPECT_FLOAT_EQ(b->Caption->Y, 112);
    plat::ClearRecordedCalls();
    b->Draw();
    const auto texts = Calls(plat::DrawRecord::TEXT);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Go");
    EXPECT_EQ(texts[0].r, 255);
    EXPECT_EQ(texts[0].g, 0);
    EXPECT_FLOAT_EQ(texts[0].x, 320 - 8) << "centred on the button";
    EXPECT_FLOAT_EQ(texts[0].y, 112 - 4);

    // Kill stops the button's own channels.
    auto channel = b->ChannelClick;
    b->PlayClick();
    b->Kill();
    EXPECT_FALSE(b->ChannelClick);
    EXPECT_FALSE(b->Caption);
    EXPECT_EQ(Played(channel), nullptr) << "stopped";

    try {
        fw::TButton::CreateSpecial("missing", "", "", "");
        ADD_FAILURE() << "no error";
    } catch (const plat::RuntimeError& e) {
        EXPECT_EQ(std::string(e.what()), "Error loading bitmap " + dir / "missing.png");
    }
}

// --- menus ------------------------------------------------------------------------

class MenuTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        for (const char* name : {"play", "playMO", "quit", "quitMO", "tall", "tallMO"})
            WritePicture(std::string(name) + ".png", 80, std::string(name).rfind("tall", 0) == 0 ? 40 : 20);
    }
    static void Tick(fw::TMenu& m) {
        m.Manage(0, 0);
        NextTick();
    }
};

TEST_F(MenuTest, ButtonsStackWithGapsAfterTheFirst) {
    auto menu = fw::TMenu::Create("over", "", 0, 100, 6);
    EXPECT_TRUE(menu->SoundMouseOver);
    EXPECT_FALSE(menu->SoundClick) << "an empty name: no sound";
    auto play = menu->AddQuick("play", "");
    EXPECT_EQ(menu->h, 20) << "no gap before the first";
    auto tall = menu->AddQuick("tall", "big");
    EXPECT_EQ(menu->h, 20 + 6 + 40);
    EXPECT_EQ(menu->NextY, 100 + 26 + 46);
    EXPECT_FLOAT_EQ(play->y, 100);
    EXPECT_FLOAT_EQ(tall->y, 126);
    EXPECT_FLOAT_EQ(play->x, (640 - 80) / 2) << "centred";
    EXPECT_EQ(play->name, "PLAY");
    EXPECT_EQ(tall->name, "BIG");
    EXPECT_EQ(play->SoundMouseOver, menu->SoundMouseOver);
    EXPECT_EQ(menu->FindButton("big"), tall);
    EXPECT_EQ(menu->FindButton("none"), nullptr);
    EXPECT_EQ(menu->CalcWidth(), 80);
    EXPECT_EQ(menu->CalcHeight(), 66);

    menu->AddPair("play", "quit", 10, "side");
    auto last = menu->Last();
    EXPECT_EQ(last->name, "SIDEQUIT");
    EXPECT_FLOAT_EQ(last->x, play->x + 90) << "beside the first of the pair";
    EXPECT_EQ(menu->CalcWidth(), 170);
}

TEST_F(MenuTest, AnEmptyMenuKeepsItsExtremes) {
    auto menu = fw::TMenu::Create("", "", 5, 5, 0);
    EXPECT_EQ(menu->CalcWidth(), -20000);
    EXPECT_EQ(menu->CalcHeight(), -20000);
    menu->CalcLeft();
    EXPECT_FLOAT_EQ(menu->x, 10000);
    menu->Centre();
    menu->MakeColumn(4);
    EXPECT_EQ(menu->Manage(0, 0), 1);
    EXPECT_EQ(menu->Clicked("x"), 0);
}

TEST_F(MenuTest, QuickAutoFindsTheDisabledAndPressedPicturesThatExist) {
    auto menu = fw::TMenu::Create("", "", 0, 0, 0);
    auto bare = menu->AddQuickAuto("play", "");
    EXPECT_FALSE(bare->ImageDisabled);
    EXPECT_FALSE(bare->ImageMouseClick);
    WritePicture("quit_disabled.png", 80, 20);
    WritePicture("quit_down.png", 80, 20);
    auto full = menu->AddQuickAuto("quit", "");
    EXPECT_TRUE(full->ImageDisabled);
    ASSERT_TRUE(full->ImageMouseClick);
    EXPECT_FLOAT_EQ(full->MouseClickDuration, 40) << "200 ms";
}

TEST_F(MenuTest, ClickedNamesAreMatchedUpperCasedAndConsumed) {
    auto menu = fw::TMenu::Create("", "", 0, 100, 0);
    auto play = menu->AddQuick("play", "ok");
    menu->AddQuick("quit", "");
    Pointer(static_cast<int>(play->x) + 5, 105);
    Press();
    Tick(*menu);
    EXPECT_EQ(menu->MouseOverName, "OK");
    EXPECT_EQ(menu->MouseOver("ok"), 1);
    EXPECT_EQ(menu->MouseOver("ok"), 1) << "hovering is not consumed by default";
    EXPECT_EQ(menu->Clicked("quit"), 0);
    EXPECT_EQ(menu->Clicked("ok"), 1);
    EXPECT_EQ(menu->Clicked("ok"), 0) << "consumed";
    Release();
    Tick(*menu);
    EXPECT_EQ(menu->Clicked("ok"), 0);

    // Two buttons under the pointer: the last one wins.
    menu->Last()->MoveTo(play->x, play->y);
    Tick(*menu);
    EXPECT_EQ(menu->MouseOverName, "QUIT");
}

TEST_F(MenuTest, NothingIsPolledDuringAFadeOrWithThePointerOff) {
    auto menu = fw::TMenu::Create("", "", 0, 100, 0);
    auto play = menu->AddQuick("play", "");
    play->SetFixedGlowOnMO(1, 0.1f, 0);
    play->Glow = 0.5f;
    play->GlowMode = 2;
    Pointer(static_cast<int>(play->x) + 5, 105);
    fw::Game->GameFade->Active = 1;
    EXPECT_EQ(menu->Manage(0, 0), 0);
    EXPECT_EQ(play->MouseOver, 0);
    EXPECT_FLOAT_EQ(play->Glow, 0.4f) << "fixed glows still fade";
    fw::Game->GameFade->Active = 0;
    fw::Game->Mouse->Off();
    EXPECT_EQ(menu->Manage(0, 0), 0);
    EXPECT_EQ(play->MouseOver, 0);
    fw::Game->Mouse->On();
    EXPECT_EQ(menu->Manage(0, 0), 1);
    EXPECT_EQ(play->MouseOver, 1);
    menu->AcceptInput = 0;
    EXPECT_EQ(menu->Manage(0, 0), 0);
}

TEST_F(MenuTest, ColumnsAndRowsOfUnequalButtons) {
    auto menu = fw::TMenu::Create("", "", 0, 0, 0);
    auto a = menu->AddQuick("play", "");
    auto b = menu->AddQuick("tall", "");
    auto c = menu->AddQuick("quit", "");
    menu->MakeColumn(4);
    // 20 + 4 + 40 + 4 + 20 = 88 high, centred in 480.
    EXPECT_FLOAT_EQ(a->y, 196);
    EXPECT_FLOAT_EQ(b->y, 196 + 24);
    EXPECT_FLOAT_EQ(c->y, 196 + 68);
    EXPECT_FLOAT_EQ(a->x, 280);
    EXPECT_FLOAT_EQ(c->x, 280);
    menu->MakeRow(10);
    // 80 + 10 + 80 + 10 + 80 = 260 wide, centred in 640.
    EXPECT_FLOAT_EQ(a->x, 190);
    EXPECT_FLOAT_EQ(b->x, 280);
    EXPECT_FLOAT_EQ(c->x, 370);
    EXPECT_FLOAT_EQ(b->y, 220);
    EXPECT_FLOAT_EQ(a->y, 220) << "tops in line";

    menu->StoreOriginalCoords();
    menu->ScaleMenu(0.5f, 0.5f);
    EXPECT_FLOAT_EQ(c->x, 190 + 90) << "towards the menu's origin";
    EXPECT_FLOAT_EQ(c->ScaleX, 0.5f);
}

TEST_F(MenuTest, TheScreenHooksRunDrawAndKillTheirMenu) {
    auto screen = plat::New<fw::TScreen>();
    screen->Menu = fw::TMenu::Create("", "", 0, 100, 0);
    auto play = screen->Menu->AddQuick("play", "");
    Pointer(static_cast<int>(play->x) + 5, 105);
    screen->Logic();
    EXPECT_EQ(play->MouseOver, 1);
    plat::ClearRecordedCalls();
    screen->Draw();
    EXPECT_EQ(Calls(plat::DrawRecord::IMAGE).back().image, play->ImageMouseOver->image.get());
    auto menu = screen->Menu;
    screen->Kill();
    EXPECT_FALSE(screen->Menu);
    EXPECT_EQ(menu->Count(), 0);
}

}  // namespace
