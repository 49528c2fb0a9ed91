// TGame: window events into the shell's input tables, the shell's keys,
// close requests, pause and focus.

#include "framework/banks.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/profile.h"
#include "framework/sprite.h"
#include "framework/system.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/sys/events.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"

namespace fw {

int KeyPause = 80;
int KeyVolumeDown = 189;
int KeyVolumeUp = 187;
int KeyInstantExit = 88;
int KeyFullScreen = 70;
int KeyMinimise = 66;
int KeyMusic = 77;
int KeySound = 83;
int KeyFast = 84;
int KeySlowMotion = 76;
int KeyScreenshot = 123;
int KeyFlipSync = 73;
int KeyNoTiming = 78;
int KeyVSync = 86;
int KeyGraphicsDriver = 71;
int KeySoundDriver = 72;
int KeyDebug = 68;

namespace {

// A program ended during play keeps the player's progress.
void SaveProfileDuringPlay(TGame& game) {
    if (game.CurrentProfile && game.CurrentTScreen && game.CurrentTScreen->name == "game")
        game.CurrentProfile->Save();
}

}  // namespace

void TGame::DoPeekEvent() {
    while (plat::PollEvent()) {
        const plat::TEvent& e = plat::CurrentEvent();
        switch (e.id) {
            case plat::EVENT_APPSUSPEND: SuspendedEvent = 1; break;
            case plat::EVENT_APPRESUME: SuspendedEvent = 0; break;
            case plat::EVENT_APPTERMINATE: TerminatedEvent = 1; break;
            case plat::EVENT_KEYDOWN:
                KeyTableDown(e.data);
                break;
            case plat::EVENT_KEYUP:
                KeyTableUp(e.data);
                break;
            case plat::EVENT_KEYCHAR:
                KeyTableChar(e.data);
                break;
            case plat::EVENT_MOUSEDOWN:
                Mouse->ClearMouseHit();
                if (e.data == 1) { Mouse->b1 = 1; ++Mouse->h1; }
                if (e.data == 2) { Mouse->b2 = 1; ++Mouse->h2; }
                if (e.data == 3) { Mouse->b3 = 1; ++Mouse->h3; }
                Mouse->CalcButtonTotals();
                break;
            case plat::EVENT_MOUSEUP:
                if (e.data == 1) Mouse->b1 = 0;
                if (e.data == 2) Mouse->b2 = 0;
                if (e.data == 3) Mouse->b3 = 0;
                Mouse->CalcButtonTotals();
                break;
            case plat::EVENT_MOUSEMOVE:
                Mouse->x = e.x;
                Mouse->y = e.y;
                break;
            case plat::EVENT_MOUSEWHEEL: Mouse->z += e.data; break;
            default: break;
        }
    }
    if (FullScreen == 0 && Suspended == 1 && SuspendedEvent == 1 && WindowHandle != 0 &&
        plat::ActiveWindowHandle() == WindowHandle)
        SuspendedEvent = 0;
}

void TGame::StartExitFade() {
    if (GameFade->Active && GameFade->Out == 0) {
        // A fade-in is showing the screen: cut it, then leave.
        GameFade->Finish();
    }
    DestinationTScreen = ExitScreen;
    if (!GameFade->Active) GameFade->Init(500, 1, MusicChannel, 1, 0, nullptr);
    // A fade-out already under way now ends at the exit screen.
}

int TGame::ReadKeys() {
    // An end already decided (the exit screen reached, Control+X) is not
    // turned back into a fade by a close request in the same tick.
    const int exiting = InstantExit;
    if (CheckWindow() == -1) {
        if (FadeOnExit == 0 || exiting) return -1;
        InstantExit = 0;
        StartExitFade();
    }
    if (Paused && Mouse->GetMh(1)) TogglePause();
    if (BlockKeys) return 0;

    if (!IgnorePauseKey && KeyHitCode(KeyPause)) TogglePause();

    if (KeyHitCode(plat::KEY_ESCAPE)) {
        if (Fading()) {
            if (GameFade->Out == 0) {
                GameFade->FadeInAborted = 1;
                GameFade->AbortKey = 0;
            }
            GameFade->Finish();
        } else if (Paused) {
            Paused = 0;
            UnPause();
            FlushInput();
        } else if (IgnoreEscapeKey) {
            KeyHitCounts[plat::KEY_ESCAPE] = 1;
        } else {
            EscapeSoundPlay();
            // Without a screen, Escape leaves as the base screen does.
            int length = 0;
            if (CurrentTScreen) length = CurrentTScreen->SetEscDestination();
            else DestinationTScreen = ExitScreen;
            if (length == 0) length = 500;
            plat::Ref<plat::TChannel> channel = MusicChannel;
            if (FadeMusic == 0) {
                channel = nullptr;
                FadeMusic = 1;
            }
            GameFade->Init(static_cast<float>(length), 1, channel, 1, 0, nullptr);
        }
    }

    if ((KeyDownCode(plat::KEY_LALT) || KeyDownCode(plat::KEY_RALT)) && KeyDownCode(plat::KEY_ENTER)) {
        ToggleFullScreen();
        FlushKeyTables();
    }

    if (!IgnoreFrameworkKeys) {
        if (KeyHitCode(KeyVolumeDown)) {
            SoundChangeVolume(-10);
            MusicChangeVolume(-10);
            SpeechChangeVolume(-10);
            FlushKeyTables();
        }
        if (KeyHitCode(KeyVolumeUp)) {
            SoundChangeVolume(10);
            MusicChangeVolume(10);
            SpeechChangeVolume(10);
            FlushKeyTables();
        }
        if (KeyDownCode(KeyInstantExit) && ControlKeyDown()) {
            InstantExit = 1;
            SaveProfileDuringPlay(*this);
        }
        if (KeyHitCode(KeyFullScreen)) {
            ToggleFullScreen();
            FlushKeyTables();
        }
        if (KeyHitCode(KeyMinimise)) {
            plat::MinimizeWindow();
            if (plat::GraphicsOpen()) plat::Flip(-1);
            FlushKeyTables();
        }
        if (KeyHitCode(KeyMusic)) {
            ToggleMusic();
            FlushKeyTables();
        }
        if (KeyHitCode(KeySound)) {
            ToggleSound();
            FlushKeyTables();
        }
        if (Debug && KeyHitCode(KeyFast)) {
            if (!Fast) {
                FastOn();
                SlowMotionOff();
            } else {
                FastOff();
            }
            FlushKeyTables();
        }
        if (Debug && KeyHitCode(KeySlowMotion)) {
            if (!SlowMotion) {
                SlowMotionOn();
                FastOff();
            } else {
                SlowMotionOff();
            }
            FlushKeyTables();
        }
        if (KeyHitCode(KeyScreenshot)) TakeScreenshot();
        if (Debug && KeyHitCode(KeyFlipSync)) {
            FlipSync = FlipSync == 0 ? 1 : (FlipSync == 1 ? -1 : 0);
            FlushKeyTables();
        }
        if (Debug && KeyHitCode(KeyNoTiming)) {
            NoTiming = 1 - NoTiming;
            FlushKeyTables();
        }
        if (KeyHitCode(KeyVSync)) {
            ToggleVSync();
            FlushKeyTables();
        }
        if (KeyHitCode(KeyGraphicsDriver)) {
            SetDriver(1 - Driver);
            FlushKeyTables();
        }
        if (KeyHitCode(KeySoundDriver)) {
            std::string next;
            if (SoundDriver == "FreeAudio") next = "DirectSound";
            else if (SoundDriver == "DirectSound") next = "OpenAL Generic Software";
            else if (SoundDriver == "OpenAL Generic Software") next = "FreeAudio";
            else if (SoundDriver == "None") next = "FreeAudio";
            if (!next.empty()) ChangeSoundDriver(next, 1);
            FlushKeyTables();
        }
    }

    if (!IgnoreDebugKey && KeyHitCode(KeyDebug)) {
        Debug = 1 - Debug;
        if (Debug == 1) {
            DebugReset();
            LogicTime->Start();
            DebugShowFPSOnly = ShiftKeyDown() ? 1 : 0;
        }
        FlushKeyTables();
    }

    if (GraphicPlacement) {
        if (KeyHitCode(plat::KEY_LEFT)) --gpX;
        if (KeyHitCode(plat::KEY_RIGHT)) ++gpX;
        if (KeyHitCode(plat::KEY_UP)) --gpY;
        if (KeyHitCode(plat::KEY_DOWN)) ++gpY;
    }

    if (!Paused && !Suspended && CurrentTScreen) CurrentTScreen->SpecificKeys();
    return 1;
}

int TGame::CheckWindow() {
    if (GameTerminated() == -1) return -1;

    if (SuspendedEvent == 1 && !Suspended) {
        // Losing the focus quiets the game, and pauses it where the settings say so.
        if (!Paused) {
            if (PauseOnLossOfFocus || (PauseOnLossOfFullScreenFocus && FullScreen)) Paused = 1;
            Pause();
        }
        Suspended = 1;
        if (UserSuspendFunction) UserSuspendFunction();
    }

    if (SuspendedEvent == 0 && Suspended == 1) {
        // Still paused by the player: only the timing starts over.
        if (Paused) FixedRateLogic->Init();
        else UnPause();
        Suspended = 0;
        if (UserResumeFunction) UserResumeFunction();
        FlushInput();
    }

    if (!Suspended && !Paused) {
        if (Music == 1 && !MusicLooped && MusicChannel && !MusicChannel->Playing()) MusicStopped = 1;
        if (Speech == 1 && SpeechChannel && !SpeechChannel->Playing()) SpeechStopped = 1;
        MusicFadeInManage();
        MusicFadeOutManage();
    }

    if (Suspended) plat::Delay(1);
    return 1;
}

int TGame::GameTerminated() {
    if (TerminatedEvent == 0) return 1;
    TerminatedEvent = 0;
    if (TerminatedUserFunction && TerminatedUserFunction() != 0) return 1;
    InstantExit = 1;
    SaveProfileDuringPlay(*this);
    return -1;
}

void TGame::TogglePause() {
    const int was = Paused;
    Paused = 1 - Paused;
    if (was) UnPause();
    else Pause();
    FlushInput();
}

void TGame::Pause() {
    PausedMusicState = Music;
    PausedSpeechState = Speech;
    if (Music) MusicOff();
    if (Speech) SpeechOff();
    if (PausedUserFunction) PausedUserFunction();
    SetProcessPriority(0, 0);
}

void TGame::UnPause() {
    if (PausedMusicState == 1) MusicOn();
    if (PausedSpeechState == 1) SpeechOn();
    SetPriority();
    FixedRateLogic->Init();
}

void TGame::SpritePausedCreate(const plat::Ref<TGameImage>& image) {
    SpritePaused = TSprite::Create(image, 0, 0);
    if (SpritePaused) SpritePaused->Centre();
}

void TGame::ShowPaused() {
    if (!(Paused || Suspended) || !SpritePaused) return;
    plat::SetBlend(plat::ALPHABLEND);
    if (DimWhenPaused) {
        plat::SetColor(0, 0, 0);
        plat::SetAlpha(0.5f);
        plat::DrawRect(0, 0, static_cast<float>(ScreenWidth), static_cast<float>(ScreenHeight));
    }
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1.0f);
    SpritePaused->Draw();
}

void TGame::SetGP(int x, int y) {
    gpX = x;
    gpY = y;
}

}  // namespace fw
