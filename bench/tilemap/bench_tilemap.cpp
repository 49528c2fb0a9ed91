// Loading the largest game map and drawing one 320 x 160 view of layers 0
// and 1, each against the 16.7 ms of a frame at 60 Hz.  Drawing goes to the
// platform's recorder, so what is measured is the CPU side of the draw.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "platform/gfx/draw.h"
#include "tilemap/tilemap.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
const std::string kMap = std::string(VELMAROK_MAPS_DIR) + "/Level3.dat";

void Report(benchmark::State& state, double totalMs) {
    const double ms = totalMs / static_cast<double>(state.iterations());
    state.counters["ms"] = ms;
    state.counters["of_frame"] = ms / kFrameMs;
}

void BM_LoadLargestMap(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        tilemap::TileMap m;
        const auto t0 = std::chrono::steady_clock::now();
        m.MapLoad(kMap, 2);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (m.maperror != 0) state.SkipWithError("the map did not load");
        benchmark::DoNotOptimize(m.mapheight);
    }
    Report(state, total);
}
BENCHMARK(BM_LoadLargestMap)->Unit(benchmark::kMillisecond);

void BM_DrawViewBothLayers(benchmark::State& state) {
    tilemap::TileMap m;
    m.MapLoad(kMap, 2);
    if (m.maperror != 0) {
        state.SkipWithError("the map did not load");
        return;
    }
    plat::StartRecording();
    int top = 0;
    double total = 0;
    for (auto _ : state) {
        plat::ClearRecordedCalls();
        const auto t0 = std::chrono::steady_clock::now();
        m.MapDrawBG(0, top, 0, 26, 320, 160);
        m.mapcurlyr = 1;
        m.MapDrawBGT(0, top, 0, 26, 320, 160);
        m.mapcurlyr = 0;
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        top = (top + 1) % (m.mapheight * 8 - 176);
    }
    plat::StopRecording();
    Report(state, total);
}
BENCHMARK(BM_DrawViewBothLayers)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
