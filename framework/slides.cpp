#include "framework/slides.h"

#include "framework/banks.h"
#include "framework/drawing.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "framework/timing.h"
#include "platform/gfx/draw.h"

namespace fw {

// --- TTransitionEffect -----------------------------------------------------------

plat::Ref<TTransitionEffect> TTransitionEffect::Create(int type, int ms) {
    auto e = plat::New<TTransitionEffect>();
    e->EffectType = type;
    e->Length = static_cast<int>(TicksFromMs(static_cast<float>(ms)));
    return e;
}

plat::Ref<TTransitionEffect> TTransitionEffect::CreateCopy() const {
    auto e = plat::New<TTransitionEffect>();
    e->EffectType = EffectType;
    e->Length = Length;
    e->ScrollSpeedX = ScrollSpeedX;
    e->ScrollSpeedY = ScrollSpeedY;
    e->MaskImage = MaskImage;
    e->MaskStartSize = MaskStartSize;
    e->MaskEndSize = MaskEndSize;
    return e;
}

// --- TSlide -------------------------------------------------------------------------

plat::Ref<TSlide> TSlide::Create(const std::string& image, int imageArg, int centred,
                                 const plat::Ref<TTransitionEffect>& in,
                                 const plat::Ref<TTransitionEffect>& hold,
                                 const plat::Ref<TTransitionEffect>& out, const std::string& /*name*/) {
    auto s = plat::New<TSlide>();
    if (!image.empty()) s->Image = TGameImage::Create(image, imageArg, centred);
    s->InEffect = in;
    s->HoldEffect = hold;
    s->OutEffect = out;
    s->Centred = centred;
    if (centred) s->CentreCoords();
    s->CurrentEffect = in ? in : (hold ? hold : out);
    return s;
}

void TSlide::CentreCoords() {
    if (!Image) return;
    x = static_cast<float>(DrawingWidth() / 2);
    y = static_cast<float>(DrawingHeight() / 2);
}

void TSlide::Kill() {
    Image = nullptr;
    LastSlide = nullptr;
}

void TSlide::StoreOriginalCoords() {
    ox = x;
    oy = y;
}

void TSlide::MoveByEffect() {
    if (!CurrentEffect) return;
    x -= CurrentEffect->ScrollSpeedX * Delta;
    y -= CurrentEffect->ScrollSpeedY * Delta;
    scale += CurrentEffect->ZoomSpeed * Delta;
}

int TSlide::Manage() {
    // A slide without effects has nothing to play.
    if (!CurrentEffect) return 1;
    if (!UserManage || UserManage(*this) != 0) {
        MoveByEffect();
        // The slide this one cross-fades from keeps moving underneath.
        if (CurrentEffect->EffectType == 3 && LastSlide) LastSlide->MoveByEffect();
    }
    Counter += Delta;
    if (Counter < static_cast<float>(CurrentEffect->Length)) return 0;
    Counter -= static_cast<float>(CurrentEffect->Length);
    plat::Ref<TTransitionEffect> next;
    if (CurrentEffect == InEffect) next = HoldEffect ? HoldEffect : OutEffect;
    else if (CurrentEffect == HoldEffect) next = OutEffect;
    if (!next) return 1;
    CurrentEffect = next;
    return 0;
}

void TSlide::DrawPicture() {
    if (Image && Image->image) {
        plat::SetScale(scale, scale);
        plat::DrawImage(Image->image, x, y, 0);
    }
    plat::SetBlend(plat::ALPHABLEND);
    if (UserDraw) UserDraw(*this);
    plat::SetScale(1, 1);
}

void TSlide::Draw() {
    const int type = CurrentEffect ? CurrentEffect->EffectType : 0;
    const float length = CurrentEffect ? static_cast<float>(CurrentEffect->Length) : 0.0f;
    // A phase of no length is over: its end state.
    const float r = length > 0 ? Counter / length : 1.0f;

    plat::SetBlend(plat::SOLIDBLEND);
    if (type == 3) {
        // The first slide has nothing to cross-fade from: its picture comes
        // up over what is there.
        if (LastSlide) {
            LastSlide->DrawPicture();
            plat::SetAlpha(1);
        }
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetAlpha(r);
    }
    DrawPicture();
    plat::SetAlpha(1);

    const bool masked = CurrentEffect && CurrentEffect->MaskImage;
    const float maskSize =
        masked ? CurrentEffect->MaskStartSize + r * (CurrentEffect->MaskEndSize - CurrentEffect->MaskStartSize) : 1.0f;
    const bool andFade = CurrentEffect && CurrentEffect->MaskAndFade;
    if (masked && (type == 0 || type == 3)) DrawMask(CurrentEffect->MaskEndSize);
    if (type == 1) {
        if (masked) DrawMask(maskSize);
        if (!masked || andFade) FadeScreen(1 - r);
    } else if (type == 2) {
        if (masked) DrawMask(maskSize);
        if (!masked || andFade) FadeScreen(r);
    }
}

void TSlide::DrawMask(float size) {
    if (!CurrentEffect || !CurrentEffect->MaskImage || !CurrentEffect->MaskImage->image) return;
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetScale(size, size);
    plat::DrawImage(CurrentEffect->MaskImage->image, static_cast<float>(DrawingWidth() / 2),
                    static_cast<float>(DrawingHeight() / 2), 0);
    plat::SetScale(1, 1);
}

// --- TSlideShow ----------------------------------------------------------------------

plat::Ref<TSlideShow> TSlideShow::Create() { return plat::New<TSlideShow>(); }

plat::Ref<TSlide> TSlideShow::AddSlide(const std::string& image, int imageArg, int centred,
                                       const plat::Ref<TTransitionEffect>& in,
                                       const plat::Ref<TTransitionEffect>& hold,
                                       const plat::Ref<TTransitionEffect>& out, const std::string& name) {
    auto s = TSlide::Create(image, imageArg, centred, in, hold, out, name);
    AddLast(s);
    return s;
}

void TSlideShow::Kill() {
    for (const auto& s : *this) s->Kill();
    Clear();
}

plat::Ref<TSlide> TSlideShow::GetCurrentSlide() const {
    int i = 0;
    for (const auto& s : *this)
        if (i++ == CurrentSlide) return s;
    return nullptr;
}

void TSlideShow::PreCache() {
    for (const auto& s : *this)
        if (s->Image) s->Image->Precache();
}

int TSlideShow::Manage() {
    if (Finished) return 0;
    const plat::Ref<TSlide> current = GetCurrentSlide();
    // An empty show (or one past its end) is over at once.
    if (current && current->Manage() != 1) return 0;
    ++CurrentSlide;
    if (CurrentSlide >= Count()) {
        Finished = 1;
        CurrentSlide = Count() > 0 ? Count() - 1 : 0;
        return 1;
    }
    GetCurrentSlide()->LastSlide = current;
    return 2;
}

void TSlideShow::Draw() {
    if (Finished) return;
    if (const plat::Ref<TSlide> current = GetCurrentSlide()) current->Draw();
    plat::SetBlend(plat::SOLIDBLEND);
    if (LetterBoxHeight > 0) {
        const int w = DrawingWidth(), h = DrawingHeight();
        const int bar = (h - LetterBoxHeight) / 2;
        plat::SetColor(0, 0, 0);
        plat::DrawRect(0, 0, static_cast<float>(w), static_cast<float>(bar));
        plat::DrawRect(0, static_cast<float>(h - bar), static_cast<float>(w), static_cast<float>(bar));
    }
    plat::SetColor(255, 255, 255);
    plat::SetBlend(plat::ALPHABLEND);
}

// --- slide lines ---------------------------------------------------------------------

TSlideLine::TSlideLine() : Color(plat::New<TColor>()) {}

void TSlideLine::InitLine(const std::string& lineText, float startX, float startY, float endX, float endY,
                          int length) {
    Init(length, 0, 0, 0, 0);
    text = lineText;
    StartX[0] = startX;
    StartY[0] = startY;
    EndX[0] = endX;
    EndY[0] = endY;
    CalcDistance();
}

int TSlideLine::AddPhaseSpecial(float startX, float startY, float endX, float endY, int length) {
    if (TotalPhases >= MAX_PHASES) return 0;
    const auto i = static_cast<std::size_t>(TotalPhases);
    StartX[i] = startX;
    StartY[i] = startY;
    EndX[i] = endX;
    EndY[i] = endY;
    return AddPhase(length);
}

void TSlideLine::CalcDistance() {
    if (CurrentPhase < 0 || CurrentPhase >= MAX_PHASES) return;
    const auto i = static_cast<std::size_t>(CurrentPhase);
    DX = EndX[i] - StartX[i];
    DY = EndY[i] - StartY[i];
}

float TSlideLine::GetX() const {
    if (!Active) return EndX[static_cast<std::size_t>(TotalPhases - 1)];
    return StartX[static_cast<std::size_t>(CurrentPhase)] + (1 - GetRatio()) * DX;
}

float TSlideLine::GetY() const {
    if (!Active) return EndY[static_cast<std::size_t>(TotalPhases - 1)];
    return StartY[static_cast<std::size_t>(CurrentPhase)] + (1 - GetRatio()) * DY;
}

int TSlideLine::Manage() {
    const int changed = TAnimation::Manage();
    if (changed == 1) CalcDistance();
    return changed;
}

void TSlideLine::Draw() {
    if (Color) Color->Apply();
    plat::DrawText(text, GetX(), GetY());
    TColor::Restore();
}

void TSlideLine::AttachObject(const plat::Ref<plat::Object>& object) { AttachedObject = object; }

TSlideLineList::TSlideLineList() : Color(plat::New<TColor>()) {}

plat::Ref<TSlideLine> TSlideLineList::Add(const std::string& text, float startX, float startY, float endX,
                                          float endY, int length) {
    auto line = plat::New<TSlideLine>();
    line->InitLine(text, startX, startY, endX, endY, length);
    line->Color = Color;
    AddLast(line);
    return line;
}

void TSlideLineList::Start() {
    for (const auto& line : *this) line->Start();
}

void TSlideLineList::Manage() {
    for (const auto& line : *this) line->Manage();
}

void TSlideLineList::Draw() {
    for (const auto& line : *this) line->Draw();
    plat::SetColor(255, 255, 255);
}

}  // namespace fw
