#include "game/front/main_program.h"

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/highscore.h"
#include "framework/input.h"
#include "framework/system.h"
#include "game/front/bitmap_font.h"
#include "game/front/highscores_screen.h"
#include "game/front/intro_screen.h"
#include "game/front/key_config.h"
#include "game/front/name_entry.h"
#include "game/front/options_screen.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/level_complete_screen.h"
#include "game/play/level_screen.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

constexpr const char* kGameFont = "Data/fonts/basic.ttf";
constexpr const char* kBitmapFontFile = "Data/Graphics/8x8_VelmarokFont.png";

// The shell of this game.  Every opening of the display selects the drawing
// driver with its own default picture flags, at start and again after F7,
// Alt+Enter or a new resolution; the game's picture rules follow each one.
class TGameShell final : public fw::TGame {
public:
    void GraphicsCreate() override {
        fw::TGame::GraphicsCreate();
        UsePictureRules();
    }
};

plat::Ref<plat::TImage> Strip(const std::string& file, int cellWidth, int cellHeight, int cells) {
    return fw::LoadAnimImageOrDie(file, cellWidth, cellHeight, 0, cells, -1);
}

}  // namespace

void CreateGameObjects() {
    TitleScreen = plat::New<TTitlescreen>();
    LevelScreen = plat::New<TLevelScreen>();
    LevelCompleteScreen = plat::New<TLevelCompleteScreen>();
    OptionScreen = plat::New<TOptionScreen>();
    RecordsEntryScreen = plat::New<TIntroducirRecordsScreen>();
    HighScoresScreen = plat::New<THighScoresScreen>();
    RedefineKeysScreen = plat::New<TRedefineKeysScreen>();
    IntroScreen = plat::New<TIntroScreen>();

    CreateActorLists();
    // The default keys, the spawn markers and every other value of the run.
    ResetRunState();

    GameMap = plat::New<tilemap::TileMap>();
    SidMusic = plat::New<music::SidAudioStream>();
    FillGrenadeSpeedTable();
    KeyFile = plat::New<TIniFileKey>();
    FillKeyNames();
}

void StartUp() {
    music::InitSidStreamModule();

    fw::EnsureSingleInstance(kInstanceName);
    plat::AppTitle(kAppTitle);
    fw::UseVirtualResolution = 1;
    fw::VirtualWidth = 320;
    fw::VirtualHeight = 240;
    fw::ErrorReportMode = 0;

    fw::Game = plat::New<TGameShell>();
    auto& game = *fw::Game;
    // The sizes the options screen offers.
    game.ScreenSizes = {{800, 600}, {1024, 768}};
    game.SetSubPathWrapper(kSharedSubPath);
    game.CheckGoodExit();
    game.Init(0);
    // The game always plays through OpenAL, whatever the settings name.
    game.ChangeSoundDriver("OpenAL Generic Software", 0);
    game.ChannelsCreate(16);
    game.Channels->MaxVol = 16.0f;
    game.DebugDisplayX = 5;
    game.DebugDisplayY = 5;

    ImageBank = plat::New<fw::TImageBank>();
    ImageBank->SetPath(game.ImagePath);
    SoundBank = plat::New<fw::TSoundBank>();
    SoundBank->SetPath(game.SoundPath);

    GameImageFont = plat::LoadImageFont(kGameFont, 8, plat::BOLDFONT);
    if (!GameImageFont) throw plat::RuntimeError(std::string("Error loading font ") + kGameFont);

    CreateGameObjects();

    fw::ErrorReportMode = 1;
    game.GraphicsCreate();
    if (fw::UseVirtualResolution == 1)
        plat::SetVirtualResolution(static_cast<float>(fw::VirtualWidth), static_cast<float>(fw::VirtualHeight));
    // The picture rules are in force now: the shell applied them with the
    // display.
    plat::HideMouse();
    // Of the shell's own keys only pause, Escape and Alt+Enter stay live.
    game.IgnoreFrameworkKeys = 1;
    game.IgnoreDebugKey = 1;
    ControlMode = plat::JoyCount() > 0 ? 1 : 0;

    StartGame();

    fw::FlushInput();
    game.FixedRateLogic->Init();
    game.Mouse->Off();
}

void UsePictureRules() {
    plat::SetMaskColor(255, 0, 255);
    plat::AutoImageFlags(plat::MASKEDIMAGE);
}

void StartGame() {
    // The window shows black, not garbage, while the data loads.
    plat::SetClsColor(0, 0, 0);
    plat::Cls();
    fw::FlipScreen();

    LoadGameSounds();
    LoadGameImages();

    // The file starts from the codes in use, is updated from the disk and
    // written back, and then applied.
    RedefineKeysScreen->IniKeysFill();
    KeyFile->Load();
    RedefineKeysScreen->IniKeysExtract();

    auto& table = *fw::Game->HighScores;
    table.Create(fw::Game->SubPath + "velmarok", 8);
    table.Load();
    // A missing, empty or unreadable file: the default table (saved).
    if (table.IsEmpty()) table.CreateDefault();
    HiScore = table.First()->score;

    IntroScreen->Load();
    IntroScreen->Start();
    fw::Game->CurrentTScreen = IntroScreen;

    BeginSuspendedWithoutFocus();
}

void BeginSuspendedWithoutFocus() {
    if (plat::ActiveWindowHandle() != fw::Game->WindowHandle) fw::Game->SuspendedEvent = 1;
}

void LoadGameSounds() {
    for (const char* file : {"ns.wav", "snd2.wav", "snd3.wav", "snd4.wav", "snd5.wav", "snd6.wav",
                             "snd7.wav", "snd8.wav", "snd9.wav"})
        SoundBank->Load(file, 1.0f, 1.0f, "", 0);
}

void LoadGameImages() {
    ImageBank->Load("paused", "", -1, 1);
    fw::Game->SpritePausedCreate(ImageBank->Find("paused"));
    LoadPlayImages();
}

void LoadPlayImages() {
    HeroImage = Strip("Data/Graphics/superdax.png", 24, 21, 30);
    ShotBurstImage = Strip("Data/Graphics/shootexp.png", 24, 21, 4);
    GrenadeImage = Strip("Data/Graphics/granada_dax.png", 24, 21, 12);
    GrenadeThrowImage = Strip("Data/Graphics/tira_granada_dax.png", 24, 21, 3);
    EnemyImage = Strip("Data/Graphics/enemyspr.png", 24, 21, 84);
    EnemyCImage = Strip("Data/Graphics/enemycspr.png", 24, 21, 56);
    HutImage = Strip("Data/Graphics/casetas.png", 48, 72, 2);
    GateClosedImage = fw::LoadImageOrDie("Data/Graphics/puertacer.png", -1);
    GateOpenImage = Strip("Data/Graphics/puertaab.png", 16, 64, 2);

    BitmapFont = TBitmapFont2::Create(kBitmapFontFile, -1, -1);
    if (!BitmapFont) throw plat::RuntimeError("Error font");
}

int RunFrame() {
    if (fw::Game->MainLogicLoop() == -1) return -1;
    fw::Game->ScreenDraw();
    return 1;
}

void GameMain(int frameLimit) {
    StartUp();
    for (int frames = 0;; ++frames) {
        if (frameLimit > 0 && frames >= frameLimit) {
            plat::ReportFramesDrawn(frames);
            QuitGame();
        }
        if (RunFrame() == -1) QuitGame();
    }
}

void KillGame() { fw::Game->Kill(); }

void QuitGame() {
    fw::TGame::MakeGoodExit();
    plat::ShowMouse();
    KillGame();
    plat::End(0);
}

}  // namespace game
