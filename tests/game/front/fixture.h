#pragma once
// Running the real game start-up inside a test process: its per-user and
// runtime folders in temporary folders, the program's folder as the working
// folder, a clock the test moves by hand, and frames driven one by one.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/game.h"
#include "framework/input.h"
#include "game/front/main_program.h"
#include "platform/core/clock.h"
#include "platform/gfx/pixmap.h"
#include "platform/io/fs.h"
#include "platform/sys/input.h"
#include "tests/common/scratch.h"

namespace fronttest {

using testutil::ProgramFolder;

// Per-process state: the hand-driven clock, and whether the game started.
struct Process {
    std::unique_ptr<plat::ManualClock> clock;
    bool started = false;
};

inline Process& State() {
    static Process process;
    return process;
}

// Points the per-user folders at temporary ones, makes the program's folder
// current and installs the manual clock.  Safe to call more than once.
inline void PrepareProcess() {
    Process& p = State();
    if (p.clock) return;
    testutil::EnterProgramFolder();
    p.clock = std::make_unique<plat::ManualClock>(0);
}

// The shared data folder the game uses ("<data home>/RavoTesk Games/...").
inline std::string SharedFolder() {
    return testutil::Folders().dataHome.path() + "/RavoTesk Games/VelmarokDozidu/";
}

// Starts the game once per process (the start-up is a once-per-run affair).
inline void StartGameOnce() {
    Process& p = State();
    if (p.started) return;
    PrepareProcess();
    game::StartUp();
    // Frames are presented without waiting for a display refresh, so each
    // frame is exactly the time the test moves the clock by.
    fw::FlipSync = 0;
    p.started = true;
}

inline plat::ManualClock& Clock() { return *State().clock; }

// One frame after `ms` milliseconds (5 ms is one logic tick): the logic
// ticks and, when `draw`, the drawing.  Returns RunFrame's result.
inline int Frame(int ms = 5, bool draw = true) {
    Clock().Advance(ms);
    if (!draw) return fw::Game->MainLogicLoop();
    return game::RunFrame();
}

// Runs frames of `step` ms until `ms` have passed or the program ended
// (-1).  Undrawn by default: long spans need only the logic.
inline int RunFor(int ms, int step = 50, bool draw = false) {
    int result = 1;
    for (int t = 0; t < ms && result != -1; t += step) result = Frame(step, draw);
    return result;
}

// A key pressed and released before the next frame.
inline void Press(int key) { plat::SimulateKeyPress(key); }

// The back buffer as a PNG under <tests>/frames/<name>.png, for looking at.
inline std::string SaveFrame(const std::string& name) {
    const std::string folder = std::filesystem::absolute(ProgramFolder() + "/../tests/frames").string();
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + name + ".png";
    auto pixmap = plat::GrabPixmap();
    EXPECT_TRUE(pixmap && plat::SavePixmapPNG(pixmap, path)) << path;
    return path;
}

}  // namespace fronttest
