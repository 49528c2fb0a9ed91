#include "framework/fade.h"

#include <algorithm>

#include "framework/animation.h"
#include "framework/blocking.h"
#include "framework/drawing.h"
#include "framework/game.h"
#include "framework/space.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"

namespace fw {

namespace {

double Now() { return static_cast<double>(plat::MilliSecs64()); }

}  // namespace

// --- TFade ---------------------------------------------------------------------

void TFade::Init(float lengthMs, const plat::Ref<plat::TImage>& image,
                 const plat::Ref<plat::TChannel>& channel) {
    Length = lengthMs;
    Image = image;
    Channel = channel;
    Reset();
}

void TFade::Reset() {
    StartTime = Now();
    Elapsed = 0;
    LastTime = StartTime;
}

void TFade::CentreImage() {
    if (!Image) return;
    X = (DrawingWidth() - Image->width) / 2;
    Y = (DrawingHeight() - Image->height) / 2;
}

int TFade::FadeDo(int out) {
    Out = out;
    TBlockingLoop loop(true);
    while (Elapsed <= Length) {
        if (loop.Interrupted()) {
            ResetDrawState();
            return -1;
        }
        const double now = Now();
        Elapsed = static_cast<float>(now - StartTime);
        // A fade of no length shows its end state at once.
        float ratio = Length > 0 ? std::clamp(Elapsed / Length, 0.0f, 1.0f) : 1.0f;
        Ratio = Out ? 1.0f - ratio : ratio;
        if (Background) MoveBackground(now, Elapsed);
        Draw();
        loop.FrameDone();
    }
    ResetDrawState();
    return 1;
}

int TFade::WaitForTime(float ms) {
    Out = -1;
    Reset();
    Ratio = 1;
    TBlockingLoop loop(false);
    while (!(Elapsed > ms)) {
        const double now = Now();
        Elapsed = static_cast<float>(now - StartTime);
        if (loop.Interrupted()) return -1;
        if (Background) MoveBackground(now, Elapsed);
        Draw();
        loop.FrameDone();
    }
    return 0;
}

void TFade::MoveBackground(double now, float elapsed) {
    const float dt = static_cast<float>((now - LastTime) / 1000.0);
    BackgroundX += BackgroundXSpeed * dt;
    BackgroundY += BackgroundYSpeed * dt;
    BackgroundZoom += BackgroundZoomSpeed * dt;
    const float fade = BackgroundFadeTime;
    if (Out == -1) {
        BackgroundAlpha = 1;
    } else if (Out == 0) {
        // Without a fade time the background is there at once.
        BackgroundAlpha = fade > 0 ? std::min(elapsed / fade, 1.0f) : 1.0f;
    } else {
        const float intoFade = elapsed - (Length - fade);
        if (fade > 0) BackgroundAlpha = std::clamp(1.0f - intoFade / fade, 0.0f, 1.0f);
        else BackgroundAlpha = intoFade >= 0 ? 0.0f : 1.0f;
    }
    LastTime = now;
}

void TFade::Draw() {
    plat::Cls();
    if (Background) {
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetScale(BackgroundZoom, BackgroundZoom);
        plat::SetAlpha(BackgroundAlpha);
        plat::DrawImage(Background, -BackgroundX * BackgroundZoom, -BackgroundY * BackgroundZoom, 0);
        plat::SetScale(1, 1);
    }
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(Ratio);
    if (Image) plat::DrawImage(Image, static_cast<float>(X), static_cast<float>(Y), 0);
    if (Channel && Game) Channel->SetVolume(Ratio * static_cast<float>(Game->SoundVolume) / 100.0f);
    FlipScreen();
}

void TFade::Full() {
    Ratio = 1;
    Draw();
}

void TFade::Zero() {
    Ratio = 0;
    Draw();
}

// --- TCrossFade ------------------------------------------------------------------

plat::Ref<TCrossFade> TCrossFade::Create(const plat::Ref<plat::TImage>& image1,
                                         const plat::Ref<plat::TImage>& image2, int lengthMs) {
    auto fade = plat::New<TCrossFade>();
    fade->Init(image1, image2, lengthMs);
    return fade;
}

void TCrossFade::Init(const plat::Ref<plat::TImage>& image1, const plat::Ref<plat::TImage>& image2,
                      int lengthMs) {
    Image1 = image1;
    Image2 = image2;
    Anim = TAnimation::Create(lengthMs, 0, 0, 0, 0);
    Anim->Start();
}

void TCrossFade::Manage() {
    if (Anim) Anim->Manage();
}

void TCrossFade::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    if (Image1) plat::DrawImage(Image1, X1, Y1, 0);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(Anim ? Anim->GetRatioInv() : 1.0f);
    if (Image2) plat::DrawImage(Image2, X2, Y2, 0);
    plat::SetAlpha(1);
}

void TCrossFade::SetImage1Coords(float x, float y) {
    X1 = x;
    Y1 = y;
}

void TCrossFade::SetImage2Coords(float x, float y) {
    X2 = x;
    Y2 = y;
}

// --- the screen fade of the drawing helpers ---------------------------------------

int StartScreenFade(float lengthMs, int out, const plat::Ref<plat::TChannel>& channel) {
    // What is on the screen now, at the size it is drawn at.
    auto image = plat::CreateImage(DrawingWidth(), DrawingHeight(), 1, 0);
    if (!image) return 1;
    plat::SetImageHandle(image, 0, 0);
    plat::GrabImage(image, 0, 0, 0);
    TFade fade;
    fade.Init(lengthMs, image, channel);
    const int result = fade.FadeDo(out);
    ResetDrawState();
    return result;
}

}  // namespace fw
