// TGame: the fixed-rate main loop, drawing a frame, speed switches and the
// screen-change protocol.

#include <cmath>

#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/loading.h"

namespace fw {

int TGame::MainLogicLoop() {
    FixedRateLogic->Calc();
    if (NoTiming) FixedRateLogic->NumTicks = NoTimingTicks;
    LogicTime->Start();
    const double ticks = FixedRateLogic->NumTicks;
    const int whole = static_cast<int>(std::floor(ticks));
    for (int i = 1; i <= whole; ++i) {
        FixedRateLogic->SetDelta(1.0f);
        if (LogicWrapper() == -1) return -1;
    }
    const double rest = std::fmod(ticks, 1.0);
    if (rest > 0) {
        FixedRateLogic->SetDelta(static_cast<float>(rest));
        if (LogicWrapper() == -1) return -1;
    }
    LogicTime->Calc();
    return 1;
}

int TGame::LogicWrapper() {
    Mouse->ClearMouseHit();
    Mouse->Manage();
    DoPeekEvent();
    ReadKeys();
    if (InstantExit) return -1;
    if (Paused || Suspended) {
        // Nothing runs while paused or suspended, so a fade-out to the exit
        // screen (a close request, or Escape) would wait for the player to
        // come back: the program ends at once instead.
        const bool toExit = DestinationTScreen && DestinationTScreen == ExitScreen &&
                            GameFade->Out == 1 && (GameFade->Active || GameFade->Done);
        if (toExit) {
            InstantExit = 1;
            return -1;
        }
        return 0;
    }
    GameFade->Manage();
    if (Fading() && GameFade->AllowAnim == 0) return 1;
    ScreenChange();
    if (CurrentTScreen) CurrentTScreen->Logic();
    if (Fade == 0) ScreenChange();
    return 1;
}

void TGame::ScreenDraw() {
    DrawTime->Start();
    if (NoDraw) {
        NoDraw = 0;
        return;
    }
    if (CurrentTScreen) CurrentTScreen->Draw();
    if (!Fading()) ShowPaused();
    if (FadeMouse) Mouse->Draw();
    GameFade->Draw();
    if (Fading()) ShowPaused();
    if (!FadeMouse) Mouse->Draw();
    DrawTime->Calc();
    DebugPrint();
    PostDraw();
}

void TGame::PostDraw() { FlipScreen(); }

float TGame::CalcAnimLength(int ms) const { return CalcAnimLengthFromFloat(static_cast<float>(ms)); }

float TGame::CalcAnimLengthFromFloat(float ms) const {
    // Before the timing is first initialised there is no tick length yet.
    if (!(FixedRateLogic->MS > 0) || !(CurrentSpeed > 0)) return 0.0f;
    return ms / FixedRateLogic->MS / CurrentSpeed;
}

int TGame::CalcMilliSecsFromFrames(int ticks) const {
    return static_cast<int>(static_cast<float>(ticks) * (FixedRateLogic->MS * CurrentSpeed));
}

void TGame::FastOn() {
    Fast = 1;
    LastFlipSync = FlipSync;
    FlipSync = 0;
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
}

void TGame::FastOff() {
    if (Fast != 1) return;
    Fast = 0;
    FlipSync = LastFlipSync;
    FixedRateLogic->Init();
    FixedRateLogic->HistoryClear();
}

void TGame::SlowMotionOn() {
    SlowMotion = 1;
    CurrentSpeed = SlowMotionSpeed;
    FixedRateLogic->Framerate = SlowMotionSpeed * static_cast<float>(FixedRateLogic->FramerateDefault);
    FixedRateLogic->CalcMS();
    FixedRateLogic->Init();
}

void TGame::SlowMotionOff() {
    SlowMotion = 0;
    CurrentSpeed = 1.0f;
    FixedRateLogic->Framerate = static_cast<float>(FixedRateLogic->FramerateDefault);
    FixedRateLogic->CalcMS();
    FixedRateLogic->Init();
}

// --- screens ---------------------------------------------------------------------------

void TGame::ScreenChange() {
    const int done = GameFade->GetDone();
    if (!(done && GameFade->Out == 1)) return;
    // Without a current screen (a close request before the first screen
    // started) there is nothing to kill, but the change still happens.
    if (CurrentTScreen && CurrentTScreen->StopKill == 0) CurrentTScreen->Kill();
    if (!DestinationTScreen) {
        const std::string name = CurrentTScreen ? CurrentTScreen->name : std::string();
        ReportError("Screen '" + name + "' does not have a destination screen set!", 1);
        return;
    }
    LastTScreen = CurrentTScreen;
    if (DestinationTScreen == ExitScreen) {
        InstantExit = 1;
        CurrentTScreen = ExitScreen;
    } else {
        DestinationTScreen->PreStart();
    }
    FlushInput();
}

int TGame::Fading() const { return GameFade->Active; }

void TGame::FadeOff() { NoFade = 1; }

void TGame::MoveBar() {
    LoadingScreen->Progress();
    LoadingScreen->Draw();
    FlipScreen();
}

}  // namespace fw
