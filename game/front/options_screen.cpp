#include "game/front/options_screen.h"

#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/input.h"
#include "game/front/bitmap_font.h"
#include "game/globals.h"
#include "game/screens.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"

namespace game {

void TOptionScreen::Load() {
    Image = nullptr;
    ImageLoad("titulo.png", 0, 1);
}

void TOptionScreen::Start() {
    TScreen::Start();
    fw::FlushInput();
    fw::Game->Mouse->Off();
    fw::Game->FixedRateLogic->Init();
    resolucion_ini_opciones = fw::ScreenWidth;
    resolucion = fw::ScreenWidth;
    fw::Game->IgnoreEscapeKey = 1;  // Escape belongs to this screen
}

void TOptionScreen::Kill() { Image = nullptr; }

void TOptionScreen::ToggleControlMode() {
    fw::FlushInput();
    if (plat::JoyCount() == 0) return;
    ControlMode = ControlMode == 0 ? 1 : 0;
}

void TOptionScreen::CambiaTextoResolucion() {
    fw::FlushInput();
    if (resolucion == 800) resolucion = 1024;
    else if (resolucion == 1024) resolucion = 800;
}

void TOptionScreen::ToggleFullScreenOption() {
    fw::FlushInput();
    fw::Game->ToggleFullScreen();
}

void TOptionScreen::ToggleVidasInfinitas() {
    fw::FlushInput();
    InfiniteLives = InfiniteLives == 0 ? 1 : 0;
}

void TOptionScreen::m_go_to_RedefineKeysScreen() {
    Go(SCREEN_OPTIONS, SCREEN_REDEFINE_KEYS);
}

void TOptionScreen::m_Ini_HighScores() {
    auto& table = *fw::Game->HighScores;
    table.Clear();
    table.CreateDefault();
    table.Load();
    if (table.IsEmpty()) table.CreateDefault();
    HiScore = table.First()->score;
}

std::string TOptionScreen::GraphicsDriverName() {
    switch (plat::CurrentGraphicsDriver()) {
        case plat::DRIVER_D3D7: return "DX7";
        case plat::DRIVER_D3D9: return "DX9";
        case plat::DRIVER_OPENGL: return "OPENGL";
    }
    return "";
}

void TOptionScreen::Logic() {
    if (fw::KeyHitCode(plat::KEY_F1)) ToggleControlMode();
    if (ControlMode == 0 && fw::KeyHitCode(plat::KEY_F3)) m_go_to_RedefineKeysScreen();
    if (fw::KeyHitCode(plat::KEY_F5)) CambiaTextoResolucion();
    if (fw::KeyHitCode(plat::KEY_F7)) ToggleFullScreenOption();
    if (fw::KeyHitCode(plat::KEY_F9)) {
        fw::FlushInput();
        Kill();
        if (resolucion != resolucion_ini_opciones) {
            if (resolucion == 800) fw::Game->ToggleResolution(800, 600);
            else if (resolucion == 1024) fw::Game->ToggleResolution(1024, 768);
        }
        Go(SCREEN_OPTIONS, SCREEN_TITLE);
    }
    if (fw::KeyHitCode(plat::KEY_F12)) {
        fw::FlushInput();
        m_Ini_HighScores();
    }
    if (fw::KeyHitCode(plat::KEY_ESCAPE)) {
        fw::FlushInput();
        Kill();
        Go(SCREEN_OPTIONS, SCREEN_TITLE);
    }
}

void TOptionScreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetScale(0.9f, 0.9f);
    if (Image) plat::DrawImage(Image, 16, 33, 0);
    WriteText("F1 CONTROL MODE ", 69, 90);
    WriteText(ControlMode == 0 ? "KEYBOARD" : "JOYSTICK", 194, 90);
    WriteText("F3 REDEFINE KEYS ", 69, 110);
    WriteText("F5 RESOLUTION ", 69, 130);
    if (resolucion == 800) WriteText("800 X 600", 186, 130);
    else if (resolucion == 1024) WriteText("1024 X 768", 186, 130);
    WriteText("F7 FULLSCREEN ", 69, 150);
    WriteText(fw::Game->FullScreen == 1 ? "ON" : "OFF", 186, 150);
    WriteText("F12 CLEAR HIGHSCORES", 69, 170);
    WriteText("PRESS F9 TO EXIT OPTIONS", 69, 208);
    plat::SetScale(1, 1);
}

}  // namespace game
