#include "framework/sprite.h"

#include <cmath>

#include "framework/animation.h"
#include "framework/banks.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "framework/timing.h"
#include "platform/core/random.h"
#include "platform/core/text.h"
#include "platform/gfx/draw.h"

namespace fw {

namespace {

float Rounded(float v) { return std::floor(v + 0.5f); }

}  // namespace

TSprite::TSprite() : GlowCounter(plat::New<TSineCounter>()) {}

TSprite::~TSprite() = default;

// --- set-up ----------------------------------------------------------------------

plat::Ref<TSprite> TSprite::Create(const plat::Ref<TGameImage>& image, float x, float y) {
    return Place<TSprite>(image, x, y);
}

plat::Ref<TSprite> TSprite::CreateFromFile(const std::string& file, float x, float y, int centre,
                                           int flags) {
    auto image = TGameImage::Create((Game ? Game->ImagePath : std::string()) + file + ".png", flags, 1);
    auto sprite = Create(image, x, y);
    if (centre) sprite->SetPosition(static_cast<float>(DrawingWidth() / 2), static_cast<float>(DrawingHeight() / 2));
    return sprite;
}

void TSprite::Init() {}

void TSprite::SetImage(const plat::Ref<TGameImage>& newImage) {
    image = newImage;
    GetSize();
}

void TSprite::GetSize() {
    if (!image) return;
    w = image->w;
    h = image->h;
    w2 = image->w2;
    h2 = image->h2;
}

void TSprite::SetName(const std::string& newName) { name = plat::Upper(newName); }

void TSprite::SetPosition(float newX, float newY) {
    x = newX;
    y = newY;
}

void TSprite::SetShadow(int on, float sx, float sy, float alpha) {
    Shadow = on;
    ShadowX = sx;
    ShadowY = sy;
    ShadowAlpha = alpha;
}

void TSprite::SetScaleXY(float sx, float sy) {
    ScaleX = sx;
    ScaleY = sy != 0 ? sy : sx;
}

void TSprite::Centre() {
    if (image) image->MidHandle(1);
    if (UseVirtualResolution == 1) {
        x = static_cast<float>(VirtualWidth / 2);
        y = static_cast<float>(VirtualHeight / 2);
    } else if (UseVirtualResolution == 0) {
        x = static_cast<float>(ScreenWidth / 2);
        y = static_cast<float>(ScreenHeight / 2);
    }
}

void TSprite::CentreX(float newY) {
    if (image) image->MidHandle(1);
    x = static_cast<float>(DrawingWidth() / 2);
    y = newY;
}

void TSprite::ClearRotation() { Rotation = 0; }

void TSprite::ClearScale() { ScaleX = ScaleY = 1.0f; }

void TSprite::ClearTransformations() {
    ClearScale();
    ClearRotation();
}

void TSprite::StoreCentreCoords() {
    cx = x;
    cy = y;
}

void TSprite::StoreOriginalCoords() {
    ox = x;
    oy = y;
}

void TSprite::ScaleOriginalCoords() {
    x = ox * BaseScaleX;
    y = oy * BaseScaleY;
}

float TSprite::Width() const { return static_cast<float>(w) * ScaleX; }

float TSprite::Height() const { return static_cast<float>(h) * ScaleY; }

void TSprite::Stop() { dx = dy = 0; }

void TSprite::Kill() {
    // The reference goes before the attached sprite dies, so sprites
    // attached in a ring stop at the one already being killed.
    const plat::Ref<TSprite> attached = std::move(AttachedSprite);
    if (attached && KillAttachedSprite == 1) attached->Kill();
}

// --- animation -------------------------------------------------------------------

void TSprite::SetupAnim(int frames, int lengthMs, int counterDir, int reverse, int randomStart,
                        int pingPong, int loop) {
    frame = 0;
    FramesTotal = frames;
    AnimLength = static_cast<int>(TicksFromMs(static_cast<float>(lengthMs)));
    AnimCounterDir = counterDir;
    AnimReverse = reverse;
    PingPong = pingPong;
    FrameLength = static_cast<float>(AnimLength) / static_cast<float>(frames > 0 ? frames : 1);
    Loop = loop;
    if (randomStart) {
        RandomiseAnimPos();
    } else if (counterDir == 0) {
        AnimCounter = reverse ? 0.01f : static_cast<float>(AnimLength);
    } else {
        AnimCounter = reverse ? static_cast<float>(AnimLength) : 0.0f;
    }
}

int TSprite::ManageAnim() {
    if (FramesTotal < 2) return 0;
    const bool up = (AnimCounterDir == 1 && AnimReverse == 0) || (AnimCounterDir != 1 && AnimReverse != 0);
    int result = 0;
    if (up) {
        AnimCounter += Delta;
        result = AnimBoundsCheckUpper();
    } else {
        AnimCounter -= Delta;
        result = AnimBoundsCheckLower();
    }
    frame = GetAnimFrame();
    return result;
}

int TSprite::AnimBoundsCheckLower() {
    if (AnimCounter > 0) return 0;
    if (PingPong) {
        // Mirrored back inside, one frame in; the counter now rises.
        AnimCounter = -AnimCounter + FrameLength;
        if (AnimCounter == 0) AnimCounter = 0.01f;
        AnimReverse = AnimCounterDir != 1 ? 1 : 0;
        return 1;
    }
    if (Loop) {
        if (LoopCount > 0 && --LoopCount == 0) {
            Loop = 0;
            AnimCounter = 0.01f;
            return 1;
        }
        AnimCounter += static_cast<float>(AnimLength);
    } else {
        AnimCounter = 0.01f;
    }
    if (AnimStoppedFunction) AnimStoppedFunction(*this);
    return 1;
}

int TSprite::AnimBoundsCheckUpper() {
    const float length = static_cast<float>(AnimLength);
    if (AnimCounter < length) return 0;
    if (PingPong) {
        AnimCounter = length - (AnimCounter - length) - FrameLength;
        AnimReverse = AnimCounterDir != 1 ? 0 : 1;
        return 1;
    }
    if (Loop) {
        if (LoopCount > 0 && --LoopCount == 0) {
            Loop = 0;
            AnimCounter = length;
            return 1;
        }
        AnimCounter -= length;
    } else {
        AnimCounter = length;
    }
    if (AnimStoppedFunction) AnimStoppedFunction(*this);
    return 1;
}

int TSprite::GetAnimFrame() const { return LerpIndex(AnimCounter, AnimLength, FramesTotal, AnimCounterDir); }

void TSprite::RandomiseAnimPos() {
    // The range [0.01, AnimLength) is empty for a pass of no length.
    const double length = static_cast<double>(AnimLength);
    AnimCounter = length > 0.01 ? static_cast<float>(plat::Rnd(0.01, length)) : 0.0f;
}

void TSprite::StopAnim() {
    AnimCounter = 0;
    FramesTotal = 1;
}

// --- rotation, scale, glow ------------------------------------------------------------

void TSprite::SetupRotation(float newSpeed, int lengthMs, int loop, int randomAngle) {
    RotationSpeed = newSpeed;
    if (loop) {
        RotationLoop = 1;
        if (randomAngle) Rotation = static_cast<float>(plat::Rnd(0.0, 360.0));
    } else {
        RotationLength = static_cast<int>(TicksFromMs(static_cast<float>(lengthMs)));
        RotationCounter = static_cast<float>(RotationLength);
    }
}

void TSprite::ManageRotation() {
    if (RotationLoop) {
        Rotation += RotationSpeed * Delta;
        if (Rotation >= 360) Rotation -= 360;
        if (Rotation < 0) Rotation += 360;
    } else if (RotationCounter > 0) {
        RotationCounter -= Delta;
        Rotation += RotationSpeed * Delta;
    }
}

void TSprite::SetupScale(float xSpeed, float ySpeed, int lengthMs) {
    ScaleXSpeed = xSpeed;
    ScaleYSpeed = ySpeed;
    ScaleLength = static_cast<int>(TicksFromMs(static_cast<float>(lengthMs)));
    ScaleCounter = static_cast<float>(ScaleLength);
}

void TSprite::ManageScale() {
    if (!(ScaleCounter > 0)) return;
    ScaleCounter -= Delta;
    ScaleX += ScaleXSpeed * Delta;
    ScaleY += ScaleYSpeed * Delta;
}

void TSprite::SetGlow(int mode, float glow, float glowSpeed, float min, float max) {
    GlowMode = mode;
    Glow = glow;
    GlowSpeed = glowSpeed;
    GlowMin = min;
    GlowMax = max;
    GlowRange = max - min;
    if (mode == 3) {
        if (!GlowCounter) GlowCounter = plat::New<TSineCounter>();
        GlowCounter->Init(0, 360, glowSpeed, 0);
    }
}

void TSprite::ManageGlow() {
    if (GlowMode == 2) {
        if (Glow > 0) {
            Glow -= GlowSpeed * Delta;
            if (Glow < 0) Glow = 0;
        }
    } else if (GlowMode == 3 && GlowCounter) {
        GlowCounter->Manage();
        Glow = GlowMin + GlowRange * std::fabs(GlowCounter->ratio);
    }
}

// --- movement --------------------------------------------------------------------------

int TSprite::Move() {
    x += dx * Delta;
    y += dy * Delta;
    if (xgravity != 0) dx += xgravity * Delta;
    if (ygravity != 0) dy += ygravity * Delta;
    return 1;
}

void TSprite::MoveOriginalCoords() {
    ox += dx * Delta;
    oy += dy * Delta;
    if (xgravity != 0) dx += xgravity * Delta;
    if (ygravity != 0) dy += ygravity * Delta;
}

void TSprite::MoveAttachedSprite() {
    if (!AttachedSprite) return;
    AttachedSprite->x += dx * Delta;
    AttachedSprite->y += dy * Delta;
}

void TSprite::MoveLeft() {
    x -= xspeed * Delta;
    BoundsCheck();
}

void TSprite::MoveRight() {
    x += xspeed * Delta;
    BoundsCheck();
}

void TSprite::MoveUp() {
    y -= yspeed * Delta;
    BoundsCheck();
}

void TSprite::MoveDown() {
    y += yspeed * Delta;
    BoundsCheck();
}

void TSprite::MoveForward() {
    const double a = Rotation * M_PI / 180.0;
    dx = static_cast<float>(std::sin(a) * speed);
    dy = static_cast<float>(-std::cos(a) * speed);
    Move();
}

void TSprite::BoundsCheck() {
    const float right = static_cast<float>(DrawingWidth()) - w2;
    const float bottom = static_cast<float>(DrawingHeight()) - h2;
    if (x < w2) x = w2;
    else if (x > right) x = right;
    if (y < h2) y = h2;
    else if (y > bottom) y = bottom;
}

int TSprite::OutOfBounds() const {
    const float sw = static_cast<float>(DrawingWidth());
    const float sh = static_cast<float>(DrawingHeight());
    // Without an image the sprite is a point at its position.
    if (image && image->midhandled)
        return (x < -w2 || x > sw + w2 || y < -h2 || y > sh + h2) ? 1 : 0;
    return (x < static_cast<float>(-w) || x > sw || y < static_cast<float>(-h) || y > sh) ? 1 : 0;
}

// --- drawing ----------------------------------------------------------------------------

int TSprite::DrawFrame() const {
    return AnimCounter > 0 ? LerpIndex(AnimCounter, AnimLength, FramesTotal, AnimCounterDir) : ImageFrame;
}

const plat::Ref<TGameImage>& TSprite::DrawnImage() const { return AlternativeImage ? AlternativeImage : image; }

void TSprite::Draw() {
    DoDraw();
    if (GlowMode > 0) DrawLight(Glow, 1, 1, 1, nullptr);
}

void TSprite::DoDraw() {
    if (!visible) return;
    plat::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);
    plat::SetRotation(Rotation);
    if (UseAlpha) plat::SetAlpha(Alpha);
    if (Color) Color->ApplyNoAlpha();
    if (RoundCoords) DrawRounded();
    else DrawNormal();
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    if (UseAlpha) plat::SetAlpha(1);
    if (Color) plat::SetColor(255, 255, 255);
}

void TSprite::DrawAt(bool rounded) {
    const int f = DrawFrame();
    const plat::Ref<TGameImage>& img = DrawnImage();
    DrawShadow(img, f, 0);
    if (!img || !img->image) return;
    float px = UseOffset ? x + offx : x;
    float py = UseOffset ? y + offy : y;
    if (rounded) {
        px = Rounded(px);
        py = Rounded(py);
    }
    plat::DrawImage(img->image, px, py, f);
}

void TSprite::DrawNormal() { DrawAt(false); }

void TSprite::DrawRounded() { DrawAt(true); }

void TSprite::DrawShadow(const plat::Ref<TGameImage>& img, int f, int scrolled) {
    if (!Shadow || !img || !img->image) return;
    int r = 255, g = 255, b = 255;
    plat::GetColor(r, g, b);
    const float alpha = plat::GetAlpha();
    plat::SetColor(0, 0, 0);
    plat::SetAlpha(ShadowAlpha * Alpha);
    float px = (UseOffset ? x + offx : x) + ShadowX;
    float py = (UseOffset ? y + offy : y) + ShadowY;
    if (scrolled && Game) {
        px -= Game->ScrollX;
        py -= Game->ScrollY;
    }
    if (RoundCoords && !scrolled) {
        px = Rounded(px);
        py = Rounded(py);
    }
    plat::DrawImage(img->image, px, py, f);
    if (Color) Color->ApplyNoAlpha();
    else plat::SetColor(r, g, b);
    // The alpha in force before the shadow (Alpha while UseAlpha is on).
    plat::SetAlpha(alpha);
}

void TSprite::DrawWithOffset() {
    plat::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);
    plat::SetRotation(Rotation);
    if (UseAlpha) plat::SetAlpha(Alpha);
    const int f = DrawFrame();
    const plat::Ref<TGameImage>& img = DrawnImage();
    DrawShadow(img, f, 1);
    if (img && img->image) {
        const float scrollX = Game ? Game->ScrollX : 0.0f;
        const float scrollY = Game ? Game->ScrollY : 0.0f;
        const float px = x - scrollX + (UseOffset ? offx : 0.0f);
        const float py = y - scrollY + (UseOffset ? offy : 0.0f);
        plat::DrawImage(img->image, px, py, f);
    }
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    if (UseAlpha) plat::SetAlpha(1);
}

int TSprite::DrawLight(float alpha, float r, float g, float b, const plat::Ref<TGameImage>& lightImage) {
    if (!visible) return 0;
    plat::SetBlend(plat::LIGHTBLEND);
    plat::SetColor(static_cast<int>(255 * alpha * r), static_cast<int>(255 * alpha * g),
                   static_cast<int>(255 * alpha * b));
    // The light pass draws the given image in place of what the sprite
    // shows, and leaves the sprite showing what it showed before.
    const plat::Ref<TGameImage> previous = AlternativeImage;
    if (lightImage) AlternativeImage = lightImage;
    DoDraw();
    AlternativeImage = previous;
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetColor(255, 255, 255);
    return 1;
}

}  // namespace fw
