#include "game/level_screen.h"

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "framework/helpers.h"
#include "framework/input.h"
#include "framework/mouse.h"
#include "framework/timing.h"
#include "game/checkpoints.h"
#include "game/globals.h"
#include "game/hero.h"
#include "game/hud.h"
#include "game/level_hooks.h"
#include "music/sid_stream.h"
#include "tilemap/tilemap.h"
#include "game/player_input.h"
#include "game/screens.h"
#include "game/shots.h"
#include "game/title_screen.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"

namespace game {

namespace {

constexpr int kKeyEscape = 27;

// Walks a list and calls `act` for every entry of class T.
template <class T, class F>
void EachOf(const ActorList& list, F&& act) {
    for (const auto& object : list)
        if (auto* actor = dynamic_cast<T*>(object.get())) act(*actor);
}

bool HutsActive() {
    if (HutList->IsEmpty()) return false;
    return (Level == 2 && ViewTop > 50 && ViewTop < 520) || (Level == 6 && ViewTop > 1075);
}

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

void TLevelScreen::Load() {
    GameMap->MapFreeMem();
    if (Level >= 1 && Level <= 8) GameMap->MapLoad(LevelMapFile(Level), 2);
}

void TLevelScreen::Start() {
    fw::TScreen::Start();
    fw::Game->Mouse->Off();
    fw::FlushInput();
    if (LevelStartKind == 1 && TitleScreen) TitleScreen->Kill();
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
    if (LevelStartKind == 1) {
        Level = 1;
        Stage = 1;
        Score = 0;
        Lives = 5;
        NextExtraLife = 30000;
        GrenadeReady = 1;
        Grenades = GodMode ? 99 : 5;
    }
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
    Direction = 2;
    LastDirection = 2;
    Hero->Frame_ind = 0;
    LastScrollTime = PlayClock;

    const auto& hooks = PlayHooks();
    switch (Level) {
    case 2:
        CallHook(hooks.CreateHut, 512, 4);
        CallHook(hooks.CreateHut, 345, 6);
        CallHook(hooks.CreateHut, 240, 4);
        break;
    case 6:
        CallHook(hooks.CreateHut, 1576, 4);
        CallHook(hooks.CreateHut, 1512, 6);
        CallHook(hooks.CreateHut, 1416, 4);
        CallHook(hooks.CreateHut, 1328, 6);
        break;
    case 7:
        if (hooks.RandomDir9or8) CallHook(hooks.CreateDoorRunner, 28.0f, 1614, hooks.RandomDir9or8());
        break;
    case 8:
        CallHook(hooks.CreateGuardIni, 105.0f, 1616);
        CallHook(hooks.CreateGuardIni, 150.0f, 1616);
        break;
    default:
        break;
    }
}

void TLevelScreen::Logic() {
    fw::TScreen::Logic();
    if (ViewTop > 30) PlayClock = PlayMilliSecs();
    if (Hero->estado == HERO_PLAYING) ReadPlayerInput();
    Hero->m_update_dax();
    HandleFireButtons();

    const auto& hooks = PlayHooks();
    CallHook(hooks.RunSpawnScript);
    EachOf<T_Bala>(*ShotList, [](T_Bala& b) { b.m_Update_Bala(); });
    EachOf<T_Granada>(*ShotList, [](T_Granada& g) { g.m_update_granada(); });
    CallHook(hooks.UpdateEnemies);
    if ((Level == 4 || Level == 8) && !GuardList->IsEmpty()) CallHook(hooks.UpdateGuards);
    CallHook(hooks.UpdatePickups);
    if (HutsActive()) CallHook(hooks.UpdateHuts);
    if (Level != 1) CallHook(hooks.UpdateVehicles);
    if (ViewTop == 0) {
        CheckLevelExit();
        TopClock = PlayMilliSecs();
    }
    m_Mira_vida_extra();

    if (fw::KeyHitCode(kKeyEscape)) {
        // Back to the title; the score is not entered anywhere.
        fw::FlushInput();
        if (SidMusic) SidMusic->Stop();
        LevelStartKind = 2;
        HandOver(NextScreen::Title);
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

    if (Level != 4 && Level != 8) {
        if (ViewTop > 0 && ViewTop < 50) {
            plat::DrawImage(GateClosedImage, 120, static_cast<float>(kPlayFieldTop - ViewTop), 0);
        } else if (ViewTop == 0) {
            plat::DrawImage(GateOpenImage, 104, kPlayFieldTop, 0);
            plat::DrawImage(GateOpenImage, 208, kPlayFieldTop, 1);
        }
    }

    const auto& hooks = PlayHooks();
    CallHook(hooks.DrawPickups);
    CallHook(hooks.DrawEnemies);
    if ((Level == 4 || Level == 8) && !GuardList->IsEmpty()) CallHook(hooks.DrawGuards);
    if (Hero->estado != HERO_FORTRESS_BURNING) Hero->m_draw_dax();
    // The hero becomes playable after his first drawn frame.
    if (Hero->estado == HERO_ENTERING) Hero->estado = HERO_PLAYING;
    if (Level != 1) CallHook(hooks.DrawVehicles);
    EachOf<T_Bala>(*ShotList, [](T_Bala& b) { b.m_Draw_Bala(); });

    GameMap->mapcurlyr = 1;
    GameMap->MapDrawBGT(ViewLeft, ViewTop, 0, kPlayFieldTop, 320, 160);
    GameMap->mapcurlyr = 0;

    if (Hero->estado == HERO_FORTRESS_BURNING) Hero->m_draw_dax();
    if (HutsActive()) CallHook(hooks.DrawHuts);
    EachOf<T_Granada>(*ShotList, [](T_Granada& g) { g.m_draw_granada(); });
    DrawWindowedEnemies();
    DrawHudBars();
    DrawHudLine();
}

}  // namespace game
