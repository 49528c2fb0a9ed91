#include "game/globals.h"

#include <algorithm>

#include "framework/banks.h"
#include "game/front/bitmap_font.h"
#include "game/front/highscores_screen.h"
#include "game/front/intro_screen.h"
#include "game/front/key_config.h"
#include "game/front/name_entry.h"
#include "game/front/options_screen.h"
#include "game/front/title_screen.h"
#include "game/play/level_complete_screen.h"
#include "game/play/level_screen.h"
#include "game/screens.h"

namespace game {

int Level = 1;
int Stage = 1;
int Score = 0;
int Lives = 5;
int Grenades = 5;
int HiScore = 10000;
int ExtraLifeStep = 30000;
int NextExtraLife = 30000;
int LevelStartKind = 0;
float FireCoolDown = 0;
int GodMode = 0;
int InfiniteLives = 0;

int ControlMode = 0;
float JoyDeadZone = 0.5f;
int Direction = 5;
int LastDirection = 2;
int FireButtons = 0;

KeyPair LeftKeys{37, 37};
KeyPair RightKeys{39, 39};
KeyPair UpKeys{38, 38};
KeyPair DownKeys{40, 40};
KeyPair FireKeys{162, 162};
KeyPair GrenadeKeys{164, 164};

std::array<std::string, 256> KeyNames;

void FillKeyNames() {
    for (auto& name : KeyNames) name.clear();
    KeyNames[8] = "BACKSPACE";
    KeyNames[9] = "TAB";
    KeyNames[13] = "RETURN";
    KeyNames[32] = "SPACE";
    KeyNames[33] = "PAGE UP";
    KeyNames[34] = "PAGE DOWN";
    KeyNames[35] = "END";
    KeyNames[36] = "HOME";
    KeyNames[37] = "CURSOR LEFT";
    KeyNames[38] = "CURSOR UP";
    KeyNames[39] = "CURSOR RIGHT";
    KeyNames[40] = "CURSOR DOWN";
    KeyNames[45] = "INSERT";
    KeyNames[46] = "DELETE";
    for (int c = 0; c <= 9; ++c) KeyNames[48 + c] = std::string(1, static_cast<char>('0' + c));
    for (int c = 0; c < 26; ++c) KeyNames[65 + c] = std::string(1, static_cast<char>('A' + c));
    for (int c = 0; c <= 9; ++c) {
        std::string name = "NUMPAD 0";
        name.back() = static_cast<char>('0' + c);
        KeyNames[96 + c] = name;
    }
    KeyNames[106] = "NUMPAD *";
    KeyNames[107] = "NUMPAD +";
    KeyNames[109] = "NUMPAD -";
    KeyNames[110] = "NUMPAD .";
    KeyNames[111] = "NUMPAD /";
    KeyNames[160] = "LEFT SHIFT";
    KeyNames[161] = "RIGHT SHIFT";
    KeyNames[162] = "LEFT CONTROL";
    KeyNames[163] = "RIGHT CONTROL";
    KeyNames[164] = "LEFT ALT";
    KeyNames[188] = ",";
    KeyNames[190] = ".";
}

plat::Ref<T_Dax> Hero;
int ViewTop = 0;
int ViewLeft = 0;
int GrenadeReady = 1;
int GateWaveCounter = -1;
double PlayClock = 0;
double LastScrollTime = 0;
double TopClock = 0;
int KidnappersDown = 0;
int GateNextKind = 6;
double LastGateSpawnMs = 0;
std::array<int, 20> SpawnMarkers{};

void ResetSpawnScript() {
    std::fill_n(SpawnMarkers.begin(), 16, 0);
    GateWaveCounter = -1;
}
std::array<std::array<int, 11>, 11> GrenadeSpeedTable{};

void FillGrenadeSpeedTable() {
    // Rows: thrower zone 1..10; columns: hero zone 1..10 (positive = right).
    static constexpr int kSpeeds[10][10] = {
        {0, 5, 8, 12, 15, 0, 3, 5, 8, 11},
        {-4, 0, 5, 8, 12, -3, 0, 3, 5, 8},
        {-8, -5, 0, 5, 8, -5, -3, 0, 3, 5},
        {-11, -8, -5, 0, 5, -8, -5, -3, 0, 3},
        {-15, -12, -8, -5, 0, -11, -8, -5, -3, 0},
        {0, 5, 10, 14, 18, 0, 5, 2, 12, 15},
        {-5, 0, 5, 10, 14, -4, 0, 4, 8, 13},
        {-10, -5, 0, 5, 10, -8, -4, 0, 4, 8},
        {-14, -10, -5, 0, 5, -12, -8, -4, 0, 5},
        {-18, -14, -10, -5, 0, -15, -13, -8, -5, 0},
    };
    for (auto& row : GrenadeSpeedTable) row.fill(0);
    for (int from = 1; from <= 10; ++from)
        for (int to = 1; to <= 10; ++to) GrenadeSpeedTable[from][to] = kSpeeds[from - 1][to - 1];
}

plat::Ref<TTitlescreen> TitleScreen;
plat::Ref<TLevelScreen> LevelScreen;
plat::Ref<TLevelCompleteScreen> LevelCompleteScreen;
plat::Ref<TOptionScreen> OptionScreen;
plat::Ref<TIntroducirRecordsScreen> RecordsEntryScreen;
plat::Ref<THighScoresScreen> HighScoresScreen;
plat::Ref<TRedefineKeysScreen> RedefineKeysScreen;
plat::Ref<TIntroScreen> IntroScreen;

plat::Ref<ActorList> ShotList;
plat::Ref<ActorList> EnemyList;
plat::Ref<ActorList> HutList;
plat::Ref<ActorList> GuardList;
plat::Ref<ActorList> FireList;

void CreateActorLists() {
    ShotList = plat::New<ActorList>();
    EnemyList = plat::New<ActorList>();
    HutList = plat::New<ActorList>();
    GuardList = plat::New<ActorList>();
    FireList = plat::New<ActorList>();
}

plat::Ref<fw::TImageBank> ImageBank;
plat::Ref<fw::TSoundBank> SoundBank;
plat::Ref<plat::TImageFont> GameImageFont;
plat::Ref<TBitmapFont2> BitmapFont;
plat::Ref<tilemap::TileMap> GameMap;
plat::Ref<music::SidAudioStream> SidMusic;
plat::Ref<TIniFileKey> KeyFile;

plat::Ref<plat::TImage> HeroImage;
plat::Ref<plat::TImage> ShotBurstImage;
plat::Ref<plat::TImage> GrenadeImage;
plat::Ref<plat::TImage> GrenadeThrowImage;
plat::Ref<plat::TImage> EnemyImage;
plat::Ref<plat::TImage> EnemyCImage;
plat::Ref<plat::TImage> HutImage;
plat::Ref<plat::TImage> GateClosedImage;
plat::Ref<plat::TImage> GateOpenImage;

}  // namespace game
