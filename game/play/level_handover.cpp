// The hand-overs of the level play to the screens that follow it.

#include "framework/screen.h"
#include "game/front/highscores_screen.h"
#include "game/front/name_entry.h"
#include "game/front/title_screen.h"
#include "game/play/level_complete_screen.h"
#include "game/play/level_screen.h"
#include "game/screens.h"

namespace game {

void HandOver(NextScreen next) {
    plat::Ref<fw::TScreen> screen;
    switch (next) {
    case NextScreen::Title: screen = TitleScreen; break;
    case NextScreen::LevelComplete: screen = LevelCompleteScreen; break;
    case NextScreen::RecordsEntry: screen = RecordsEntryScreen; break;
    case NextScreen::HighScores: screen = HighScoresScreen; break;
    }
    HandOver(screen);
}

}  // namespace game
