#include "game/front/highscores_screen.h"

#include <array>
#include <cmath>

#include "framework/game.h"
#include "framework/highscore.h"
#include "game/front/bitmap_font.h"
#include "game/front/name_entry.h"
#include "game/globals.h"
#include "game/play/hud.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

constexpr double kShowMs = 10000;
const std::array<const char*, 8> kPlaces = {"1ST", "2ND", "3RD", "4TH", "5TH", "6TH", "7TH", "8TH"};

double Now() { return static_cast<double>(plat::MilliSecs64()); }

}  // namespace

void THighScoresScreen::Load() { name = "highscores"; }

void THighScoresScreen::Start() {
    TScreen::Start();
    RecordsEntryScreen->Kill();
    fw::Game->Mouse->Off();
    tim = Now();
    fw::Game->FixedRateLogic->Init();
    fw::Game->IgnoreEscapeKey = 1;
    fw::Game->IgnorePauseKey = 0;
}

void THighScoresScreen::Logic() {
    TScreen::Logic();
    newtim = Now();
    if (std::fabs(newtim - tim) > kShowMs) {
        if (LevelStartKind == SCREEN_NAME_ENTRY) {
            // After a name entry the title tune starts again from the top.
            SidMusic->Stop();
            SidMusic->SelectTrack(1);
        }
        Go(SCREEN_HIGH_SCORES, SCREEN_TITLE);
    }
}

void THighScoresScreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    ind = 0;
    for (const auto& row : *fw::Game->HighScores) {
        const float y = static_cast<float>(y_text + 16 * ind);
        if (ind < static_cast<int>(kPlaces.size()))
            WriteText(kPlaces[static_cast<std::size_t>(ind)], static_cast<float>(x_text), y);
        WriteText(row->name, static_cast<float>(x_text + 40), y);
        WriteText(ScorePadding(row->score) + std::to_string(row->score), static_cast<float>(x_text + 112), y);
        ++ind;
    }
}

}  // namespace game
