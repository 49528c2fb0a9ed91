#include "game/screens.h"

#include "framework/game.h"
#include "framework/screen.h"
#include "game/front/highscores_screen.h"
#include "game/front/intro_screen.h"
#include "game/front/key_config.h"
#include "game/front/name_entry.h"
#include "game/front/options_screen.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/level_complete_screen.h"
#include "game/play/level_screen.h"

namespace game {

plat::Ref<TTitlescreen> TitleScreen;
plat::Ref<TLevelScreen> LevelScreen;
plat::Ref<TLevelCompleteScreen> LevelCompleteScreen;
plat::Ref<TOptionScreen> OptionScreen;
plat::Ref<TIntroducirRecordsScreen> RecordsEntryScreen;
plat::Ref<THighScoresScreen> HighScoresScreen;
plat::Ref<TRedefineKeysScreen> RedefineKeysScreen;
plat::Ref<TIntroScreen> IntroScreen;

plat::Ref<fw::TScreen> ScreenOf(ScreenCode code) {
    switch (code) {
    case SCREEN_TITLE: return TitleScreen;
    case SCREEN_LEVEL: return LevelScreen;
    case SCREEN_AREA_COMPLETE: return LevelCompleteScreen;
    case SCREEN_HIGH_SCORES: return HighScoresScreen;
    case SCREEN_OPTIONS: return OptionScreen;
    case SCREEN_REDEFINE_KEYS: return RedefineKeysScreen;
    case SCREEN_NAME_ENTRY: return RecordsEntryScreen;
    }
    return nullptr;
}

void Go(ScreenCode from, ScreenCode to) {
    LevelStartKind = from;
    const plat::Ref<fw::TScreen> next = ScreenOf(to);
    if (!next) return;
    next->PreStart();
    fw::Game->DestinationTScreen = next;
}

}  // namespace game
