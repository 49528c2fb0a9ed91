#pragma once
// The real game started in this process as the program starts it, headless,
// with a first run's per-user folders in a temporary folder and a clock that
// moves only when told, so that every run shows the same moments; and the
// keys a player would press to get from the intro into play.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/game.h"
#include "game/front/main_program.h"
#include "game/front/title_screen.h"
#include "game/screens.h"
#include "platform/core/clock.h"
#include "platform/sys/input.h"

namespace benchutil {

class GameDriver {
public:
    static constexpr int kEscape = 27, kF9 = 120, kUp = 38, kLeft = 37, kFire = 162, kGrenade = 164;

    // programPath: argv[0]; the game's data lies beside it.
    explicit GameDriver(const char* programPath) {
        namespace fs = std::filesystem;
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        home_ = (fs::temp_directory_path() / "velmarok-bench-XXXXXX").string();
        if (!::mkdtemp(home_.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        ::setenv("XDG_DATA_HOME", home_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", home_.c_str(), 1);
        ::setenv("TMPDIR", home_.c_str(), 1);  // the lock's temporary place too
        fs::current_path(fs::absolute(programPath).parent_path());
        clock_ = std::make_unique<plat::ManualClock>(0);
        game::StartUp();
        fw::FlipSync = 0;
    }
    ~GameDriver() {
        std::error_code ec;
        std::filesystem::remove_all(home_, ec);
    }
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // One frame after ms milliseconds; frames of `step` ms for `ms`.
    void Frame(int ms = 5) {
        clock_->Advance(ms);
        game::RunFrame();
    }
    void Run(int ms, int step = 20) {
        for (int t = 0; t < ms; t += step) Frame(step);
    }

    // Escape through the intro to the title screen.
    void SkipToTitle() {
        while (fw::Game->CurrentTScreen.get() != game::TitleScreen.get()) {
            plat::SimulateKeyPress(kEscape);
            Run(600);
        }
    }
    // Fire on the title: the first area starts.
    void StartPlay() {
        plat::SimulateKeyPress(kFire);
        Run(1500);
    }
    // Up the area for `frames` frames of 20 ms, firing, a grenade and a step
    // to the left now and then.
    template <class EachFrame>
    void Play(int frames, EachFrame each) {
        plat::SimulateKeyDown(kUp);
        for (int i = 0; i < frames; ++i) {
            if (i % 6 == 0) plat::SimulateKeyDown(kFire);
            if (i % 6 == 3) plat::SimulateKeyUp(kFire);
            if (i % 100 == 50) plat::SimulateKeyPress(kGrenade);
            if (i % 40 == 20) plat::SimulateKeyDown(kLeft);
            if (i % 40 == 30) plat::SimulateKeyUp(kLeft);
            Frame(20);
            each(i);
        }
        plat::SimulateKeyUp(kUp);
        plat::SimulateKeyUp(kFire);
    }

private:
    std::string home_;
    std::unique_ptr<plat::ManualClock> clock_;
};

}  // namespace benchutil
