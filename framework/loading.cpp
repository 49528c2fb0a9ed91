#include "framework/loading.h"

#include <algorithm>
#include <memory>

#include "framework/banks.h"
#include "framework/blocking.h"
#include "framework/button.h"
#include "framework/drawing.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/space.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/io/fs.h"
#include "platform/sys/input.h"

namespace fw {

// --- TLoadingBar ---------------------------------------------------------------------

void TLoadingBar::Init(const plat::Ref<plat::TImage>& image, const plat::Ref<plat::TImage>& emptyImage,
                       const plat::Ref<plat::TImage>& finalImage) {
    Image = image;
    EmptyImage = emptyImage;
    FinalImage = finalImage;
    for (const auto* picture : {&Image, &EmptyImage, &FinalImage})
        if (*picture) plat::SetImageHandle(*picture, 0, 0);
    x = y = 0;
    w = Image ? Image->width : 0;
    h = Image ? Image->height : 0;
    Position = 0;
    Steps = 0;
    StepSize = 0;
    CurrentStep = 0;
    Finished = 0;
}

void TLoadingBar::Centre(int newY) {
    x = (DrawingWidth() - w) / 2;
    y = newY;
}

void TLoadingBar::SetSteps(int n) {
    if (n <= 0) return;
    Steps = static_cast<float>(n);
    StepSize = static_cast<float>(w) / Steps;
}

void TLoadingBar::SetBackgroundColour(int r, int g, int b) {
    BgR = r;
    BgG = g;
    BgB = b;
}

void TLoadingBar::SetBorderColour(int r, int g, int b) {
    BorderR = r;
    BorderG = g;
    BorderB = b;
}

void TLoadingBar::Progress() {
    if (Steps <= 0) return;
    CurrentStep = std::min(CurrentStep + 1, static_cast<int>(Steps));
    Position = static_cast<float>(CurrentStep) * StepSize;
    if (static_cast<float>(CurrentStep) >= Steps) Finished = 1;
}

int TLoadingBar::Draw() {
    if (Mode == 1 && !Image) return 0;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (Finished && FinalImage) {
        plat::SetBlend(plat::ALPHABLEND);
        if (DrawEmptyUnderFinal && EmptyImage) plat::DrawImage(EmptyImage, fx, fy, 0);
        plat::DrawImage(FinalImage, fx, fy, 0);
        return 1;
    }
    int drawn = 0;
    if (Mode == 0 && w > 0 && h > 0) {
        plat::SetBlend(plat::SOLIDBLEND);
        plat::SetColor(BgR, BgG, BgB);
        plat::DrawRect(fx, fy, static_cast<float>(w), static_cast<float>(h));
        plat::SetColor(BorderR, BorderG, BorderB);
        DrawRectOutline(fx, fy, static_cast<float>(w), static_cast<float>(h));
        plat::SetColor(255, 255, 255);
        drawn = 1;
    } else if (Mode == 1) {
        plat::SetBlend(plat::ALPHABLEND);
        if (EmptyImage) plat::DrawImage(EmptyImage, fx, fy, 0);
    } else {
        plat::SetBlend(plat::ALPHABLEND);
    }
    if (Image) {
        if (Position > 0)
            plat::DrawSubImageRect(Image, fx, fy, Position, static_cast<float>(h), 0, 0, Position,
                                   static_cast<float>(h));
        drawn = 1;
    }
    plat::SetBlend(plat::ALPHABLEND);
    return drawn;
}

// --- TLoadingScreen ------------------------------------------------------------------

void TLoadingScreen::SpecialLoad(const std::string& background, const std::string& barImage,
                                 const std::string& loadingImage) {
    name = "loading";
    ImageLoad(background, 0, 1);
    if (!barImage.empty()) {
        const std::string path = Game->ImagePath + barImage;
        const std::string stem = plat::StripExt(path);
        const std::string ext = plat::ExtractExt(path);
        auto optional = [&](const std::string& suffix) -> plat::Ref<plat::TImage> {
            const std::string file = stem + suffix + (ext.empty() ? "" : "." + ext);
            return plat::FileExists(file) ? LoadImageOrDie(file, -1) : nullptr;
        };
        LoadingBar->Init(LoadImageOrDie(path, -1), optional("empty"), optional("final"));
    }
    LoadingTextImage = LoadImageOrDie(Game->ImagePath + loadingImage, -1);
    plat::MidHandleImage(LoadingTextImage);
    LoadingX = DrawingWidth() / 2;
    LoadingY = DrawingHeight() / 2;
    Finished = 0;
    Game->MusicNone();
}

void TLoadingScreen::SetSteps(int n) { LoadingBar->SetSteps(n); }

void TLoadingScreen::SetClickHereButton(const std::string& image, const std::string& imageMO, float bx, float by,
                                        const std::string& soundMO, const std::string& soundClick) {
    ClickHereButton = TButton::CreateSpecial(image, imageMO, soundMO, soundClick);
    ClickHereButton->MoveTo(bx, by);
    ClickHereButton->AlwaysDraw = 1;
}

void TLoadingScreen::Progress() {
    LoadingBar->Progress();
    Finished = LoadingBar->Finished;
    if (Finished) {
        FlushInput();
        Game->Mouse->UpdateCoords();
    }
}

void TLoadingScreen::Start() {
    TScreen::Start();
    if (EscapeCloses == 0) Game->IgnoreEscapeKey = 1;
}

void TLoadingScreen::Kill() {
    TScreen::Kill();
    // The shell keeps this screen for the whole run: a fresh bar is ready
    // for the next SpecialLoad.
    LoadingBar = plat::New<TLoadingBar>();
    LoadingTextImage2 = nullptr;
    if (ClickHereButton) {
        ClickHereButton->Kill();
        ClickHereButton = nullptr;
    }
    Finished = 0;
    if (CustomKillFunction) CustomKillFunction();
}

void TLoadingScreen::Logic() {
    bool done = true;
    if (ClickHereButton) {
        ClickHereButton->Manage();
        const bool clicked = ClickHereButton->Clicked != 0;
        done = clicked || Game->Mouse->GetMh(1) != 0 || (EscapeCloses == 0 && KeyHitCode(plat::KEY_ESCAPE));
        if (done && !clicked) ClickHereButton->SimulateClick();
    }
    if (!done) return;
    Game->GameFade->Init(500, 1, FadeMusic ? Game->MusicChannel : nullptr, 0, 0);
    Game->DestinationTScreen = Destination;
}

void TLoadingScreen::Draw() {
    TScreen::Draw();
    if (!Finished || !ClickHereButton) {
        DrawLoading(0);
        LoadingBar->Draw();
    } else {
        if (LoadingBar->FinalImage) LoadingBar->Draw();
        ClickHereButton->Draw();
    }
    if (CustomDrawFunction) CustomDrawFunction();
}

void TLoadingScreen::DrawLoading(int present) {
    // Presenting a frame of its own outside the shell's loop: the window's
    // events of the moment are read, a close request kept for the shell.
    std::unique_ptr<TBlockingLoop> loop;
    if (present) {
        loop = std::make_unique<TBlockingLoop>(false);
        plat::Cls();
    }
    const plat::Ref<plat::TImage>& picture =
        LoadingTextImage2 && DrawLoadingTextImage2 ? LoadingTextImage2 : LoadingTextImage;
    if (picture && (!present || Game->Music)) {
        plat::SetBlend(plat::ALPHABLEND);
        plat::DrawImage(picture, static_cast<float>(LoadingX), static_cast<float>(LoadingY), 0);
    }
    if (!present) return;
    if (!Game->FadeMouse) Game->Mouse->Draw();
    plat::Flip(1);
    loop->FrameDone();
}

}  // namespace fw
