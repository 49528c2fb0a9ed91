#include "framework/button.h"

#include <algorithm>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/fonts.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/shapes.h"
#include "framework/space.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"

namespace fw {

std::string ButtonSoundExtension = ".wav";
std::string ButtonImageExtension = ".png";

namespace {

// A click of any mouse button since the last read, taken so that the next
// button polled in the same tick does not see it again.
int TakeMouseHit() { return Game && Game->Mouse ? Game->Mouse->GetMh(1) : 0; }

}  // namespace

plat::Ref<TButton> TButton::CreateSpecial(const std::string& image, const std::string& imageMO,
                                          const std::string& soundMO, const std::string& soundClick) {
    auto button = plat::New<TButton>();
    button->Load(image, imageMO, soundMO, soundClick, 0, 0, 1);
    return button;
}

// --- set-up --------------------------------------------------------------------------

std::string TButton::GetPath() const {
    if (!Game) return std::string();
    return UseMenuPath ? Game->MenuPath : Game->ImagePath;
}

plat::Ref<TGameImage> TButton::LoadLook(const std::string& name, int frameW, int frameH, int frames) const {
    const std::string path = GetPath() + name + ButtonImageExtension;
    plat::Ref<TGameImage> look = frames < 2 ? TGameImage::Create(path, -1, 1)
                                            : TGameImage::CreateAuto(path, frameW, frameH, 0, frames, -1, 1);
    look->MidHandle(0);
    return look;
}

void TButton::Load(const std::string& imageName, const std::string& imageMO, const std::string& soundMO,
                   const std::string& soundClick, int frameW, int frameH, int frames) {
    SetName(imageName);
    if (!Game || !Game->Channels) {
        ChannelMouseOver = plat::AllocChannel();
        ChannelClick = plat::AllocChannel();
    }
    LoadImages(imageName, imageMO, frameW, frameH, frames);
    const std::string soundPath = Game ? Game->SoundPath : std::string();
    if (!soundMO.empty()) SoundMouseOver = TGameSound::Create(soundPath + soundMO + ButtonSoundExtension, 0);
    if (!soundClick.empty()) SoundClick = TGameSound::Create(soundPath + soundClick + ButtonSoundExtension, 0);
    Init();
}

void TButton::LoadImages(const std::string& imageName, const std::string& imageMO, int frameW, int frameH,
                         int frames) {
    image = LoadLook(imageName, frameW, frameH, frames);
    if (!imageMO.empty()) ImageMouseOver = LoadLook(imageMO, frameW, frameH, frames);
}

void TButton::LoadDisabled(const std::string& imageName) { ImageDisabled = LoadLook(imageName, 0, 0, 1); }

void TButton::LoadMouseClick(const std::string& imageName, int ms) {
    ImageMouseClick = LoadLook(imageName, 0, 0, 1);
    MouseClickDuration = Game ? Game->CalcAnimLength(ms) : 0.0f;
}

void TButton::Init() {
    TSprite::Init();
    GetSize();
    ClearClick();
}

void TButton::ClearClick() {
    Clicked = 0;
    MouseClickCounter = 0;
    MouseOver = 0;
    Glow = 0;
}

void TButton::CentreX(float newY) { MoveTo(static_cast<float>((DrawingWidth() - w) / 2), newY); }

void TButton::MoveBy(float dx, float dy) {
    x += dx;
    y += dy;
    if (Caption) {
        Caption->X += dx;
        Caption->Y += dy;
    }
}

void TButton::MoveTo(float newX, float newY) { MoveBy(newX - x, newY - y); }

void TButton::SetupCaption(const std::string& text, const plat::Ref<plat::TImageFont>& font,
                           const plat::Ref<TColor>& color, const plat::Ref<TShadow>& shadow,
                           const plat::Ref<TBitmapFont>& bitmapFont, const plat::Ref<TColor>& inverseColor) {
    Caption = TLabel::CreateSpecial(text, x + w2, y + h2, 1, 0, 0);
    Caption->CentreVertically = 1;
    Caption->Init(font, color, shadow, 0, bitmapFont, inverseColor, "");
}

void TButton::SetupCaptionDown(const plat::Ref<TColor>& color, float scale, float offsetX, float offsetY) {
    CaptionDownColor = color;
    CaptionDownScale = scale;
    CaptionDownOffsetX = offsetX;
    CaptionDownOffsetY = offsetY;
}

void TButton::SetupScaleOnMO(float max, float upSpeed, float downSpeed) {
    ScaleOnMOMax = max;
    ScaleOnMOUpSpeed = upSpeed;
    ScaleOnMODownSpeed = downSpeed;
}

void TButton::SetupMouseRepeat(int initialDelayMs, int delayMs) {
    MouseRepeat = TMouseRepeat::Create(initialDelayMs, delayMs);
}

void TButton::SetFixedGlowOnMO(float glowMax, float glowSpeed, int useMO) {
    FixedGlowOnMO = 1;
    FixedGlowOnMOUseMO = useMO;
    GlowMax = glowMax;
    GlowSpeed = glowSpeed;
}

void TButton::SetAutoGlow(float min, float max, float speed, int onMO) {
    SetGlow(3, max, speed, min, max);
    AutoGlowOnMO = onMO;
}

void TButton::FixedGlowOnMOActivate() {
    if (FixedGlowOnMO == 1 && MouseClickCounter == 0) SetGlow(2, GlowMax, GlowSpeed, 0, GlowMax);
}

void TButton::Precache() {
    for (const auto* look : {&image, &ImageMouseOver, &ImageMouseClick, &ImageDisabled})
        if (*look) PreloadImageFrames((*look)->image);
}

void TButton::Kill() {
    for (auto* channel : {&ChannelMouseOver, &ChannelClick}) {
        if (*channel) plat::StopChannel(*channel);
        *channel = nullptr;
    }
    Caption = nullptr;
    MouseRepeat = nullptr;
    TSprite::Kill();
}

// --- sounds --------------------------------------------------------------------------

void TButton::PlayMouseOver() { PlayWidgetSound(SoundMouseOver, ChannelMouseOver); }

void TButton::PlayClick() { PlayWidgetSound(SoundClick, ChannelClick); }

void TButton::PlayClick2() { PlayWidgetSound(SoundClick2, ChannelClick); }

// --- input ---------------------------------------------------------------------------

int TButton::Click(int repeat) {
    if (MouseClickCounter != 0 && !(ClickWhenDown == 1 && MouseClickCounter > 0)) return 0;
    if (Clicked == 0 && NoSound == 0) {
        if (repeat && SoundClick2) PlayClick2();
        else PlayClick();
    }
    Clicked = 1;
    if (ImageMouseClick) MouseClickCounter = MouseClickDuration;
    return 1;
}

void TButton::SimulateClick() {
    FixedGlowOnMOActivate();
    if (Click(0)) MouseOver = 1;
}

void TButton::ManageScaleOnMO() {
    if (ScaleOnMO > 1) ScaleOnMO = std::max(1.0f, ScaleOnMO - ScaleOnMODownSpeed * Delta);
}

void TButton::Manage() {
    const bool takesInput = Active && (Disabled == 0 || (Disabled == 1 && ClickDisabled == 1));
    if (takesInput) {
        ManageAnim();
        if (GlowMode > 0) ManageGlow();
        // The hover area is the picture's own size: it does not grow with
        // the hover scale.
        const DrawingPoint pointer = PointerInDrawingSpace();
        const float left = x + offx, top = y + offy;
        const bool over = left <= pointer.x && pointer.x < left + static_cast<float>(w) && top <= pointer.y &&
                          pointer.y < top + static_cast<float>(h);
        if (over && !(MouseOverUserFunction && MouseOverUserFunction() != 0)) {
            if (MouseClickCounter == 0) {
                if (MouseOver == 0 && NoSound == 0) PlayMouseOver();
                MouseOver = 1;
            }
            FixedGlowOnMOActivate();
            const int repeated = MouseRepeat ? MouseRepeat->GetButton() : 0;
            // A click refused while the pressed look runs is no click:
            // Clicked never stays up from the tick before.
            if ((repeated == 0 && TakeMouseHit() == 0) || !Click(repeated == 2 ? 1 : 0)) Clicked = 0;
            if (ScaleOnMOMax > 1) ScaleOnMO = std::min(ScaleOnMOMax, ScaleOnMO + ScaleOnMOUpSpeed * Delta);
        } else {
            MouseOver = 0;
            Clicked = 0;
            ManageScaleOnMO();
        }
        if (OKButton && (KeyHitCode(plat::KEY_ENTER) || (OKButtonUseSpace && KeyHitCode(plat::KEY_SPACE))))
            SimulateClick();
    } else {
        MouseOver = 0;
        Clicked = 0;
        if (FixedGlowOnMO == 1) ManageGlow();
        ManageScaleOnMO();
    }
    if (MouseClickCounter > 0 && StayDown == 0) MouseClickCounter = std::max(0.0f, MouseClickCounter - Delta);
}

void TButton::ManageNoSound() {
    const int saved = NoSound;
    NoSound = 1;
    Manage();
    NoSound = saved;
}

// --- drawing -------------------------------------------------------------------------

void TButton::DrawLook(const plat::Ref<TGameImage>& look, int lookFrame, bool glow,
                       const plat::Ref<TGameImage>& glowImage) {
    DrawShadow(look, 0, 0);
    if (look && look->image) plat::DrawImage(look->image, x, y, lookFrame);
    if (glow) {
        DrawLight(Glow, 1, 1, 1, glowImage);
        if (UseAlpha) plat::SetAlpha(Alpha);
    }
}

void TButton::DrawCaption() {
    if (!Caption) return;
    if (ScaleOnMO > 1) {
        plat::SetScale(ScaleOnMO, ScaleOnMO);
        Caption->RoundCoords = 0;
    } else {
        plat::SetScale(1, 1);
    }
    Caption->Draw(offx, offy, 0);
    Caption->RoundCoords = OldRoundedCoords;
    plat::SetScale(1, 1);
}

void TButton::DrawCaptionPressed() {
    if (!Caption) return;
    Caption->ApplyCustomColor(CaptionDownColor);
    const float savedScale = Caption->Scale;
    float scale = CaptionDownScale;
    if (!Caption->BitmapFont && ScaleOnMO > 1) scale *= ScaleOnMO;
    Caption->Scale = savedScale * scale;
    if (CaptionDownScale != 1 || ScaleOnMO != 1) Caption->RoundCoords = 0;
    plat::SetScale(1, 1);
    Caption->Draw(offx + CaptionDownOffsetX * ScaleOnMO, offy + CaptionDownOffsetY * ScaleOnMO, 0);
    Caption->Scale = savedScale;
    Caption->RoundCoords = OldRoundedCoords;
}

void TButton::Draw() {
    if (!Active && !AlwaysDraw) return;
    plat::SetBlend(plat::ALPHABLEND);
    const float savedX = x, savedY = y, savedScaleX = ScaleX, savedScaleY = ScaleY;
    x += offx;
    y += offy;
    if (UseAlpha) plat::SetAlpha(Alpha);
    if (Caption) {
        OldRoundedCoords = Caption->RoundCoords;
        Caption->Alpha = Alpha;
    }
    if (ScaleOnMO > 1) {
        // Grown about the picture's centre.
        x += static_cast<float>(w) * (1 - ScaleOnMO) / 2;
        y += static_cast<float>(h) * (1 - ScaleOnMO) / 2;
        ScaleX = ScaleY = ScaleOnMO;
    }
    plat::SetScale(BaseScaleX * ScaleX, BaseScaleY * ScaleY);

    const bool glowing = GlowMode >= 1 && Glow > 0;
    if (MouseClickCounter > 0) {
        const auto& look = ImageMouseClick ? ImageMouseClick : image;
        DrawLook(look, 0, glowing, look);
        DrawCaptionPressed();
    } else if ((MouseOver && ImageMouseOver) || (FixedGlowOnMOUseMO && GlowMode > 0 && Glow > 0)) {
        // A fixed glow may ask for the hover look of a button that has none.
        const auto& look = ImageMouseOver ? ImageMouseOver : image;
        DrawLook(look, frame, glowing && (FixedGlowOnMO || AutoGlowOnMO) && UseGlowOnMO, look);
        if (Caption) Caption->ApplyInverse();
        DrawCaption();
    } else if (Disabled) {
        DrawLook(ImageDisabled ? ImageDisabled : image, 0, false, nullptr);
        if (Caption) Caption->ApplyCustomColor(CaptionDisabledColor);
        DrawCaption();
    } else {
        DrawLook(image, frame, glowing, nullptr);
        if (Caption) Caption->Apply();
        DrawCaption();
    }

    x = savedX;
    y = savedY;
    ScaleX = savedScaleX;
    ScaleY = savedScaleY;
    if (UseAlpha) plat::SetAlpha(1);
    plat::SetScale(1, 1);
}

}  // namespace fw
