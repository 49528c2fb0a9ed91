#pragma once
// The game's eight screens, one instance each, created by the main program
// in this order and kept for the whole run.  A screen hands over to the next
// by writing LevelStartKind and then calling HandOver(next).

#include "platform/core/object.h"

namespace fw {
class TScreen;
}  // namespace fw

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

// The next screen's PreStart(), then it becomes the shell's destination (the
// shell switches at the end of its fade).  A missing screen is skipped.
void HandOver(const plat::Ref<fw::TScreen>& next);

}  // namespace game
