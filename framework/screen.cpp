#include "framework/screen.h"

#include <cmath>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/menu.h"
#include "framework/mouse.h"
#include "framework/sprite.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"

namespace fw {

// --- TScreen -------------------------------------------------------------------

plat::Ref<TScreen> TScreen::Self() {
    return std::static_pointer_cast<TScreen>(shared_from_this());
}

void TScreen::ImageLoad(const std::string& file, int flags, int preload) {
    Image = LoadImageOrDie(Game->ImagePath + file, flags);
    plat::SetImageHandle(Image, 0, 0);
    if (preload) PreloadImageFrames(Image);
}

void TScreen::HeaderLoad(const std::string& file, float x, float y, int preload) {
    auto image = TGameImage::Create(Game->ImagePath + file + Ext, -1, 1);
    Header = TSprite::Create(image, x, y);
    if (preload && image) PreloadImageFrames(image->image);
}

void TScreen::PreStart() {
    if (StopInit) {
        CoreStart();
    } else {
        Load();
        Start();
    }
}

void TScreen::ResetStops() {
    StopKill = 0;
    StopInit = 0;
}

void TScreen::Load() {}

void TScreen::Start() {
    Game->Mouse->On();
    Game->IgnoreEscapeKey = 0;
    CoreStart();
}

void TScreen::CoreStart() {
    Game->CurrentTScreen = Self();
    if (Menu) Menu->ManageNoSound(0, 0);
    FlushInput();
    Game->Mouse->ClearButtons();
    Game->FixedRateLogic->Init();
}

void TScreen::PostFadeIn() {}
void TScreen::PostFadeOut() {}

void TScreen::Kill() {
    Image = nullptr;
    Header = nullptr;
    if (Menu) {
        Menu->Kill();
        Menu = nullptr;
    }
}

void TScreen::Logic() {
    if (Menu) Menu->Manage(0, 0);
}

void TScreen::Draw() {
    if (Image) {
        plat::SetBlend(plat::SOLIDBLEND);
        plat::DrawImage(Image, 0, 0, 0);
        // What the screen draws next expects the usual alpha blending.
        plat::SetBlend(plat::ALPHABLEND);
    } else {
        plat::Cls();
    }
    if (Header) {
        plat::SetBlend(plat::ALPHABLEND);
        Header->Draw();
    }
    if (Menu) Menu->Draw(0, 0);
}

int TScreen::SetEscDestination() {
    Game->DestinationTScreen = Game->ExitScreen;
    return 0;
}

void TScreen::SpecificKeys() {}

int TScreen::EmbeddedLogic() {
    Logic();
    return 0;
}

// --- TGameFade -----------------------------------------------------------------

int TGameFade::Init(float lengthMs, int out, const plat::Ref<plat::TChannel>& channel,
                    int allowAnim, int startCounter, const plat::Ref<TGameChannel>& gameChannel) {
    if (Active == 1) return 0;
    Length = static_cast<int>(Game->CalcAnimLength(static_cast<int>(lengthMs)));
    Counter = static_cast<float>(startCounter);
    Active = 1;
    Out = out;
    FlushInput();
    Done = 0;
    Channel = channel;
    Channel2 = gameChannel;
    AllowAnim = allowAnim;
    FadeInAborted = 0;
    FadeCounterBeforeAbort = 0;
    SetToFullOnAbort = 1;
    AbortKey = -1;
    if (Out) Game->FadeMusic = 1;
    Ratio = Out ? 1.0f : 0.0f;
    if (startCounter > 0) CalcRatio();
    if (Game->Fade == 0 || Game->NoFade == 1) Finish();
    return 1;
}

void TGameFade::CalcRatio() {
    float r = Length != 0 ? Counter / static_cast<float>(Length) : 1.0f;
    if (std::isnan(r) || r < 0) r = 0;
    if (r > 1) r = 1;
    Ratio = Out ? 1.0f - r : r;
}

void TGameFade::FadeChannels() {
    if (Channel) Channel->SetVolume(Ratio * (static_cast<float>(Game->GetMusicVolume()) / 100.0f));
    if (Channel2 && Channel2->Channel)
        Channel2->Channel->SetVolume(Ratio * (static_cast<float>(Game->SoundVolume) / 100.0f));
    if (Game->SpeechChannel)
        Game->SpeechChannel->SetVolume(Ratio * (static_cast<float>(Game->SpeechVolume) / 100.0f));
}

int TGameFade::Manage() {
    if (!Active) return 0;
    int key = FirstSingleKeyHit();
    int click = Game->Mouse->GetMh(1);
    if (key != -1 || click) {
        if (!Out) {
            FadeInAborted = 1;
            AbortKey = key != -1 ? key : -1;
        }
        Finish();
        return -1;
    }
    Counter += Delta;
    CalcRatio();
    FadeChannels();
    if (Counter >= static_cast<float>(Length)) {
        Finish();
        return 1;
    }
    return 0;
}

void TGameFade::Finish() {
    Active = 0;
    Done = 1;
    if (Out) {
        Ratio = 0;
    } else {
        if (SetToFullOnAbort) Ratio = 1;
        if (FadeInAborted) FadeCounterBeforeAbort = Counter;
    }
    FadeChannels();
    if (Out) {
        if (Channel2) {
            if (Channel2IsGameChannelArray && Game->Channels) {
                Game->Channels->StopGameChannel(Channel2);
            } else {
                if (Channel2->Channel) Channel2->Channel->Stop();
                Channel2 = nullptr;
            }
        }
        Game->SpeechStop();
        if (Game->Fade == 1 && Game->NoFade == 0) {
            // One black frame; the screens' own clear colour is kept.
            int r = 0, g = 0, b = 0;
            plat::GetClsColor(r, g, b);
            plat::SetClsColor(0, 0, 0);
            plat::Cls();
            plat::SetClsColor(r, g, b);
            if (!Game->FadeMouse) Game->Mouse->Draw();
            if (plat::GraphicsOpen()) plat::Flip(1);
        }
        if (Game->CurrentTScreen) Game->CurrentTScreen->PostFadeOut();
    } else {
        if (Game->CurrentTScreen) Game->CurrentTScreen->PostFadeIn();
    }
    Game->NoFade = 0;
    FlushInput();
}

void TGameFade::Draw() {
    if (!Active) return;
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetAlpha(1.0f - Ratio);
    plat::SetColor(0, 0, 0);
    plat::DrawRect(0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    plat::SetAlpha(1.0f);
    plat::SetColor(255, 255, 255);
}

int TGameFade::GetDone() {
    if (Done) {
        Done = 0;
        return 1;
    }
    return 0;
}

}  // namespace fw
