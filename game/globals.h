#pragma once
// The game's state values, controls, key names, images, fonts and the other
// objects that live for the whole run.  There is exactly one of each; the
// main program creates the objects in its start-up order (see
// main_program.h) and nothing ever frees them.

#include <array>
#include <string>
#include <vector>

#include "game/vocabulary.h"
#include "platform/core/list.h"
#include "platform/core/object.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"

namespace fw {
class TImageBank;
class TSoundBank;
}  // namespace fw

namespace tilemap {
class TileMap;
}  // namespace tilemap

namespace music {
class SidAudioStream;
}  // namespace music

namespace game {

class TBitmapFont2;
class TIniFileKey;
class T_Dax;

// --- game state -------------------------------------------------------------
extern int Level;           // area being played, 1..8
extern int Stage;           // areas started in this game; never wraps
extern int Score;
extern int Lives;           // shown as MEN
extern int Grenades;        // grenades held
extern int HiScore;         // 10000 until the table is read, then its best score
extern int ExtraLifeStep;   // score between extra lives
extern int NextExtraLife;   // score of the next extra life
// The screen that started the next screen (a ScreenCode, written only by
// Go() of screens.h).
extern int LevelStartKind;
extern float FireCoolDown;   // ticks until the hero may fire again
extern int GodMode;         // cheat flags; nothing in the game sets them
extern int InfiniteLives;

// --- player input ------------------------------------------------------------
extern int ControlMode;     // 0 keyboard, otherwise joystick
extern float JoyDeadZone;   // an axis counts only beyond +/- this value
// Direction codes (DirCode of vocabulary.h).
extern int Direction;
extern int LastDirection;   // the last code other than DIR_NONE
extern int FireButtons;     // 0 none, 1 fire, 2 grenade

// Key codes (virtual-key codes) of the six controls: element 0 is the
// default, element 1 the code in use.
using KeyPair = std::array<int, 2>;
extern KeyPair LeftKeys;
extern KeyPair RightKeys;
extern KeyPair UpKeys;
extern KeyPair DownKeys;
extern KeyPair FireKeys;
extern KeyPair GrenadeKeys;

// The display name of every key code ("" for keys without one).
extern std::array<std::string, 256> KeyNames;
// The 72 keys that have a name, by ascending code: the one table of key
// names (KeyNames) and of the keys a redefinition can take.
struct NamedKey {
    int code;
    std::string name;
};
const std::vector<NamedKey>& NamedKeys();
// Fills KeyNames from NamedKeys(), every other code empty.
void FillKeyNames();

// --- level play --------------------------------------------------------------
// The play field: 320 x 160 pixels from this screen row down.  Actors are
// drawn at their map position minus ViewTop plus this row.
inline constexpr int kPlayFieldTop = 26;
extern plat::Ref<T_Dax> Hero;  // the hero of the level being played
extern int ViewTop;            // map pixel row at the top of the play field
extern int ViewLeft;           // map pixel column at its left edge (always 0)
extern int GrenadeReady;       // 1 while no grenade of the hero is in the air
extern int GateWaveCounter;    // the gate wave at the top of the map; -1 idle
extern double PlayClock;       // millisecond clocks read by the level script
extern double LastScrollTime;
extern double TopClock;
extern int KidnappersDown;
extern int GateNextKind;
extern double LastGateSpawnMs;
// Spawn markers of the level script (slots 0..15 used).
extern std::array<int, 20> SpawnMarkers;
// The level script as at an area's start: markers 0..15 cleared and the
// gate wave idle.
void ResetSpawnScript();

// --- resets of the run's state -------------------------------------------------
// What a new game starts with: area 1, stage 1, no score, 5 lives, the first
// extra life at 30000, a grenade ready and 5 grenades (99 in god mode).
void ResetNewGame();
// Every value of the run (game state, input, keys in use and their defaults,
// level play and level script) back to its value at load; the objects (lists,
// screens, banks, pictures) are not touched.  The start-up and the tests use
// it.
void ResetRunState();
// Horizontal grenade speed by thrower zone (first index) and hero zone
// (second index), zones 1..10; index 0 and the diagonal are unused.
extern std::array<std::array<int, 11>, 11> GrenadeSpeedTable;
void FillGrenadeSpeedTable();

// --- actor lists ---------------------------------------------------------------
using ActorList = plat::TList<plat::Object>;
extern plat::Ref<ActorList> ShotList;   // bullets, grenades and grenade packs
extern plat::Ref<ActorList> EnemyList;  // enemy soldiers and vehicles
extern plat::Ref<ActorList> HutList;    // shooting huts
extern plat::Ref<ActorList> GuardList;  // house guards (areas 4 and 8)
extern plat::Ref<ActorList> FireList;   // fortress fires
// Makes the five lists, empty (the main program does it once at start).
void CreateActorLists();

// --- shared resources --------------------------------------------------------
extern plat::Ref<fw::TImageBank> ImageBank;
extern plat::Ref<fw::TSoundBank> SoundBank;
extern plat::Ref<plat::TImageFont> GameImageFont;  // the text font of every screen
extern plat::Ref<TBitmapFont2> BitmapFont;         // the large fixed-cell font
extern plat::Ref<tilemap::TileMap> GameMap;
extern plat::Ref<music::SidAudioStream> SidMusic;
extern plat::Ref<TIniFileKey> KeyFile;             // "Keys.ini"

extern plat::Ref<plat::TImage> HeroImage;          // 24 x 21, 30 cells
extern plat::Ref<plat::TImage> ShotBurstImage;     // 24 x 21, 4 cells
extern plat::Ref<plat::TImage> GrenadeImage;       // 24 x 21, 12 cells
extern plat::Ref<plat::TImage> GrenadeThrowImage;  // 24 x 21, 3 cells
extern plat::Ref<plat::TImage> EnemyImage;         // 24 x 21, 84 cells
extern plat::Ref<plat::TImage> EnemyCImage;        // 24 x 21, 56 cells
extern plat::Ref<plat::TImage> HutImage;           // 48 x 72, 2 cells
extern plat::Ref<plat::TImage> GateClosedImage;    // one picture
extern plat::Ref<plat::TImage> GateOpenImage;      // 16 x 64, 2 cells

}  // namespace game
