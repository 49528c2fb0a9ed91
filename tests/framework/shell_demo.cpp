// A small program on the application shell: two screens that switch with
// fades (Space), pause (P), full screen (Alt+Enter), the error panel (E) and
// Escape to quit.  Its start-up creates, reloads and re-saves its settings
// file and repairs it after a crash, like the game's.
//
// VELMAROK_DEMO_SCRIPT drives it without a person: a comma-separated list of
// steps, one per frame: "space", "pause", "altenter", "error", "escape",
// "wait:N" (let N milliseconds pass), "shot:PATH" (save the back buffer as PNG), "fatal"
// (a fatal error through the error panel), "crash" (change a setting and
// die without a good exit), "settings" (print the settings values read).
// A scripted run keeps time on a clock of its own that moves on by one
// frame's worth per frame, so it goes the same way however busy the machine.

#include <cstdlib>
#include <deque>
#include <vector>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "framework/banks.h"
#include "framework/drawing.h"
#include "framework/errors.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/system.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"
#include "platform/sys/input.h"
#include "platform/sys/system.h"
#include "demo_support.h"

namespace {

class DemoScreen : public fw::TScreen {
public:
    DemoScreen(std::string n, int r, int g, int b) : r_(r), g_(g), b_(b) { name = std::move(n); }
    plat::Ref<fw::TScreen> other;
    int ticks = 0;

    void Start() override {
        std::cout << "start " << name << std::endl;
        fw::TScreen::Start();
        ticks = 0;
        fw::Game->GameFade->Init(500, 0, nullptr, 1, 0);
    }
    void Logic() override { ++ticks; }
    void Draw() override {
        plat::SetClsColor(r_ / 4, g_ / 4, b_ / 4);
        plat::Cls();
        plat::SetColor(r_, g_, b_);
        const float x = 20 + static_cast<float>(ticks % 400) * 0.5f;
        plat::DrawRect(x, 80, 80, 80);
        plat::SetColor(255, 255, 255);
        plat::DrawText("Screen " + name, 8, 8);
        plat::DrawText("SPACE switch  P pause  E error", 8, 208);
        plat::DrawText("ALT+ENTER full screen  ESC quit", 8, 222);
    }
    void SpecificKeys() override {
        if (fw::KeyHitCode(plat::KEY_SPACE) && !fw::Game->Fading()) {
            fw::Game->DestinationTScreen = other;
            fw::Game->GameFade->Init(500, 1, nullptr, 1, 0);
        }
        if (fw::KeyHitCode('E')) {
            fw::ReportError("The error panel, shown on demand.\nPress a key to go back.", 0);
            fw::Game->FixedRateLogic->Init();
        }
    }

private:
    int r_, g_, b_;
};

plat::Ref<fw::TGameImage> PausedPicture() {
    auto image = plat::CreateImage(96, 24, 1, 0);
    auto pix = plat::LockImage(image);
    for (int y = 0; y < pix->height; ++y)
        for (int x = 0; x < pix->width; ++x) {
            const bool border = x < 2 || y < 2 || x >= pix->width - 2 || y >= pix->height - 2;
            plat::WritePixel(pix, x, y, border ? 0xFFFFFFFFu : 0xFF204080u);
        }
    plat::UnlockImage(image);
    return fw::TGameImage::CreateFromImage(image, "paused", 0);
}

void PrintSettings() {
    std::cout << "settings " << fw::Game->SettingsFileName() << ".ini particles=" << fw::Game->Particles
              << " width=" << fw::ScreenWidth << " fullscreen=" << fw::Game->FullScreen << std::endl;
}

// Keys a step holds down for one frame.
std::vector<int>& KeysToRelease() {
    static std::vector<int> keys;
    return keys;
}

// One step of the script, before a frame.
void RunStep(const std::string& step) {
    if (step.empty()) return;
    if (step == "space") plat::SimulateKeyPress(plat::KEY_SPACE);
    else if (step == "pause") plat::SimulateKeyPress(fw::KeyPause);
    else if (step == "escape") plat::SimulateKeyPress(plat::KEY_ESCAPE);
    else if (step == "error") {
        // The panel waits for a key; press one once it has been shown.
        fw::SetMessageBoxFrameHook([](int frame) {
            if (frame == 2) plat::SimulateKeyPress(plat::KEY_SPACE);
        });
        plat::SimulateKeyPress('E');
    } else if (step == "altenter") {
        // Alt must still be held when the frame reads Enter: both are let
        // go before the next one.
        plat::SimulateKeyDown(plat::KEY_LALT);
        plat::SimulateKeyDown(plat::KEY_ENTER);
        KeysToRelease() = {plat::KEY_ENTER, plat::KEY_LALT};
    } else if (step.rfind("shot:", 0) == 0) {
        fw::SaveScreenshot(step.substr(5));
    } else if (step == "fatal") {
        fw::SetMessageBoxFrameHook([](int frame) {
            if (frame == 2) plat::SimulateKeyPress(plat::KEY_SPACE);
        });
        fw::ReportError("A fatal error after the window opened", 1);
    } else if (step == "crash") {
        fw::Game->ParticlesSet(10, 1);
        std::_Exit(3);
    } else if (step == "settings") {
        PrintSettings();
    }
}

// Milliseconds a scripted run's clock moves on per frame.
constexpr int kScriptFrameMs = 20;

int DemoMain() {
    auto steps = demo::Script();
    std::unique_ptr<plat::ManualClock> scriptClock;
    if (!steps.empty()) scriptClock = std::make_unique<plat::ManualClock>(0);
    demo::Begin("VelmarokShellDemo", "Shell demo");
    fw::Game = plat::New<fw::TGame>();
    fw::Game->SetSubPathWrapper("RavoTesk Games/ShellDemo");
    fw::Game->CheckGoodExit();
    fw::Game->Init(0);
    fw::Game->ChannelsCreate(16);
    PrintSettings();

    auto a = plat::New<DemoScreen>("A", 80, 160, 255);
    auto b = plat::New<DemoScreen>("B", 255, 120, 60);
    a->other = b;
    b->other = a;

    fw::ErrorReportMode = 1;
    fw::Game->GraphicsCreate();
    plat::SetVirtualResolution(static_cast<float>(fw::VirtualWidth), static_cast<float>(fw::VirtualHeight));
    fw::Game->IgnoreFrameworkKeys = 1;
    fw::Game->IgnoreDebugKey = 1;
    fw::Game->SpritePausedCreate(PausedPicture());
    a->Load();
    a->Start();
    fw::FlushInput();
    fw::Game->FixedRateLogic->Init();

    int waitUntil = 0;
    for (;;) {
        if (scriptClock) scriptClock->Advance(kScriptFrameMs);
        for (int key : KeysToRelease()) plat::SimulateKeyUp(key);
        KeysToRelease().clear();
        if (!steps.empty() && plat::MilliSecs() >= waitUntil) {
            const std::string step = steps.front();
            steps.pop_front();
            if (step.rfind("wait:", 0) == 0) waitUntil = plat::MilliSecs() + std::atoi(step.c_str() + 5);
            else RunStep(step);
        }
        if (fw::Game->MainLogicLoop() == -1) {
            fw::TGame::MakeGoodExit();
            fw::Game->Kill();
            std::cout << "quit" << std::endl;
            plat::End(0);
        }
        fw::Game->ScreenDraw();
    }
}

}  // namespace

int main() { return plat::RunProgram(DemoMain); }
