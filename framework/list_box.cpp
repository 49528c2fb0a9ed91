#include "framework/list_box.h"

#include <algorithm>
#include <cmath>

#include "framework/banks.h"
#include "framework/button.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/menu.h"
#include "framework/mouse.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "framework/timing.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"

namespace fw {

namespace {

bool MouseButtonHeld() { return Game && Game->Mouse && Game->Mouse->b1 != 0; }

}  // namespace

// --- TScrollBar ----------------------------------------------------------------------

plat::Ref<TScrollBar> TScrollBar::Create(const plat::Ref<TGameImage>& slider, int size, double valueMax, float x,
                                         float y, int vertical) {
    auto bar = plat::New<TScrollBar>();
    bar->Slider = slider;
    bar->Size = size;
    bar->ValueMax = std::max(0.0, valueMax);
    bar->X = x;
    bar->Y = y;
    bar->Vertical = vertical;
    return bar;
}

int TScrollBar::SliderLength() const {
    if (!Slider) return 0;
    return Vertical ? Slider->h : Slider->w;
}

int TScrollBar::Range() const { return std::max(0, Size - SliderLength()); }

void TScrollBar::SetArrows(const std::string& upImage, const std::string& downImage, int clickMs) {
    Menu = TMenu::Create("buttonMO", "buttonclick", 0, 0, 0);
    auto up = Menu->AddQuickAuto(upImage, "");
    auto down = Menu->AddQuickAuto(downImage, "");
    UpName = up->name;
    DownName = down->name;
    for (const auto& b : {up, down}) {
        b->ClickDisabled = 0;
        b->MouseClickDuration = TicksFromMs(static_cast<float>(clickMs));
        b->ClickWhenDown = 1;
        b->SetupMouseRepeat(400, 100);
    }
    const float sliderW = Slider ? static_cast<float>(Slider->w) : 0.0f;
    const float sliderH = Slider ? static_cast<float>(Slider->h) : 0.0f;
    const float end = static_cast<float>(Size);
    if (Vertical) {
        up->MoveTo(X + (sliderW - static_cast<float>(up->w)) / 2, Y - static_cast<float>(up->h));
        down->MoveTo(X + (sliderW - static_cast<float>(down->w)) / 2, Y + end);
    } else {
        up->MoveTo(X - static_cast<float>(up->w), Y + (sliderH - static_cast<float>(up->h)) / 2);
        down->MoveTo(X + end, Y + (sliderH - static_cast<float>(down->h)) / 2);
    }
    Menu->CalcCoords();
    Menu->StoreOriginalCoords();
    DisableButtons();
}

void TScrollBar::SetBackground(const plat::Ref<TGameImage>& image, float x, float y) {
    Background = image;
    BackgroundX = x;
    BackgroundY = y;
}

void TScrollBar::SetCoords(float x, float y) {
    const float dx = x - X, dy = y - Y;
    X = x;
    Y = y;
    BackgroundX += dx;
    BackgroundY += dy;
    if (!Menu) return;
    for (const auto& b : *Menu)
        if (b) b->MoveBy(dx, dy);
    Menu->CalcCoords();
}

void TScrollBar::SliderSetPosition(double value) {
    const int range = Range();
    // Nothing to scroll (no values, or a track no longer than the slider):
    // the slider rests at the start.
    if (ValueMax <= 0 || range <= 0) {
        SliderPosition = 0;
        return;
    }
    SliderPosition = std::clamp(RoundToInt(value * range / ValueMax), 0, range);
}

void TScrollBar::ValueCalc() {
    const int range = Range();
    ValuePrecise = ValueMax <= 0 || range <= 0 ? 0.0
                                               : std::clamp(SliderPosition * ValueMax / range, 0.0, ValueMax);
    ValueRound();
}

void TScrollBar::ValueRound() { Value = RoundToInt(ValuePrecise); }

void TScrollBar::DisableButtons() {
    if (!Menu) return;
    const auto up = Menu->FindButton(UpName);
    const auto down = Menu->FindButton(DownName);
    if (up && up->ImageDisabled) up->Disabled = ValuePrecise <= 0 ? 1 : 0;
    if (down && down->ImageDisabled) down->Disabled = ValuePrecise >= ValueMax ? 1 : 0;
}

void TScrollBar::StepBy(double step) {
    ValuePrecise = std::clamp(ValuePrecise + step, 0.0, ValueMax);
    ValueRound();
    SliderSetPosition(ValuePrecise);
    DisableButtons();
}

void TScrollBar::Manage() {
    if (Menu) {
        Menu->Manage(0, 0);
        if (Menu->Clicked(UpName) && ValuePrecise > 0) StepBy(-ValueStep);
        if (Menu->Clicked(DownName) && ValuePrecise < ValueMax) StepBy(ValueStep);
    }
    SliderGlow = std::max(0.0f, SliderGlow - GlowSpeed * Delta);

    const DrawingPoint p = PointerInDrawingSpace();
    const float along = Vertical ? p.y : p.x, across = Vertical ? p.x : p.y;
    const float start = (Vertical ? Y : X) + static_cast<float>(SliderPosition);
    const float side = Vertical ? X : Y;
    const float thickness = Slider ? static_cast<float>(Vertical ? Slider->w : Slider->h) : 0.0f;
    const bool over = Slider && side <= across && across < side + thickness && start <= along &&
                      along < start + static_cast<float>(SliderLength());
    if (over && FixedGlowOnMO) SliderGlow = GlowMax;

    if (!MouseButtonHeld()) SliderSelected = 0;
    if (SliderSelected) {
        const float origin = Vertical ? Y : X;
        SliderPosition = std::clamp(static_cast<int>(along - origin - static_cast<float>(SliderOffset)), 0, Range());
        ValueCalc();
        DisableButtons();
        SliderGlow = GlowMax;
    } else if (MouseButtonHeld() && over) {
        SliderSelected = 1;
        SliderOffset = static_cast<int>(along - start);
    }
}

void TScrollBar::Draw() {
    plat::SetBlend(plat::ALPHABLEND);
    if (Background && Background->image) plat::DrawImage(Background->image, BackgroundX, BackgroundY, 0);
    if (Menu) Menu->Draw(0, 0);
    if (!Slider || !Slider->image) return;
    const float shift = static_cast<float>(SliderPosition) * Scale;
    const float sx = Vertical ? X : X + shift, sy = Vertical ? Y + shift : Y;
    plat::SetScale(Scale, Scale);
    plat::DrawImage(Slider->image, sx, sy, 0);
    if (SliderGlow > 0) {
        plat::SetBlend(plat::LIGHTBLEND);
        plat::SetAlpha(SliderGlow);
        plat::DrawImage(Slider->image, sx, sy, 0);
        plat::SetAlpha(1);
        plat::SetBlend(plat::ALPHABLEND);
    }
    plat::SetScale(1, 1);
}

void TScrollBar::Kill() {
    Background = nullptr;
    Slider = nullptr;
    if (Menu) Menu->Kill();
    Menu = nullptr;
}

// --- TListBox ------------------------------------------------------------------------

plat::Ref<TListBox> TListBox::Create(int unused, int gap, int centred, int drawBox, int doubleClickMs) {
    auto list = plat::New<TListBox>();
    list->Init(unused, gap, centred, drawBox);
    list->Font = TFont::Create(nullptr, TColor::Create(255, 255, 255, 1), nullptr, 0, nullptr, nullptr, "");
    list->Box = TBox::Create(0, 0, 0, 0, TColor::Create(0, 0, 0, 1));
    list->HighlightCol = TColor::Create(0, 0, 150, 1);
    list->DoubleClickTime = TicksFromMs(static_cast<float>(doubleClickMs));
    list->UpKeyRepeat = TKeyRepeat::Create(400, 100);
    list->DownKeyRepeat = TKeyRepeat::Create(400, 100);
    if (!Game || !Game->Channels) list->ClickChannel = plat::AllocChannel();
    return list;
}

void TListBox::Init(int, int gap, int centred, int drawBox) {
    Gap = gap;
    Centred = centred;
    DrawBox = drawBox;
}

void TListBox::SetCoords(float x, float y, float w, float h) {
    if (!Box) Box = TBox::Create(x, y, w, h, TColor::Create(0, 0, 0, 1));
    Box->X = x;
    Box->Y = y;
    Box->W = w;
    Box->H = h;
}

void TListBox::SetupBox(const plat::Ref<TColor>& color) {
    if (Box) Box->Color = color;
}

void TListBox::SetupFont(const plat::Ref<plat::TImageFont>& font, const plat::Ref<TColor>& color,
                         const plat::Ref<TShadow>& shadow, const plat::Ref<TBitmapFont>& bitmapFont,
                         const plat::Ref<TColor>& inverseColor) {
    if (!Font) Font = plat::New<TFont>();
    Font->Init(font, color, shadow, 0, bitmapFont, inverseColor, "");
    CalcLineHeight();
    if (bitmapFont) OldScale = bitmapFont->ScaleFactor;
}

void TListBox::CalcLineHeight() {
    const int fontHeight = Font ? RoundToInt(Font->CalcHeight()) : 0;
    SetLineHeight(fontHeight + 2 * Gap);
}

void TListBox::SetLineHeight(int height) {
    // A line of no height would make every division by it meaningless.
    LineHeight = std::max(1, height);
    if (!Box) return;
    if (RoundHeight) Box->H = std::floor(Box->H / static_cast<float>(LineHeight)) * static_cast<float>(LineHeight);
    DisplayLines = static_cast<int>(Box->H / static_cast<float>(LineHeight));
}

void TListBox::ClearIndex() {
    Index = -1;
    Clicked = -1;
    Value.clear();
}

void TListBox::SetIndex(int i) {
    if (i < -1 || i >= Count()) i = -1;
    Index = i;
    if (i == -1) {
        Value.clear();
    } else {
        Value = Strings[static_cast<std::size_t>(i)];
        if (Index < TopIndex) TopIndex = Index;
        if (Limit > 0) TopIndex = std::max(TopIndex, Index - Limit + 1);
    }
    if (ScrollBar) {
        ScrollBar->SliderSetPosition(TopIndex);
        ScrollBar->ValueCalc();
        ScrollBar->DisableButtons();
    }
}

void TListBox::SetTopIndex(int i) {
    TopIndex = std::max(i, 0);
    if (Count() - 1 < TopIndex + Limit) TopIndex = Count() - Limit;
    TopIndex = std::max(TopIndex, 0);
}

int TListBox::GetTempLimit() const {
    if (Limit > 0 && Count() >= TopIndex + Limit) return TopIndex + Limit;
    return Count();
}

int TListBox::GetIndexY() const {
    if (Index == -1 || !Box) return 0;
    return static_cast<int>(Box->Y + static_cast<float>((Index - TopIndex) * LineHeight) * Scale);
}

int TListBox::GetDoubleClicked() {
    const int line = DoubleClicked;
    DoubleClicked = -1;
    return line;
}

void TListBox::PlayClick() { PlayWidgetSound(ClickSound, ClickChannel); }

void TListBox::SetClickSound(const plat::Ref<TGameSound>& sound) {
    ClickSound = sound;
    if (!ScrollBar || !ScrollBar->Menu) return;
    for (const auto& name : {ScrollBar->UpName, ScrollBar->DownName})
        if (const auto b = ScrollBar->Menu->FindButton(name)) b->SoundClick2 = sound;
}

bool TListBox::Locked(int i) const {
    return i >= 0 && i < static_cast<int>(LockedArray.size()) && LockedArray[static_cast<std::size_t>(i)] != 0;
}

void TListBox::Manage() {
    if (ScrollBar) {
        ScrollBar->Manage();
        TopIndex = ScrollBar->Value;
    }
    if (Box && Game && Game->Mouse && Game->Mouse->GetMh(1)) {
        const DrawingPoint p = PointerInDrawingSpace();
        const float line = static_cast<float>(LineHeight) * Scale;
        const bool across = Box->X <= p.x && p.x < Box->X + Box->W * Scale;
        for (int i = TopIndex; across && i < GetTempLimit(); ++i) {
            const float top = Box->Y + static_cast<float>(i - TopIndex) * line;
            if (!(top < p.y && p.y < top + line)) continue;
            if (DoubleClickCounter > 0 && i == Index) DoubleClicked = i;
            else PlayClick();
            SetIndex(i);
            DoubleClickCounter = DoubleClicked == -1 ? DoubleClickTime : 0;
            break;
        }
    }
    if (ArrowKeysMoveHighlight) {
        if (UpKeyRepeat && UpKeyRepeat->GetKey(plat::KEY_UP) && Index > 0) {
            PlayClick();
            SetIndex(Index - 1);
        }
        if (DownKeyRepeat && DownKeyRepeat->GetKey(plat::KEY_DOWN) && Index < Count() - 1) {
            PlayClick();
            SetIndex(Index + 1);
        }
    }
    if (DoubleClickCounter > 0) DoubleClickCounter -= Delta;
}

void TListBox::DrawHighlight() {
    if (!Box || !HighlightCol || Index < TopIndex || Index >= GetTempLimit()) return;
    const float line = static_cast<float>(LineHeight) * Scale;
    HighlightCol->Apply();
    plat::DrawRect(Box->X, Box->Y + static_cast<float>(Index - TopIndex) * line + static_cast<float>(HighlightTopBorder),
                   Box->W * Scale, line - static_cast<float>(HighlightTopBorder + HighlightBottomBorder));
    TColor::Restore();
}

void TListBox::DrawLine(const std::string& text, float x, float y, const plat::Ref<TColor>& colour,
                        bool shadowed) {
    const float alpha = colour ? colour->Alpha : 1.0f;
    if (colour) colour->ApplyNoAlpha();
    plat::SetAlpha(alpha);
    if (shadowed) {
        Font->Shadow->ApplyToText();
        TextAlpha = alpha;
    }
    const int alignment = Centred ? 1 : 0;
    if (const auto& bitmap = Font->BitmapFont) {
        const int roundX = Scale == 1.0f ? RoundTextX : 0, roundY = Scale == 1.0f ? RoundTextY : 0;
        if (shadowed) bitmap->DrawAlignedWithShadow(text, x, y, alignment, roundX, roundY);
        else bitmap->DrawAligned(text, x, y, alignment, roundX, roundY, 0);
    } else {
        DrawTextAligned(text, x, y, shadowed ? 1 : 0, alignment, 1);
    }
}

void TListBox::Draw() {
    if (!Box) return;
    plat::SetBlend(plat::ALPHABLEND);
    if (Background && Background->image)
        plat::DrawImage(Background->image, Box->X + static_cast<float>(BackgroundOffsetX),
                        Box->Y + static_cast<float>(BackgroundOffsetY), 0);
    if (DrawBox) Box->Draw();
    if (!Font) return;
    const float x = Centred ? Box->X + Box->W / 2 * Scale : Box->X + static_cast<float>(TextBorder) * Scale;
    float y = Box->Y + static_cast<float>(Gap + LineYOffset) * Scale;
    if (HighlightUnder) DrawHighlight();

    const float savedTextAlpha = TextAlpha;
    Font->Apply();
    if (Font->BitmapFont) Font->ApplyScale(static_cast<double>(Scale) * FontScale);
    else plat::SetScale(Scale, Scale);
    for (int i = TopIndex; i < GetTempLimit(); ++i) {
        const bool selected = i == Index;
        plat::Ref<TColor> colour = Font->Color;
        if (selected && Font->InverseColor) colour = Font->InverseColor;
        else if (!selected && Locked(i) && LockedColor) colour = LockedColor;
        const bool shadowed = Font->Shadow && !(selected && NoShadowOnHighlighted == 1);
        DrawLine(Strings[static_cast<std::size_t>(i)], x, y, colour, shadowed);
        y += static_cast<float>(LineHeight) * Scale;
    }
    if (Font->BitmapFont) Font->RestoreScale();
    else plat::SetScale(1, 1);
    TColor::Restore();
    TextAlpha = savedTextAlpha;
    if (!HighlightUnder) DrawHighlight();
    if (ScrollBar) ScrollBar->Draw();
}

void TListBox::Kill() {
    if (Box) Box->Kill();
    if (Font) Font->Kill();
    Strings.clear();
    HighlightCol = nullptr;
    if (ClickChannel && !(Game && Game->Channels)) plat::StopChannel(ClickChannel);
    ClickChannel = nullptr;
    if (ScrollBar) ScrollBar->Kill();
}

}  // namespace fw
