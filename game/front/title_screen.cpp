#include "game/front/title_screen.h"

#include <cmath>

#include "framework/game.h"
#include "framework/input.h"
#include "game/front/bitmap_font.h"
#include "game/globals.h"
#include "game/play/level_screen.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

constexpr double kSlideMs = 5000;

double Now() { return static_cast<double>(plat::MilliSecs64()); }

}  // namespace

void TTitlescreen::Load() {
    Image = nullptr;
    ImageLoad("titulo.png", 0, 1);
    LoadGameMap("Data/Maps/Level0.dat");
}

void TTitlescreen::Start() {
    TScreen::Start();
    fw::Game->Mouse->Off();
    fw::Game->FixedRateLogic->Init();
    Level = 1;
    Stage = 1;
    fw::FlushInput();
    SidMusic->Play();
    oldt = Now();
    imagen_nivel = 0;
}

void TTitlescreen::Kill() { Image = nullptr; }

void TTitlescreen::ToggleGodMode() {
    fw::FlushInput();
    GodMode = GodMode == 0 ? 1 : 0;
}

void TTitlescreen::Logic() {
    TScreen::Logic();
    ReadPlayerInput();

    if (fw::KeyHitCode(plat::KEY_F9)) {
        fw::FlushInput();
        Kill();
        Go(SCREEN_TITLE, SCREEN_OPTIONS);
    }

    if (FireButtons == 1) {
        fw::FlushInput();
        Direction = DIR_UP;
        FireButtons = 0;
        SidMusic->Stop();
        Kill();
        Go(SCREEN_TITLE, SCREEN_LEVEL);
    }

    newt = Now();
    if (std::fabs(newt - oldt) > kSlideMs) {
        oldt = newt;
        if (imagen_nivel < 8) {
            ++imagen_nivel;
        } else {
            // After the last map view: the table (which comes back here).
            Go(SCREEN_TITLE, SCREEN_HIGH_SCORES);
        }
    }
}

void TTitlescreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    if (imagen_nivel != 0) m_dibuja_pantallas();
    else m_escribe_credits();
    m_escribe_press_fire();
}

void TTitlescreen::m_escribe_credits() {
    plat::SetScale(0.9f, 0.9f);
    WriteText("RAVOTESK GAMES PRESENTS", 80, 22);
    if (Image) plat::DrawImage(Image, 16, 33, 0);
    WriteText("SPECIAL EDITION FULL VERSION", 52, 76);
    WriteText("PROGRAMMING", 53, 96);
    WriteText("RAVO TESK", 164, 96);
    WriteText("GRAPHICS", 75, 110);
    WriteText("WELM ODRIS", 164, 110);
    WriteText("PANTO GRESK", 164, 124);
    WriteText("RAVO TESK", 164, 138);
    WriteText("SOUND", 96, 152);
    WriteText("SIV MALDRO", 164, 152);
    WriteText("F9 OPTIONS", 120, 192);
    WriteText("V1.0", 264, 224);
    plat::SetScale(1, 1);
}

void TTitlescreen::m_dibuja_pantallas() {
    GameMap->MapDrawBG(0, 160 * imagen_nivel - 160, 0, 26, 320, 160);
    plat::SetScale(0.9f, 0.9f);
    if (Image) plat::DrawImage(Image, 16, 33, 0);
    WriteText("SPECIAL EDITION FULL VERSION", 52, 76);
    WriteText("F9 OPTIONS", 120, 192);
    plat::SetScale(1, 1);
}

void TTitlescreen::m_escribe_press_fire() {
    plat::SetScale(0.9f, 0.9f);
    WriteText("PRESS FIRE TO START", 88, 208);
    plat::SetScale(1, 1);
}

}  // namespace game
