// The shell's own cost per frame: MainLogicLoop + ScreenDraw with an empty
// screen, against the same frame's bare platform work (clear and present),
// measured in the same run.  The difference in main-thread CPU time (wall
// time is dominated by waiting for the renderer and is noisy) is printed as
// a share of a 16.7 ms frame.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "bench/common/ratio_main.h"
#include "framework/game.h"
#include "framework/input.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"

namespace {

double g_bareNs = 0;
double g_shellNs = 0;

struct World {
    World() {
        const auto dir = std::filesystem::temp_directory_path() / "fwshell-bench";
        std::filesystem::create_directories(dir);
        ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
        fw::Game = plat::New<fw::TGame>();
        fw::Game->FullScreen = 0;
        fw::Game->SetSubPathWrapper("Bench");
        fw::Game->Init(0);
        fw::Game->FullScreen = 0;
        fw::Game->GraphicsCreate();
        plat::SetVirtualResolution(320, 240);
        fw::FlipSync = 0;
        screen = plat::New<fw::TScreen>();
        screen->PreStart();
        fw::Game->Mouse->Off();
    }
    plat::Ref<fw::TScreen> screen;
};

World& TheWorld() {
    static World world;
    return world;
}

void BM_BareFrame(benchmark::State& state) {
    TheWorld();
    for (auto _ : state) {
        plat::Cls();
        plat::Flip(0);
    }
}

void BM_ShellFrame(benchmark::State& state) {
    TheWorld();
    plat::ManualClock clock(1000000);
    fw::Game->FixedRateLogic->Init();
    for (auto _ : state) {
        clock.Advance(16);
        benchmark::DoNotOptimize(fw::Game->MainLogicLoop());
        fw::Game->ScreenDraw();
    }
}

BENCHMARK(BM_BareFrame)->MinTime(1.0);
BENCHMARK(BM_ShellFrame)->MinTime(1.0);

// Picks the per-iteration CPU times out of the finished runs.
void Keep(const benchutil::Run& run) {
    const double ns = run.GetAdjustedCPUTime() *
                      (run.time_unit == benchmark::kMillisecond   ? 1e6
                       : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                  : 1.0);
    if (run.benchmark_name().find("BM_BareFrame") == 0) g_bareNs = ns;
    if (run.benchmark_name().find("BM_ShellFrame") == 0) g_shellNs = ns;
}

void Report() {
    const double frameNs = 1e9 / 60.0;
    const double own = g_shellNs - g_bareNs;
    std::printf("CPU per frame: shell %.1f us, bare %.1f us\n", g_shellNs / 1e3, g_bareNs / 1e3);
    std::printf("the shell's own cost: %.4f of a 16.7 ms frame (%.3f%%; target under 1%%)\n", own / frameNs,
                100.0 * own / frameNs);
    fw::Game = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("SDL_VIDEODRIVER", std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "offscreen", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    return benchutil::RunWithRatios(argc, argv, Keep, Report);
}
