#include "game/front/intro_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/timing.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"

namespace game {

namespace {

// The two blues of the old machine's screen and border.
void BorderColour() { plat::SetColor(124, 112, 218); }
void ScreenColour() { plat::SetColor(62, 49, 162); }

double Now() { return static_cast<double>(plat::MilliSecs64()); }

}  // namespace

const std::string& TIntroScreen::ScrollMessage() {
    static const std::string message =
        "GREETINGS TO EVERY FAN OF THE RAVOTESK 64 STILL OUT THERE!   "
        "TWENTY-FIVE YEARS LATER THE FULL VERSION OF VELMAROK DOZIDU IS HERE, WITH ALL EIGHT "
        "ARCADE LEVELS.   "
        "THIS IS OUR TRIBUTE TO A GREAT GAME AND A GREAT COMPUTER.   "
        "THE REAL TAPE LOADER NEVER HAD A SCROLL LIKE THIS...   "
        "THIS IS NO REAL TAPE, SO ESCAPE SENDS THE BLOCKS TO ZERO AT ONCE.   "
        "PLEASE ENJOY IT!!";
    return message;
}

std::string TIntroScreen::ClockText(int segs, int cent) {
    const int seconds = std::max(segs, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 60, seconds % 60,
                  std::clamp(cent, 0, 99));
    return text;
}

namespace {

// A tune that cannot be played (missing, empty, unreadable) leaves the game
// silent but running; the player is told, so a broken install shows.
void LoadTuneOrSay(const std::string& file) {
    if (SidMusic->Load(file, 1, 1, 1.0f, 1.0f)) return;
    const std::string message = "Error loading music " + file + ": the game goes on without it";
    plat::PrintError(message);
    fw::AppendErrorLog(message);
}

}  // namespace

void TIntroScreen::Load() {
    ImageLoad("Loader.png", 0, 1);
    // The loader tune is made ready now and started when the loading begins.
    LoadTuneOrSay("Data/Music/Nova.sid");
    SidMusic->Stop();
}

void TIntroScreen::Start() {
    TScreen::Start();
    fw::Game->Mouse->Off();
    fw::Game->FixedRateLogic->Init();
    fw::Game->IgnoreEscapeKey = 1;  // Escape belongs to this screen
    oldt = Now();
    Turboload_sound = SoundBank->Find("ns");
    m_Init_Scroll();
    // The one place the game chooses its text font: every later screen
    // draws its texts in it.
    plat::SetImageFont(GameImageFont);
}

void TIntroScreen::m_Init_Scroll() {
    scroll_text = ScrollMessage() + std::string(9, ' ');
    scroll_pos = 320.0;
    // Measured in the font the message is drawn in, so it re-enters as soon
    // as its last blank has left the screen.
    scroll_len = static_cast<int>(
        std::ceil(GameImageFont ? GameImageFont->TextWidth(scroll_text)
                                : static_cast<float>(plat::TextWidth(scroll_text))));
}

void TIntroScreen::Kill() {
    Image = nullptr;
    SidMusic->Dispose();
}

void TIntroScreen::Logic() {
    TScreen::Logic();
    newt = Now();
    const double elapsed = std::fabs(newt - oldt);

    switch (estado) {
        case 1:
            if (elapsed > 1000) {
                estado = 2;
                oldt = Now();
            }
            break;
        case 2:
            if (elapsed > 5000 || fw::KeyHitCode(plat::KEY_ESCAPE) || fw::KeyHitCode(plat::KEY_LCONTROL)) {
                fw::FlushInput();
                estado = 3;
                oldt = Now();
            }
            break;
        case 3:
            if (elapsed > 3000 || fw::KeyHitCode(plat::KEY_ESCAPE)) {
                estado = 4;
                oldt = Now();
                canal = fw::Game->Channels->PlayGameSound(Turboload_sound, nullptr, 1.0f, 0.0f);
            }
            break;
        case 4:
            if (elapsed > 6500 || fw::KeyHitCode(plat::KEY_ESCAPE)) {
                fw::FlushInput();
                fw::Game->Channels->StopGameChannel(canal);
                canal = nullptr;
                estado = 5;
                oldt = Now();
                btimer = plat::CreateTimer(2.0);
                ctimer = plat::CreateTimer(100.0);
                stimer = plat::CreateTimer(1.0);
                SidMusic->Play();
            }
            break;
        case 5:
            if (fw::KeyHitCode(plat::KEY_ESCAPE)) blocks = 0;
            if (blocks == 0) {
                estado = 6;
                oldt = Now();
                plat::StopTimer(btimer);
                plat::StopTimer(ctimer);
                plat::StopTimer(stimer);
                SidMusic->Stop();
                break;
            }
            // 200 blocks in 100 seconds; the counter stops at 0.
            blocks = std::max(0, 200 - plat::TimerTicks(btimer));
            segs = plat::TimerTicks(stimer);
            cent = plat::TimerTicks(ctimer) % 100;
            // 100 pixels a second: half a pixel per whole tick, and its share
            // on the partial tick that ends a frame.
            scroll_pos -= 0.5 * fw::Delta;
            if (scroll_pos + scroll_len < 0) scroll_pos = 320.0;
            break;
        case 6:
            if (elapsed > 5000 || fw::KeyHitCode(plat::KEY_ESCAPE)) {
                Kill();
                LoadTuneOrSay("Data/Music/Velm.sid");
                SidMusic->Stop();
                TitleScreen->Load();
                TitleScreen->Start();
                fw::Game->CurrentTScreen = TitleScreen;
            }
            break;
        default:
            break;
    }
}

void TIntroScreen::DrawCounters() {
    const float blocksX = blocks >= 100 ? 96.0f : (blocks >= 10 ? 104.0f : 112.0f);
    plat::DrawText(std::to_string(blocks), blocksX, 62);
    plat::DrawText(ClockText(segs, cent), 168, 62);
}

void TIntroScreen::Draw() {
    plat::Cls();
    switch (estado) {
        case 1:
        case 3:
            BorderColour();
            plat::DrawRect(0, 0, 320, 240);
            break;
        case 2:
            BorderColour();
            plat::DrawRect(0, 0, 320, 240);
            ScreenColour();
            plat::DrawRect(0, 20, 320, 200);
            BorderColour();
            plat::DrawText("**** RAVOTESK 64 BASIC V2 ****", 32, 28);
            plat::DrawText("64K RAM SYSTEM  38911 BASIC BYTES FREE", 8, 44);
            plat::DrawText("READY.", 0, 60);
            plat::DrawText("LOAD", 0, 68);
            plat::DrawText("PRESS PLAY ON TAPE", 0, 84);
            plat::DrawText("OK", 0, 92);
            plat::DrawText("SEARCHING", 0, 108);
            plat::DrawText("FOUND RAVO TESK GAMES PRESENTS", 0, 116);
            break;
        case 4:
            plat::SetColor(0, 0, 0);
            plat::DrawRect(0, 0, 320, 240);
            plat::SetColor(85, 85, 85);
            plat::DrawRect(0, 20, 320, 200);
            plat::SetColor(255, 255, 255);
            plat::DrawText("VELMAROK", 128, 84);
            plat::SetColor(171, 171, 171);
            plat::DrawText("TURBOLOAD N101788", 96, 204);
            break;
        case 5:
            plat::SetColor(0, 0, 0);
            plat::DrawRect(0, 0, 320, 240);
            plat::SetColor(255, 255, 255);
            if (Image) plat::DrawImage(Image, 0, 16, 0);
            DrawCounters();
            plat::DrawText(scroll_text, static_cast<float>(scroll_pos), 215);
            break;
        case 6: {
            std::uniform_int_distribution<int> channel(0, 255);
            for (int i = 0; i < 9; ++i) {
                r = channel(raster_random_);
                g = channel(raster_random_);
                b = channel(raster_random_);
                plat::SetColor(r, g, b);
                const float row = static_cast<float>(2 * i);
                plat::DrawRect(0, row, 320, 2);
                plat::DrawRect(0, 208 + row, 320, 2);
                plat::DrawRect(0, 224 + row, 320, 2);
            }
            plat::SetColor(255, 255, 255);
            if (Image) plat::DrawImage(Image, 0, 16, 0);
            DrawCounters();
            break;
        }
        default:
            break;
    }
}

}  // namespace game
