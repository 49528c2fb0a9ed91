#pragma once
// What the demo programs share: the script of steps they run without a
// person, and their start in the game's own drawing space.

#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>

#include "framework/errors.h"
#include "framework/game.h"
#include "framework/system.h"
#include "platform/gfx/display.h"

namespace demo {

// The comma-separated steps of VELMAROK_DEMO_SCRIPT; none when it is unset.
inline std::deque<std::string> Script() {
    std::deque<std::string> steps;
    const char* env = std::getenv("VELMAROK_DEMO_SCRIPT");
    if (!env) return steps;
    std::stringstream in(env);
    std::string step;
    while (std::getline(in, step, ',')) steps.push_back(step);
    return steps;
}

// One copy at a time, the window's title, the game's 320 x 240 drawing
// space, and errors reported as before a window exists.
inline void Begin(const std::string& instance, const std::string& title) {
    fw::EnsureSingleInstance(instance);
    plat::AppTitle(title);
    fw::UseVirtualResolution = 1;
    fw::VirtualWidth = 320;
    fw::VirtualHeight = 240;
    fw::ErrorReportMode = 0;
}

}  // namespace demo
