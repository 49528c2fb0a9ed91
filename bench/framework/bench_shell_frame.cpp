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

#include "bench/ratio_reporter.h"
#include "framework/game.h"
#include "framework/input.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    ::setenv("SDL_VIDEODRIVER", std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "offscreen", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    benchmark::Initialize(&argc, argv);
    benchutil::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto* bare = reporter.Find("BM_BareFrame");
    const auto* shell = reporter.Find("BM_ShellFrame");
    if (bare && shell) {
        // Both in nanoseconds, the benchmarks' unit.
        const double frameNs = 1e9 / 60.0;
        const double own = shell->cpu - bare->cpu;
        std::printf("CPU per frame: shell %.1f us, bare %.1f us\n", shell->cpu / 1e3, bare->cpu / 1e3);
        std::printf("the shell's own cost: %.4f of a 16.7 ms frame (%.3f%%; target under 1%%)\n", own / frameNs,
                    100.0 * own / frameNs);
    }
    fw::Game = nullptr;
    benchmark::Shutdown();
    return 0;
}
