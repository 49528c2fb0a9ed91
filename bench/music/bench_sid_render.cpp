// Renders 60 s of each of the game's songs through SIDStream.FillBuffer in
// the audio stream's 8192-byte fills and prints how much faster than real
// time that is (target: 40x or more, under 2.5 % of one core).  In the same
// run the library renders the same songs with its default sampling, as the
// baseline the stream's fast interpolation is measured against.
//
//   music_bench

#include <benchmark/benchmark.h>

#include <sidplayfp/SidConfig.h>
#include <sidplayfp/SidInfo.h>
#include <sidplayfp/SidTune.h>
#include <sidplayfp/builders/resid.h>
#include <sidplayfp/sidplayfp.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/common/ratio_main.h"
#include "music/sid_stream.h"

namespace {

constexpr double kSeconds = 60.0;          // rendered by the stream's source
constexpr double kBaselineSeconds = 15.0;  // rendered by the slower baseline
constexpr int kFill = 8192;
int Fills(double seconds) { return static_cast<int>(seconds * 44100 * 4 / kFill); }
double AudioSeconds(int fills) { return fills * static_cast<double>(kFill) / (44100 * 4); }

struct Song {
    const char* file;
    int song;
};
const Song kSongs[] = {{"Nova.sid", 1}, {"Velm.sid", 1}, {"Velm.sid", 2}, {"Velm.sid", 3}};

std::string PathOf(const Song& s) { return std::string(MUSIC_DATA_DIR) + "/" + s.file; }
std::string NameOf(const Song& s) { return std::string(s.file) + " song " + std::to_string(s.song); }

void SidStreamFill(benchmark::State& state) {
    const Song& s = kSongs[state.range(0)];
    std::vector<unsigned char> buffer(kFill);
    for (auto _ : state) {
        state.PauseTiming();
        auto sid = music::SIDStream::Load(PathOf(s), static_cast<std::uint16_t>(s.song), 44100, 203, 1);
        // The first render gives the engine its chips (the program's first
        // one also waits for the emulation's one-time set-up): loading, not
        // rendering.
        sid->FillBuffer(buffer.data(), 4);
        state.ResumeTiming();
        for (int i = 0; i < Fills(kSeconds); ++i) sid->FillBuffer(buffer.data(), kFill);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["audio_s"] = AudioSeconds(Fills(kSeconds));
    state.SetLabel(NameOf(s));
}

// The library on its own, with its default resampling.
void LibraryDefault(benchmark::State& state) {
    const Song& s = kSongs[state.range(0)];
    std::ifstream in(PathOf(s), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<short> buffer(kFill / 2);
    for (auto _ : state) {
        state.PauseTiming();
        sidplayfp engine;
        ReSIDBuilder builder("baseline");
        builder.create(engine.info().maxsids());
        SidConfig config = engine.config();
        config.frequency = 44100;
        config.playback = SidConfig::STEREO;
        config.sidEmulation = &builder;
        engine.config(config);
        SidTune tune(nullptr);
        tune.read(bytes.data(), static_cast<uint_least32_t>(bytes.size()));
        tune.selectSong(static_cast<unsigned>(s.song));
        engine.load(&tune);
        state.ResumeTiming();
        for (int i = 0; i < Fills(kBaselineSeconds); ++i) engine.play(buffer.data(), kFill / 2);
        benchmark::DoNotOptimize(buffer.data());
        state.PauseTiming();
        engine.load(nullptr);
        state.ResumeTiming();
    }
    state.counters["audio_s"] = AudioSeconds(Fills(kBaselineSeconds));
    state.SetLabel(NameOf(s));
}

BENCHMARK(SidStreamFill)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(LibraryDefault)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1);

// Each run's CPU seconds per second of audio, for the ratios.
std::map<std::string, double> g_cost;

void Keep(const benchutil::Run& r) {
    auto audio = r.counters.find("audio_s");
    if (r.run_type == benchutil::Run::RT_Iteration && audio != r.counters.end() && audio->second.value > 0)
        g_cost[r.benchmark_name()] = r.GetAdjustedCPUTime() / 1000.0 / audio->second.value;  // ms -> s
}

void Report() {
    std::printf("\n60 s of music through SIDStream.FillBuffer (target: 40x real time or more)\n");
    for (int i = 0; i < 4; ++i) {
        std::string arg = "/" + std::to_string(i) + "/iterations:";
        double ours = 0, base = 0;
        for (const auto& [name, cost] : g_cost) {
            if (name.rfind("SidStreamFill" + arg, 0) == 0) ours = cost;
            if (name.rfind("LibraryDefault" + arg, 0) == 0) base = cost;
        }
        if (ours <= 0) continue;
        std::printf("  %-16s %6.1fx real time (%.2f %% of one core)", NameOf(kSongs[i]).c_str(), 1.0 / ours,
                    100.0 * ours);
        if (base > 0) std::printf("; library default sampling %5.1fx, so %.1fx faster", 1.0 / base, base / ours);
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) { return benchutil::RunWithRatios(argc, argv, Keep, Report); }
