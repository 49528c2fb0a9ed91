#include "framework/menu.h"

#include <algorithm>

#include "framework/banks.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/mouse.h"
#include "framework/space.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"

namespace fw {

namespace {

plat::Ref<TGameSound> MenuSound(const std::string& name) {
    if (name.empty()) return nullptr;
    return TGameSound::Create((Game ? Game->SoundPath : std::string()) + name + ".wav", 0);
}

}  // namespace

plat::Ref<TMenu> TMenu::Create(const std::string& soundMO, const std::string& soundClick, float newX, float newY,
                               int gap) {
    auto menu = plat::New<TMenu>();
    menu->Init(soundMO, soundClick, newX, newY, gap);
    return menu;
}

void TMenu::Init(const std::string& soundMO, const std::string& soundClick, float newX, float newY, int gap) {
    Clear();
    x = newX;
    y = newY;
    Gap = gap;
    AddGap = 0;
    h = 0;
    NextY = static_cast<int>(newY);
    MouseOverName.clear();
    ClickedName.clear();
    SoundMouseOver = MenuSound(soundMO);
    SoundClick = MenuSound(soundClick);
}

void TMenu::Kill() {
    for (const auto& b : *this)
        if (b) b->Kill();
    Clear();
}

// --- looks ---------------------------------------------------------------------------

void TMenu::SetButtonCaptionRoundCoords(int round, int roundX, int roundY) {
    for (const auto& b : *this) {
        if (!b || !b->Caption) continue;
        b->Caption->RoundCoords = round;
        b->Caption->RoundXCoord = roundX;
        b->Caption->RoundYCoord = roundY;
    }
}

void TMenu::SetShadow(int shadow, float sx, float sy, float alpha) {
    Shadow = shadow;
    ShadowX = sx;
    ShadowY = sy;
    ShadowAlpha = alpha;
}

void TMenu::ResetShadow(int shadow, float sx, float sy, float alpha) {
    for (const auto& b : *this)
        if (b) b->SetShadow(shadow, sx, sy, alpha);
}

void TMenu::ChangeShadow(int shadow, float sx, float sy, float alpha) {
    SetShadow(shadow, sx, sy, alpha);
    ResetShadow(shadow, sx, sy, alpha);
}

void TMenu::SetAlpha(float alpha) {
    for (const auto& b : *this)
        if (b) b->Alpha = alpha;
}

// --- adding buttons ------------------------------------------------------------------

plat::Ref<TButton> TMenu::DoAddNew(const std::string& image, const std::string& imageMO, const std::string& name,
                                   int frameW, int frameH, int frames) {
    auto button = plat::New<TButton>();
    button->UseMenuPath = 1;
    button->Load(image, imageMO, "", "", frameW, frameH, frames);
    button->CentreX(static_cast<float>(NextY));
    button->SoundMouseOver = SoundMouseOver;
    button->SoundClick = SoundClick;
    button->SetShadow(Shadow, ShadowX, ShadowY, ShadowAlpha);
    if (!name.empty()) button->SetName(name);
    AddLast(button);
    return button;
}

plat::Ref<TButton> TMenu::AddNew(const std::string& image, const std::string& imageMO, const std::string& name,
                                 int frameW, int frameH, int frames) {
    auto button = DoAddNew(image, imageMO, name, frameW, frameH, frames);
    IncreaseHeight(button);
    return button;
}

void TMenu::IncreaseHeight(const plat::Ref<TButton>& button) {
    NextY += button->h + Gap;
    h += button->h + (AddGap ? Gap : 0);
    AddGap = 1;
}

plat::Ref<TButton> TMenu::AddQuick(const std::string& image, const std::string& name) {
    return AddNew(image, image + "MO", name, 0, 0, 1);
}

plat::Ref<TButton> TMenu::AddQuickAuto(const std::string& image, const std::string& name) {
    auto button = AddQuick(image, name);
    const std::string base = button->GetPath() + image;
    if (plat::FileExists(base + "_disabled" + ButtonImageExtension)) button->LoadDisabled(image + "_disabled");
    if (plat::FileExists(base + "_down" + ButtonImageExtension)) button->LoadMouseClick(image + "_down", 200);
    return button;
}

void TMenu::AddPair(const std::string& image1, const std::string& image2, int gap, const std::string& prefix) {
    auto first = DoAddNew(image1, image1 + "MO", "", 0, 0, 1);
    auto second = DoAddNew(image2, image2 + "MO", "", 0, 0, 1);
    if (!prefix.empty()) {
        first->name = plat::Upper(prefix) + first->name;
        second->name = plat::Upper(prefix) + second->name;
    }
    second->MoveTo(first->x + static_cast<float>(first->w + gap), second->y);
    IncreaseHeight(first->h > second->h ? first : second);
}

plat::Ref<TButton> TMenu::FindButton(const std::string& name) const {
    const std::string wanted = plat::Upper(name);
    for (const auto& b : *this)
        if (b && b->name == wanted) return b;
    return nullptr;
}

// --- placing -------------------------------------------------------------------------

void TMenu::StoreOriginalCoords() {
    for (const auto& b : *this)
        if (b) b->StoreOriginalCoords();
    OX = x;
    OY = y;
}

void TMenu::SetX(float newX) {
    CalcLeft();
    const float dx = newX - x;
    x = newX;
    for (const auto& b : *this)
        if (b) b->MoveBy(dx, 0);
}

void TMenu::SetY(float newY) {
    CalcTop();
    const float dy = newY - y;
    y = newY;
    for (const auto& b : *this)
        if (b) b->MoveBy(0, dy);
}

void TMenu::SetPairX(const std::string& name1, const std::string& name2, float newX) {
    auto first = FindButton(name1);
    auto second = FindButton(name2);
    if (!first || !second) return;
    const float dx = newX - first->x;
    first->MoveTo(newX, first->y);
    second->MoveBy(static_cast<float>(static_cast<int>(dx)), 0);
}

void TMenu::ScaleMenu(float sx, float sy) {
    for (const auto& b : *this) {
        if (!b) continue;
        b->ScaleX = sx;
        b->ScaleY = sy;
        b->MoveTo(x + sx * (b->ox - x), y + sy * (b->oy - y));
    }
}

float TMenu::Lowest(bool across) const {
    float lowest = 10000;
    for (const auto& b : *this)
        if (b) lowest = std::min(lowest, across ? b->x : b->y);
    return lowest;
}

int TMenu::Extent(bool across) const {
    int low = 10000, high = -10000;
    for (const auto& b : *this) {
        if (!b) continue;
        const float from = across ? b->x : b->y;
        low = std::min(low, static_cast<int>(from));
        high = std::max(high, static_cast<int>(from + static_cast<float>(across ? b->w : b->h)));
    }
    return high - low;
}

void TMenu::CalcLeft() { x = Lowest(true); }

void TMenu::CalcTop() { y = Lowest(false); }

void TMenu::CalcCoords() {
    CalcLeft();
    CalcTop();
}

int TMenu::CalcWidth() {
    w = Extent(true);
    return w;
}

int TMenu::CalcHeight() {
    h = Extent(false);
    return h;
}

void TMenu::CentreHoriz() {
    CalcWidth();
    SetX(static_cast<float>((DrawingWidth() - w) / 2));
}

void TMenu::CentreVert() {
    CalcHeight();
    SetY(static_cast<float>((DrawingHeight() - h) / 2));
}

void TMenu::Centre() {
    CentreHoriz();
    CentreVert();
}

void TMenu::Line(int gap, bool column) {
    // Each button goes where the previous one ended, so buttons of
    // different sizes neither overlap nor leave uneven gaps.
    int next = 0;
    for (const auto& b : *this) {
        if (!b) continue;
        if (column) {
            b->MoveTo(0, static_cast<float>(next));
            next += b->h + gap;
        } else {
            b->MoveTo(static_cast<float>(next), 0);
            next += b->w + gap;
        }
    }
    Centre();
}

void TMenu::MakeColumn(int gap) { Line(gap, true); }

void TMenu::MakeRow(int gap) { Line(gap, false); }

// --- states --------------------------------------------------------------------------

void TMenu::ClearStates() {
    ClearGlow();
    ClearMouseClick();
    ClearMouseOver();
    ClearScale();
}

void TMenu::ClearScale() {
    for (const auto& b : *this)
        if (b) b->ScaleOnMO = 1;
}

void TMenu::ClearGlow() {
    for (const auto& b : *this)
        if (b) b->Glow = 0;
}

void TMenu::ClearMouseClick() {
    for (const auto& b : *this) {
        if (!b) continue;
        b->Clicked = 0;
        b->MouseClickCounter = 0;
    }
}

void TMenu::ClearMouseOver() {
    for (const auto& b : *this)
        if (b) b->MouseOver = 0;
}

int TMenu::Clicked(const std::string& name) {
    if (ClickedName.empty() || plat::Upper(name) != ClickedName) return 0;
    if (ClearClickedName) ClickedName.clear();
    return 1;
}

int TMenu::MouseOver(const std::string& name) {
    if (MouseOverName.empty() || plat::Upper(name) != MouseOverName) return 0;
    if (ClearMouseOverName) MouseOverName.clear();
    return 1;
}

// --- per tick and frame --------------------------------------------------------------

int TMenu::ManageNoSound(float offX, float offY) {
    const int saved = NoSound;
    NoSound = 1;
    const int polled = Manage(offX, offY);
    NoSound = saved;
    return polled;
}

void TMenu::Precache() {
    for (const auto& b : *this)
        if (b) b->Precache();
}

int TMenu::Manage(float offX, float offY) {
    if ((Game && Game->GameFade && Game->GameFade->Active) || !AcceptInput) {
        ManageFixedGlowOnly();
        return 0;
    }
    if (!Game || !Game->Mouse || !Game->Mouse->Active) return 0;
    MouseOverName.clear();
    ClickedName.clear();
    for (const auto& b : *this) {
        if (!b) continue;
        b->offx = offX;
        b->offy = offY;
        if (NoSound) b->ManageNoSound();
        else b->Manage();
        if (b->MouseOver) MouseOverName = b->name;
        if (b->Clicked) ClickedName = b->name;
    }
    return 1;
}

void TMenu::ManageFixedGlowOnly() {
    for (const auto& b : *this)
        if (b && b->FixedGlowOnMO == 1) b->ManageGlow();
}

void TMenu::ManageScaleOnMO() {
    for (const auto& b : *this)
        if (b) b->ManageScaleOnMO();
}

void TMenu::Draw(float offX, float offY) {
    for (const auto& b : *this) {
        if (!b) continue;
        b->offx = offX;
        b->offy = offY;
        b->Draw();
    }
}

}  // namespace fw
