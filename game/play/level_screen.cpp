#include "game/play/level_screen.h"

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/timing.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/checkpoints.h"
#include "game/play/enemies/enemy.h"
#include "game/play/enemies/huts.h"
#include "game/play/enemies/vehicles.h"
#include "game/play/field.h"
#include "game/play/hero.h"
#include "game/play/hud.h"
#include "game/play/pickups.h"
#include "game/play/script/make_actor.h"
#include "game/play/script/spawn_script.h"
#include "game/play/shots.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"
#include "platform/sys/input.h"
#include "tilemap/tilemap.h"

namespace game {

namespace {

bool HutsActive() { return !HutList->IsEmpty() && AreaTablesOf(Level).hutWindow.Holds(ViewTop); }

}  // namespace

const char* LevelMapFile(int level) {
    static const char* const files[] = {"",
                                        "Data/Maps/Level1.dat",
                                        "Data/Maps/Level2.dat",
                                        "Data/Maps/Level3.dat",
                                        "Data/Maps/Level4.dat",
                                        "Data/Maps/Level5.dat",
                                        "Data/Maps/Level6.dat",
                                        "Data/Maps/Level7.dat",
                                        "Data/Maps/Level8.dat"};
    return (level >= 1 && level <= 8) ? files[level] : "";
}

void LoadGameMap(const std::string& file) {
    GameMap->MapFreeMem();
    GameMap->MapLoad(file, 2);
    if (GameMap->maperror != tilemap::MER_NONE) fw::ReportError("Error loading file " + file, 1);
}

void TLevelScreen::Load() {
    if (Level >= 1 && Level <= 8) LoadGameMap(LevelMapFile(Level));
    else GameMap->MapFreeMem();
}

void TLevelScreen::Start() {
    fw::TScreen::Start();
    fw::Game->Mouse->Off();
    fw::FlushInput();
    if (LevelStartKind == SCREEN_TITLE && TitleScreen) TitleScreen->Kill();
    ViewTop = (GameMap->mapheight - 2) * GameMap->mapblockheight - 160;
    InitLevelStats();
    fw::SeedRandRange(static_cast<unsigned>(plat::MilliSecs()));
    if (SidMusic) SidMusic->Restart();
    PlayClock = LastScrollTime = PlayMilliSecs();
    fw::Game->FixedRateLogic->Init();
    fw::Game->IgnoreEscapeKey = 1;
}

void TLevelScreen::Kill() { GameMap->MapFreeMem(); }

void TLevelScreen::InitLevelStats() {
    fw::FlushInput();
    if (LevelStartKind == SCREEN_TITLE) ResetNewGame();
    ClearShotList();
    EnemyList->Clear();
    HutList->Clear();
    GuardList->Clear();
    ResetSpawnScript();
    snd_vida_extra = SoundBank->Find("snd9");
    Hero = plat::New<T_Dax>();
    Hero->dead_sound = SoundBank->Find("snd5");
    Hero->grenade_throw_sound = SoundBank->Find("snd3");
    Hero->estado = HERO_ENTERING;
    Direction = DIR_UP;
    LastDirection = DIR_UP;
    Hero->Frame_ind = 0;
    LastScrollTime = PlayClock;

    // The area's fixed scenery: its huts, then its other start actors.
    const AreaTables& area = AreaTablesOf(Level);
    for (const auto& call : area.huts) MakeActor(call);
    for (const auto& call : area.startActors) MakeActor(call);
}

void TLevelScreen::Logic() {
    fw::TScreen::Logic();
    if (ViewTop > 30) PlayClock = PlayMilliSecs();
    if (Hero->estado == HERO_PLAYING) ReadPlayerInput();
    Hero->m_update_dax();
    HandleFireButtons();

    RunSpawnScript();
    EachOf<T_Bala>(*ShotList, [](T_Bala& b) { b.m_Update_Bala(); });
    EachOf<T_Granada>(*ShotList, [](T_Granada& g) { g.m_update_granada(); });
    UpdateEnemies();
    if (IsFortressArea(Level) && !GuardList->IsEmpty()) UpdateGuards();
    UpdatePickups();
    if (HutsActive()) UpdateHuts();
    if (Level != 1) UpdateVehicles();
    if (ViewTop == 0) {
        CheckLevelExit();
        TopClock = PlayMilliSecs();
    }
    m_Mira_vida_extra();

    if (fw::KeyHitCode(plat::KEY_ESCAPE)) {
        // Back to the title; the score is not entered anywhere.
        fw::FlushInput();
        if (SidMusic) SidMusic->Stop();
        Go(SCREEN_LEVEL, SCREEN_TITLE);
    }
}

void TLevelScreen::m_Mira_vida_extra() {
    if (Score >= NextExtraLife) {
        Lives += 1;
        NextExtraLife += ExtraLifeStep;
        PlayGameSound(snd_vida_extra);
    }
}

void TLevelScreen::Draw() {
    plat::SetBlend(plat::SOLIDBLEND);
    plat::Cls();
    plat::SetBlend(plat::ALPHABLEND);
    GameMap->MapDrawBG(ViewLeft, ViewTop, 0, kPlayFieldTop, 320, 160);

    if (!IsFortressArea(Level)) {
        if (ViewTop > 0 && ViewTop < 50) {
            plat::DrawImage(GateClosedImage, 120, static_cast<float>(kPlayFieldTop - ViewTop), 0);
        } else if (ViewTop == 0) {
            plat::DrawImage(GateOpenImage, 104, kPlayFieldTop, 0);
            plat::DrawImage(GateOpenImage, 208, kPlayFieldTop, 1);
        }
    }

    DrawPickups();
    DrawEnemies();
    if (IsFortressArea(Level) && !GuardList->IsEmpty()) DrawGuards();
    if (Hero->estado != HERO_FORTRESS_BURNING) Hero->m_draw_dax();
    // The hero becomes playable after his first drawn frame.
    if (Hero->estado == HERO_ENTERING) Hero->estado = HERO_PLAYING;
    if (Level != 1) DrawVehicles();
    EachOf<T_Bala>(*ShotList, [](T_Bala& b) { b.m_Draw_Bala(); });

    GameMap->mapcurlyr = 1;
    GameMap->MapDrawBGT(ViewLeft, ViewTop, 0, kPlayFieldTop, 320, 160);
    GameMap->mapcurlyr = 0;

    if (Hero->estado == HERO_FORTRESS_BURNING) Hero->m_draw_dax();
    if (HutsActive()) DrawHuts();
    EachOf<T_Granada>(*ShotList, [](T_Granada& g) { g.m_draw_granada(); });
    DrawWindowedEnemies();
    DrawHudBars();
    DrawHudLine();
}

}  // namespace game
