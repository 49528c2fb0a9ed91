#include "game/play/level_complete_screen.h"

#include "framework/game.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/timing.h"
#include "game/front/bitmap_font.h"
#include "game/globals.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

constexpr float kFirstX = 80, kFirstY = 100;
constexpr float kSecondX = 58, kSecondY = 116;

constexpr int kJingleTrack = 3;
constexpr int kPlayTrack = 1;

std::string Prefix(const std::string& text, int n) {
    return text.substr(0, static_cast<std::size_t>(std::max(0, std::min(n, static_cast<int>(text.size())))));
}

}  // namespace

void TLevelCompleteScreen::Load() { name = "levelcomplete"; }

bool TLevelCompleteScreen::TextsFor(int level, std::string& first, std::string& second) const {
    switch (level) {
    case 1: case 5: first = text1_1; second = text1_2; return true;
    case 2: case 6: first = text2_1; second = text2_2; return true;
    case 3: case 7: first = text3_1; second = text3_2; return true;
    case 4: first = text4_1; second = text4_2; return true;
    case 8: first = text4_1; second = text4_3; return true;
    default: return false;
    }
}

void TLevelCompleteScreen::Start() {
    fw::TScreen::Start();
    fw::Game->Mouse->Off();
    fw::FlushInput();
    linea1_escrita = 0;
    linea2_escrita = 0;
    switched_ = false;
    if (SidMusic) {
        SidMusic->SelectTrack(kJingleTrack);
        SidMusic->Play();
    }
    // Any other area keeps the texts of the last visit.
    TextsFor(Level, text1, text2);
    posiciontexto = 1;
    fw::Game->FixedRateLogic->Init();
    fw::Game->IgnoreEscapeKey = 1;
}

void TLevelCompleteScreen::Logic() {
    fw::TScreen::Logic();
    if (!linea1_escrita) {
        if (posiciontexto > static_cast<int>(text1.size())) {
            linea1_escrita = 1;
            posiciontexto = 1;
            delayletras = 0;
        } else {
            delayletras -= 1.0f * fw::Delta;
        }
    } else if (!linea2_escrita) {
        if (posiciontexto > static_cast<int>(text2.size())) {
            linea2_escrita = 1;
            linea2_ms = plat::MilliSecs64();
        } else {
            delayletras -= 1.0f * fw::Delta;
        }
    }
    ReadPlayerInput();  // read, but nothing here acts on it
    if (linea2_escrita && !switched_ && plat::MilliSecs64() - linea2_ms >= kWaitMs) {
        switched_ = true;
        if (SidMusic) SidMusic->SelectTrack(kPlayTrack);
        Level = Level == 8 ? 1 : Level + 1;
        Stage += 1;
        Score += kBonus;
        Go(SCREEN_AREA_COMPLETE, SCREEN_LEVEL);
    }
}

void TLevelCompleteScreen::TypeLine(const std::string& text, float x, float y) {
    WriteText(Prefix(text, posiciontexto), x, y);
    if (delayletras < 0 && posiciontexto <= static_cast<int>(text.size())) {
        posiciontexto += 1;
        delayletras = static_cast<float>(maxdelay);
    }
}

void TLevelCompleteScreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    if (!linea1_escrita) {
        TypeLine(text1, kFirstX, kFirstY);
    } else {
        WriteText(text1, kFirstX, kFirstY);
        if (!linea2_escrita) TypeLine(text2, kSecondX, kSecondY);
        else WriteText(text2, kSecondX, kSecondY);
    }
}

}  // namespace game
