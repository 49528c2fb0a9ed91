#include "game/globals.h"

#include <algorithm>
#include <vector>

#include "framework/banks.h"
#include "platform/sys/input.h"

namespace game {

// The values at load are those of ResetRunState() (run at the end of this
// file's initialisation); nothing else writes them.
int Level;
int Stage;
int Score;
int Lives;
int Grenades;
int HiScore;
int ExtraLifeStep;
int NextExtraLife;
int LevelStartKind;
float FireCoolDown;
int GodMode;
int InfiniteLives;

int ControlMode;
float JoyDeadZone;
int Direction;
int LastDirection;
int FireButtons;

KeyPair LeftKeys;
KeyPair RightKeys;
KeyPair UpKeys;
KeyPair DownKeys;
KeyPair FireKeys;
KeyPair GrenadeKeys;

std::array<std::string, 256> KeyNames;

const std::vector<NamedKey>& NamedKeys() {
    static const std::vector<NamedKey> keys = [] {
        using namespace plat;
        std::vector<NamedKey> list = {
            {KEY_BACKSPACE, "BACKSPACE"}, {KEY_TAB, "TAB"},
            {KEY_ENTER, "RETURN"},        {KEY_SPACE, "SPACE"},
            {KEY_PAGEUP, "PAGE UP"},      {KEY_PAGEDOWN, "PAGE DOWN"},
            {KEY_END, "END"},             {KEY_HOME, "HOME"},
            {KEY_LEFT, "CURSOR LEFT"},    {KEY_UP, "CURSOR UP"},
            {KEY_RIGHT, "CURSOR RIGHT"},  {KEY_DOWN, "CURSOR DOWN"},
            {KEY_INSERT, "INSERT"},       {KEY_DELETE, "DELETE"},
        };
        for (int c = 0; c <= 9; ++c) list.push_back({KEY_0 + c, std::string(1, static_cast<char>('0' + c))});
        for (int c = 0; c < 26; ++c) list.push_back({KEY_A + c, std::string(1, static_cast<char>('A' + c))});
        for (int c = 0; c <= 9; ++c) list.push_back({KEY_NUM0 + c, "NUMPAD " + std::string(1, static_cast<char>('0' + c))});
        list.insert(list.end(), {
            {KEY_NUMMULTIPLY, "NUMPAD *"}, {KEY_NUMADD, "NUMPAD +"},
            {KEY_NUMSUBTRACT, "NUMPAD -"}, {KEY_NUMDECIMAL, "NUMPAD ."},
            {KEY_NUMDIVIDE, "NUMPAD /"},   {KEY_LSHIFT, "LEFT SHIFT"},
            {KEY_RSHIFT, "RIGHT SHIFT"},   {KEY_LCONTROL, "LEFT CONTROL"},
            {KEY_RCONTROL, "RIGHT CONTROL"}, {KEY_LALT, "LEFT ALT"},
            {KEY_COMMA, ","},              {KEY_PERIOD, "."},
        });
        return list;
    }();
    return keys;
}

void FillKeyNames() {
    for (auto& name : KeyNames) name.clear();
    for (const NamedKey& key : NamedKeys()) KeyNames[static_cast<std::size_t>(key.code)] = key.name;
}

plat::Ref<T_Dax> Hero;
int ViewTop;
int ViewLeft;
int GrenadeReady;
int GateWaveCounter;
double PlayClock;
double LastScrollTime;
double TopClock;
int KidnappersDown;
int GateNextKind;
double LastGateSpawnMs;
std::array<int, 20> SpawnMarkers{};

void ResetSpawnScript() {
    std::fill_n(SpawnMarkers.begin(), 16, 0);
    GateWaveCounter = -1;
}

void ResetNewGame() {
    Level = 1;
    Stage = 1;
    Score = 0;
    Lives = 5;
    NextExtraLife = 30000;
    GrenadeReady = 1;
    Grenades = GodMode ? 99 : 5;
}

void ResetRunState() {
    HiScore = 10000;
    ExtraLifeStep = 30000;
    LevelStartKind = 0;
    FireCoolDown = 0;
    GodMode = 0;
    InfiniteLives = 0;
    ResetNewGame();

    ControlMode = 0;
    JoyDeadZone = 0.5f;
    Direction = DIR_NONE;
    LastDirection = DIR_UP;
    FireButtons = 0;
    LeftKeys = {plat::KEY_LEFT, plat::KEY_LEFT};
    RightKeys = {plat::KEY_RIGHT, plat::KEY_RIGHT};
    UpKeys = {plat::KEY_UP, plat::KEY_UP};
    DownKeys = {plat::KEY_DOWN, plat::KEY_DOWN};
    FireKeys = {plat::KEY_LCONTROL, plat::KEY_LCONTROL};
    GrenadeKeys = {plat::KEY_LALT, plat::KEY_LALT};

    Hero = nullptr;
    ViewTop = 0;
    ViewLeft = 0;
    PlayClock = LastScrollTime = TopClock = 0;
    KidnappersDown = 0;
    GateNextKind = ENEMY_RUNNER;
    LastGateSpawnMs = 0;
    SpawnMarkers.fill(0);
    ResetSpawnScript();
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

namespace {
// The values at load.
[[maybe_unused]] const bool kRunStateAtLoad = (ResetRunState(), true);
}  // namespace

}  // namespace game
