#pragma once
// The game's eight screens, one instance each, created by the main program
// in this order and kept for the whole run.  A screen hands over to the next
// by writing LevelStartKind, calling the next screen's PreStart() and making
// it Game->DestinationTScreen.

#include "platform/core/object.h"

namespace game {

class TTitlescreen;
class TLevelScreen;
class TLevelCompleteScreen;
class TOptionScreen;
class TIntroducirRecordsScreen;
class THighScoresScreen;
class TRedefineKeysScreen;
class TIntroScreen;

extern plat::Ref<TTitlescreen> TitleScreen;
extern plat::Ref<TLevelScreen> LevelScreen;
extern plat::Ref<TLevelCompleteScreen> LevelCompleteScreen;
extern plat::Ref<TOptionScreen> OptionScreen;
extern plat::Ref<TIntroducirRecordsScreen> RecordsEntryScreen;
extern plat::Ref<THighScoresScreen> HighScoresScreen;
extern plat::Ref<TRedefineKeysScreen> RedefineKeysScreen;
extern plat::Ref<TIntroScreen> IntroScreen;

}  // namespace game
