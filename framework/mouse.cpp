#include "framework/mouse.h"

#include <cmath>

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/particles.h"
#include "framework/space.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"

namespace fw {

TMousePointer::TMousePointer() : ParticleList(plat::New<TParticleList>()) {}

void TMousePointer::On() { Active = 1; }

void TMousePointer::Off() {
    Active = 0;
    if (ParticleList) ParticleList->Clear();
}

void TMousePointer::Load(const std::string& name) {
    Image = LoadImageOrDie(Game->ImagePath + name + Ext, -1);
    plat::SetImageHandle(Image, static_cast<float>(offsetx), static_cast<float>(offsety));
    CalcSize();
}

void TMousePointer::CalcSize() {
    if (!Image) return;
    w = Image->width;
    h = Image->height;
}

void TMousePointer::Update() {
    x = plat::MouseX();
    y = plat::MouseY();
    b1 = plat::MouseDown(1);
    b2 = plat::MouseDown(2);
    b3 = plat::MouseDown(3);
    h1 = plat::MouseHit(1);
    h2 = plat::MouseHit(2);
    h3 = plat::MouseHit(3);
    CalcButtonTotals();
}

int TMousePointer::Manage() {
    if (!Active) return 0;
    if (ParticleFunc) {
        ParticleFunc();
        if (ParticleList) ParticleList->Manage();
    }
    return 1;
}

void TMousePointer::UpdateCoords() {
    if (!plat::GraphicsOpen()) return;
    int cx = 0, cy = 0;
    plat::CursorPos(cx, cy);
    if (Game) {
        Game->SetClientCoords();
        x = cx - Game->ClientX;
        y = cy - Game->ClientY;
    }
}

void TMousePointer::ClearButtons() {
    b1 = b2 = b3 = 0;
    mb = 0;
    ClearMouseHit();
}

void TMousePointer::ClearMouseHit() {
    h1 = h2 = h3 = 0;
    mh = 0;
}

int TMousePointer::GetMb() { return mb; }

int TMousePointer::GetMh(int clear) {
    int result = mh;
    if (clear) ClearMouseHit();
    return result;
}

void TMousePointer::CalcButtonTotals() {
    mb = b1 + b2 + b3;
    mh = h1 + h2 + h3;
}

void TMousePointer::Draw() {
    if (Game && Game->FullScreen == 0) UpdateCoords();
    if (!Active) return;
    // The position is kept in window pixels, as the events give it; the
    // pointer is drawn where the widgets hit-test it, in the drawing space.
    const DrawingPoint at = WindowToDrawingSpace(static_cast<float>(x), static_cast<float>(y));
    if (ParticleList) ParticleList->Draw();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetRotation(static_cast<float>(Rotation));
    if (Image2) {
        plat::SetScale(Image2Scale, Image2Scale);
        plat::DrawImage(Image2, at.x + static_cast<float>(Image2xoff), at.y + static_cast<float>(Image2yoff),
                        Image2Frame);
        plat::SetScale(1, 1);
    }
    if (Image) {
        plat::DrawImage(Image, at.x, at.y, ImageFrame);
    } else {
        plat::Plot(at.x, at.y);
    }
    plat::SetRotation(0);
    if (UserDraw) UserDraw(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)));
}

// --- repeaters -------------------------------------------------------------------

void TKeyRepeat::ClearDelays() {
    InitialDelayCounter = 0;
    DelayCounter = 0;
}

plat::Ref<TKeyRepeat> TKeyRepeat::Create(int initialDelayMs, int delayMs) {
    auto r = plat::New<TKeyRepeat>();
    r->InitialDelayLength = initialDelayMs;
    r->DelayLength = delayMs;
    return r;
}

namespace {

// The shared repeat rule; `down` is the held state, `first` and `repeat`
// the results for the first press and for the repeats.
template <class R>
int RepeatStep(R& r, bool down, int first, int repeat) {
    if (!down) {
        r.ClearDelays();
        r.LastState = 0;
        return 0;
    }
    int result = 0;
    if (r.LastState == 0) {
        r.InitialDelayCounter = Game->CalcAnimLength(r.InitialDelayLength);
        result = first;
    } else if (r.InitialDelayCounter > 0) {
        r.InitialDelayCounter -= Delta;
        if (!(r.InitialDelayCounter > 0)) {
            r.InitialDelayCounter = 0;
            r.DelayCounter = static_cast<int>(Game->CalcAnimLength(r.DelayLength));
            result = repeat;
        }
    } else if (r.DelayCounter > 0) {
        r.DelayCounter = static_cast<int>(static_cast<float>(r.DelayCounter) - Delta);
        if (r.DelayCounter <= 0) {
            r.DelayCounter = static_cast<int>(Game->CalcAnimLength(r.DelayLength));
            result = repeat;
        }
    }
    r.LastState = 1;
    return result;
}

}  // namespace

int TKeyRepeat::GetKey(int keyCode) { return RepeatStep(*this, KeyDownCode(keyCode) != 0, 1, 1); }

void TMouseRepeat::ClearDelays() {
    InitialDelayCounter = 0;
    DelayCounter = 0;
}

plat::Ref<TMouseRepeat> TMouseRepeat::Create(int initialDelayMs, int delayMs) {
    auto r = plat::New<TMouseRepeat>();
    r->InitialDelayLength = initialDelayMs;
    r->DelayLength = delayMs;
    return r;
}

int TMouseRepeat::GetButton() { return RepeatStep(*this, Game->Mouse->GetMb() != 0, 1, 2); }

}  // namespace fw
