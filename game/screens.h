#pragma once
// The game's eight screens, one instance each, created by the main program
// and kept for the whole run, and the one way a screen hands over to the
// next: Go(from, to).

#include "game/vocabulary.h"
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

// The screen of a code (nullptr while it does not exist).
plat::Ref<fw::TScreen> ScreenOf(ScreenCode code);

// The hand-over from the screen `from` to the screen `to`: LevelStartKind =
// from, then the next screen's PreStart(), and it becomes the shell's
// destination (the shell switches at the end of its fade).  A missing
// screen is skipped.
void Go(ScreenCode from, ScreenCode to);

}  // namespace game
