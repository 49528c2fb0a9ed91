#pragma once
// The game's entry body: starts the shell with the game's own settings,
// creates the game's objects, loads the shared sounds and images, shows the
// intro and then runs the frame loop until the shell reports the end.

namespace game {

// The title of the window.
inline constexpr const char* kAppTitle =
    "Velmarok Dozidu Special Edition Full Version V1.0 by Ravo Tesk";
// The per-user folder below the shared data folder.
inline constexpr const char* kSharedSubPath = "RavoTesk Games/VelmarokDozidu";
// The single-instance name.
inline constexpr const char* kInstanceName = "Velmmarok";

// Runs StartUp() and then the frame loop; never returns (the program ends
// in QuitGame, or with -1 through a raised error).  A frameLimit above 0
// quits after that many frames (start-up measurements); 0 runs for ever.
[[noreturn]] void GameMain(int frameLimit = 0);
// Start-up up to the first frame: shell, settings, sound, banks, font, the
// game's objects, graphics, StartGame.  The working folder must be the
// program's folder.
void StartUp();
// Creates the screens and actor lists, resets the run's values (default
// keys, spawn markers ...), then GameMap, SidMusic, grenade speeds, key file
// and key names, in that order.
void CreateGameObjects();
// Clears the window once, loads sounds, images and the bitmap font, reads
// the keys and the high scores, and makes the intro the current screen.
void StartGame();
// The last step of StartGame: when another window has the focus, the game
// begins suspended and waits for it.
void BeginSuspendedWithoutFocus();
void LoadGameSounds();
// The rules the game's pictures load with, set whenever the graphics have
// been opened: mask colour 255,0,255 and the automatic flags masked (nearest
// sampling).
void UsePictureRules();
// The pause picture into the image bank and the shell's pause sprite, then
// LoadPlayImages().
void LoadGameImages();
// The picture strips of the level play and the bitmap font, loaded with the
// rules in force (UsePictureRules() first).  A picture that cannot be loaded
// ends the program with its error text.
void LoadPlayImages();
// One frame: the logic ticks, then the drawing.  Returns -1 when the shell
// has ended the program's last screen (nothing is drawn then).
int RunFrame();
// Writes the good-exit marker, releases the channels and ends with code 0.
[[noreturn]] void QuitGame();
void KillGame();

}  // namespace game
