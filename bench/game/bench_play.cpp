// The tick of play on the largest area, the hero walking from the start view
// to the top while firing and throwing, against the 200 ticks a second the
// game needs; a crowded tick (seven soldiers of mixed kinds with their
// bullets and grenades, the hero firing) against the same rate, with the
// allocations its ticks make; the gate wave at the top of area 1 (up to
// seven soldiers out of the gate with their fire, the hero firing back) and
// the level script's tick on area 5's chain of 61 rules, against the same
// rate; the frame of that gate wave; and the whole frame of play drawn and
// presented at three window sizes, against a frame that only clears and
// presents at the same size (and the window's own clear and swap), measured
// in the same run.
//
//   bench_play                       (SDL_VIDEODRIVER=offscreen, or under X)

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "bench/common/allocation_count.h"
#include "bench/common/ratio_main.h"
#include "framework/banks.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/timing.h"
#include "game/front/main_program.h"
#include "game/front/name_entry.h"
#include "game/front/title_screen.h"
#include "game/globals.h"
#include "game/play/enemies/enemy.h"
#include "game/play/hero.h"
#include "game/play/level_screen.h"
#include "game/play/script/spawn_script.h"
#include "game/screens.h"
#include "music/sid_stream.h"
#include "platform/core/clock.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/gl_baseline.h"
#include "tilemap/tilemap.h"

namespace {

namespace fs = std::filesystem;
using namespace game;

constexpr double kTicksPerSecond = 200.0;
constexpr double kDisplayHz = 60.0;
constexpr int kLargestArea = 3;  // 214 rows, like areas 5, 7 and 8

// The game's objects as the main program makes them, without window or sound.
void SetUpGame() {
    static bool done = false;
    if (done) return;
    done = true;
    fs::current_path(VELMAROK_BIN_DIR);
    const std::string home = (fs::temp_directory_path() / ("bench-play-" + std::to_string(::getpid()))).string();
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    fw::Game = plat::New<fw::TGame>();
    UsePictureRules();
    CreateActorLists();
    GameMap = plat::New<tilemap::TileMap>();
    FillGrenadeSpeedTable();
    FillKeyNames();
    SoundBank = plat::New<fw::TSoundBank>();
    for (const char* name : {"SND2", "SND3", "SND5", "SND7", "SND8", "SND9"}) {
        auto sound = plat::New<fw::TGameSound>();
        SoundBank->Insert(name, sound);
    }
    LoadPlayImages();
    TitleScreen = plat::New<TTitlescreen>();
    LevelScreen = plat::New<TLevelScreen>();
    RecordsEntryScreen = plat::New<TIntroducirRecordsScreen>();
}

void StartLargestArea() {
    Level = kLargestArea;
    LevelStartKind = SCREEN_AREA_COMPLETE;  // the next area of a game
    Lives = 5;
    Grenades = 99;
    LevelScreen->Load();
    LevelScreen->Start();
    LevelScreen->Draw();  // the hero becomes playable
    fw::KeyTableDown(UpKeys[1]);
}

// A simple pilot for the hero: up while he gets on, sideways for a while
// when a wall stops him (the side changes each time).
struct Pilot {
    long tick = 0;
    long tops = 0;
    int lowestView = 1 << 30;
    float last = 0;
    int stuck = 0;
    int sideTicks = 0;
    int side = 1;

    void Keys(bool up, int dir) {
        auto set = [](int key, bool down) { down ? fw::KeyTableDown(key) : fw::KeyTableUp(key); };
        set(UpKeys[1], up);
        set(LeftKeys[1], dir < 0);
        set(RightKeys[1], dir > 0);
    }
    // The nearest x whose way up is open for the next 16 rows.
    static float OpenColumn(float x, float y) {
        float best = x;
        float bestDistance = 1e9f;
        for (int cx = 3; cx <= 295; cx += 4) {
            bool open = true;
            for (int dy = 1; dy <= 16 && open; dy += 3)
                open = GameMap->MapCollision(cx + 12, static_cast<int>(y + 15) - dy) == 0 &&
                       GameMap->MapCollision(cx + 12, static_cast<int>(y + 16)) == 0;
            const float distance = std::abs(static_cast<float>(cx) - x);
            if (open && distance < bestDistance) {
                best = static_cast<float>(cx);
                bestDistance = distance;
            }
        }
        return best;
    }
    void Steer() {
        const float progress = static_cast<float>(ViewTop) + Hero->y;
        if (sideTicks > 0) {
            --sideTicks;
            if (std::abs(Hero->x - target) < 1.0f || sideTicks == 0) {
                sideTicks = 0;
                Keys(true, 0);
            }
        } else if (progress >= last) {
            if (++stuck > 2) {
                target = OpenColumn(Hero->x, Hero->y);
                side = target < Hero->x ? -1 : 1;
                sideTicks = 600;
                stuck = 0;
                Keys(false, side);
            }
        } else {
            stuck = 0;
        }
        last = progress;
    }
    float target = 0;
};

// One tick as the shell runs it, with the fire and grenade keys pressed now
// and then; the area starts again when the view reaches the top or the hero
// dies.
void PlayTick(Pilot& p) {
    const long t = p.tick;
    if (t % 20 == 0) fw::KeyTableDown(FireKeys[1]);
    if (t % 20 == 1) fw::KeyTableUp(FireKeys[1]);
    if (t % 300 == 150) fw::KeyTableDown(GrenadeKeys[1]);
    if (t % 300 == 151) fw::KeyTableUp(GrenadeKeys[1]);
    fw::Delta = 1.0f;
    LevelScreen->Logic();
    ++p.tick;
    if (ViewTop < p.lowestView) p.lowestView = ViewTop;
    if (Hero->estado == HERO_PLAYING) p.Steer();
    const bool top = ViewTop == 0 && Hero->y <= 54.0f;
    if (top) ++p.tops;
    if (top || (Hero->estado != HERO_PLAYING && Hero->estado != HERO_SHOT && Hero->estado != HERO_FALLEN)) {
        StartLargestArea();
        p = Pilot{p.tick, p.tops, p.lowestView};
    }
}

void BM_TickOfPlay(benchmark::State& state) {
    SetUpGame();
    plat::StartRecording();
    StartLargestArea();
    Pilot pilot;
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) PlayTick(pilot);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    plat::StopRecording();
    const double rate = static_cast<double>(state.iterations()) / seconds;
    state.counters["ticks_per_s"] = rate;
    state.counters["x_realtime"] = rate / kTicksPerSecond;  // target: 2000 or more
    state.counters["tops_reached"] = static_cast<double>(pilot.tops);
    state.counters["lowest_view"] = pilot.lowestView;
}
BENCHMARK(BM_TickOfPlay);

// A crowd at the start view of area 1: seven soldiers of mixed kinds
// (runners, grenadiers, a guard, a bazooka soldier, a trench soldier),
// made again as they fall or leave, their bullets, rockets and grenades,
// and the hero standing and firing (spared by God mode).
struct Crowd {
    int next = 0;
    void Keep() {
        while (EnemyList->Count() < 7) {
            const int top = ViewTop;
            switch (next++ % 7) {
            case 0: T_Enemigo::f_Create_Corredor_puerta(40, top + 20, DIR_DOWN_RIGHT); break;
            case 1: T_Enemigo::f_Create_Granadero_puerta(250, top + 30, DIR_DOWN_LEFT); break;
            case 2: T_Enemigo::f_Create_Vigilante_Ini(200, top + 25); break;
            case 3: T_Enemigo::f_Create_Bazookero(top, DIR_RIGHT); break;
            case 4: T_Enemigo::f_Create_Corredor_puerta(280, top + 40, DIR_LEFT); break;
            case 5: T_Enemigo::f_Create_Trinchero_Ini(90, top + 50, 60); break;
            default: T_Enemigo::f_Create_Granadero_puerta(60, top + 60, DIR_RIGHT); break;
            }
        }
    }
};

void StartCrowd() {
    Level = 1;
    LevelStartKind = SCREEN_AREA_COMPLETE;
    LevelScreen->Load();
    LevelScreen->Start();
    LevelScreen->Draw();
    GodMode = 1;
    Stage = 5;
}

void CrowdedTick(Crowd& crowd, long tick) {
    crowd.Keep();
    if (tick % 20 == 0) fw::KeyTableDown(FireKeys[1]);
    if (tick % 20 == 1) fw::KeyTableUp(FireKeys[1]);
    fw::Delta = 1.0f;
    LevelScreen->Logic();
}

void BM_CrowdedTick(benchmark::State& state) {
    SetUpGame();
    plat::StartRecording();
    StartCrowd();
    Crowd crowd;
    long tick = 0;
    long shots = 0;
    const long allocations0 = benchutil::Allocations();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        CrowdedTick(crowd, tick++);
        shots += ShotList->Count();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const long allocations = benchutil::Allocations() - allocations0;

    // Untimed: which ticks make new actors, and what the others allocate.
    // The actors seen are kept alive, so no new one takes an old address.
    std::unordered_set<const plat::Object*> seen;
    std::vector<plat::Ref<plat::Object>> kept;
    seen.reserve(1 << 16);
    kept.reserve(1 << 16);
    auto fresh = [&] {
        long n = 0;
        for (const auto* list : {&ShotList, &EnemyList})
            for (const auto& o : **list)
                if (seen.insert(o.get()).second) {
                    kept.push_back(o);
                    ++n;
                }
        return n;
    };
    fresh();
    long quietTicks = 0, quietAllocations = 0, newActors = 0, busyAllocations = 0;
    for (int i = 0; i < 20000; ++i) {
        const long a0 = benchutil::Allocations();
        CrowdedTick(crowd, tick++);
        const long made = benchutil::Allocations() - a0;
        const long newcomers = fresh();
        if (newcomers == 0) {
            ++quietTicks;
            quietAllocations += made;
        } else {
            newActors += newcomers;
            busyAllocations += made;
        }
    }
    plat::StopRecording();
    GodMode = 0;

    const double rate = static_cast<double>(state.iterations()) / seconds;
    state.counters["ticks_per_s"] = rate;
    state.counters["x_realtime"] = rate / kTicksPerSecond;  // target: 2000 or more
    state.counters["shots_in_play"] = static_cast<double>(shots) / static_cast<double>(state.iterations());
    state.counters["allocs_per_tick"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    // Ticks that make no actor allocate nothing (target 0); a new actor
    // costs its object and its list entry.
    state.counters["allocs_quiet_ticks"] = static_cast<double>(quietAllocations);
    state.counters["quiet_ticks"] = static_cast<double>(quietTicks);
    state.counters["allocs_per_new_actor"] =
        newActors ? static_cast<double>(busyAllocations) / static_cast<double>(newActors) : 0.0;
}
BENCHMARK(BM_CrowdedTick);

// The gate wave at the top of area 1, the play clock moved 5 ms a tick so
// that the wave's pauses pass as in play: soldiers leave the gate while
// fewer than seven are about, walk down, fire and throw, and the hero (spared
// by God mode) fires back now and then; a finished wave starts again.
struct GateWave {
    long tick = 0;
    long waves = 0;
    void Start() {
        StartCrowd();
        ViewTop = 0;
        Hero->y = 54;
        // Each run starts its clock afresh: no step of an earlier run ahead.
        LastGateSpawnMs = TopClock = 0;
    }
    void Tick(plat::ManualClock& clock) {
        // He fires now and then, so that the crowd stays near its seven.
        if (tick % 400 == 0) fw::KeyTableDown(FireKeys[1]);
        if (tick % 400 == 1) fw::KeyTableUp(FireKeys[1]);
        fw::Delta = 1.0f;
        LevelScreen->Logic();
        clock.Advance(5);
        if (GateWaveCounter <= -16 || Hero->estado != HERO_PLAYING) {
            ResetSpawnScript();
            Hero->estado = HERO_PLAYING;
            ++waves;
        }
        ++tick;
    }
};

void BM_GateWave(benchmark::State& state) {
    SetUpGame();
    plat::ManualClock clock(1000000);
    plat::StartRecording();
    GateWave wave;
    wave.Start();
    double crowd = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        wave.Tick(clock);
        crowd += EnemyList->Count();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    plat::StopRecording();
    GodMode = 0;
    const double rate = static_cast<double>(state.iterations()) / seconds;
    state.counters["ticks_per_s"] = rate;
    state.counters["x_realtime"] = rate / kTicksPerSecond;  // target: 2000 or more
    state.counters["enemies_in_play"] = crowd / static_cast<double>(state.iterations());
    state.counters["waves"] = static_cast<double>(wave.waves);
}
BENCHMARK(BM_GateWave);

// The level script alone on area 5's chain of 61 rules, the view swept from
// the bottom of the area to its top, one row every four ticks as the hero
// pushes it; the actors the rules make stay in their lists (no update
// pass), so most ticks find their keys alive.
void BM_ScriptTickOfAreaFive(benchmark::State& state) {
    SetUpGame();
    Level = 5;
    LevelStartKind = SCREEN_AREA_COMPLETE;
    LevelScreen->Load();
    LevelScreen->Start();
    const int bottom = ViewTop;
    long tick = 0;
    double listed = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ViewTop = bottom - static_cast<int>((tick / 4) % bottom);
        if (ViewTop == bottom && tick % 4 == 0) {
            EnemyList->Clear();
            ShotList->Clear();
            GuardList->Clear();
        }
        PlayClock = LastScrollTime;  // never idle
        RunSpawnScript();
        listed += EnemyList->Count();
        ++tick;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double rate = static_cast<double>(state.iterations()) / seconds;
    state.counters["ticks_per_s"] = rate;
    state.counters["x_realtime"] = rate / kTicksPerSecond;  // target: 2000 or more
    state.counters["enemies_listed"] = listed / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ScriptTickOfAreaFive);

// A window of the state's size (width, height) with the game's 320 x 240
// drawing space; false (and the benchmark skipped) without a display.
bool OpenWindow(benchmark::State& state) {
    SetUpGame();
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    if (!plat::Graphics(w, h, 0, 60)) {
        state.SkipWithError("no display");
        return false;
    }
    plat::SetVirtualResolution(320, 240);
    return true;
}

// Frames of the level screen drawn and presented, timed; `tick` plays on
// between them (not timed) by the three or four ticks of a 60 Hz frame,
// after 2000 ticks that bring some actors on the screen.
template <class Tick>
void TimeFrames(benchmark::State& state, Tick&& tick) {
    for (int i = 0; i < 2000; ++i) tick();
    LevelScreen->Draw();  // the textures made before timing
    plat::Flip(0);
    long frames = 0;
    for (auto _ : state) {
        LevelScreen->Draw();
        plat::Flip(0);
        state.PauseTiming();
        for (int i = 0; i < (frames % 3 == 2 ? 4 : 3); ++i) tick();
        ++frames;
        state.ResumeTiming();
    }
}

// A frame of play as the game draws and presents it.  Between frames (not
// timed) the play goes on by the three or four ticks of a 60 Hz frame.
void BM_FullFrame(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    StartLargestArea();
    Pilot pilot;
    TimeFrames(state, [&pilot] { PlayTick(pilot); });
}

// A frame of the gate wave at the top of area 1 (the open gate, the soldiers
// out of it with their fire, the hero firing back), the wave going on by the
// ticks of a 60 Hz frame between frames (not timed).
void BM_GateWaveFrame(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    plat::ManualClock clock(1000000);
    GateWave wave;
    wave.Start();
    TimeFrames(state, [&] { wave.Tick(clock); });
    GodMode = 0;
}

// The baseline: a frame that only clears and presents, through the layer.
void BM_ClearAndPresent(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    for (auto _ : state) {
        plat::Cls();
        plat::Flip(0);
    }
}

// The floor under both: the window cleared and swapped by GL itself.
void BM_WindowFloor(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    for (auto _ : state) plat::bench::ClearAndSwapWindow();
}

void WindowSizes(benchmark::internal::Benchmark* b) {
    b->Args({800, 600})->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
    b->UseRealTime()->MinTime(0.5);
}

BENCHMARK(BM_FullFrame)->Apply(WindowSizes);
BENCHMARK(BM_GateWaveFrame)->Apply(WindowSizes);
BENCHMARK(BM_ClearAndPresent)->Apply(WindowSizes);
BENCHMARK(BM_WindowFloor)->Apply(WindowSizes);

}  // namespace

int main(int argc, char** argv) {
    // The software renderer draws on this thread unless told otherwise, so
    // that the CPU time is the whole cost of a frame; wall times on a busy
    // machine vary far more.
    ::setenv("LP_NUM_THREADS", "0", 0);
    // Repeated and interleaved by default: other work on the machine then
    // weighs on the frames and their baselines alike.
    std::vector<char*> args(argv, argv + argc);
    std::string repeat = "--benchmark_repetitions=3";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    bool own = false;
    for (int i = 1; i < argc; ++i) own = own || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!own) args.insert(args.begin() + 1, {repeat.data(), interleave.data(), aggregates.data()});
    benchutil::RunTimes times;
    auto report = [&times] {
        bool header = false;
        for (const char* size : {"800/600", "1024/768", "1920/1080"}) {
            const auto* full = times.Find(std::string("BM_FullFrame/") + size);
            const auto* clear = times.Find(std::string("BM_ClearAndPresent/") + size);
            const auto* floor = times.Find(std::string("BM_WindowFloor/") + size);
            if (!full || !clear) continue;
            if (!header)
                std::printf("\nfull frame of play against a frame that only clears and presents (target 1.5x or"
                            " less), LP_NUM_THREADS=%s\n", std::getenv("LP_NUM_THREADS"));
            header = true;
            std::string w = size;
            w[w.find('/')] = 'x';
            std::printf("  %-10s CPU %.2fx (%.2f ms against %.2f ms), wall %.2fx (%.2f against %.2f ms)\n",
                        w.c_str(), full->cpu / clear->cpu, full->cpu, clear->cpu, full->wall / clear->wall,
                        full->wall, clear->wall);
            if (floor)
                std::printf("  %-10s against the window's own clear and swap (%.2f ms CPU): %.2fx\n", "",
                            floor->cpu, full->cpu / floor->cpu);
            if (const auto* gate = times.Find(std::string("BM_GateWaveFrame/") + size))
                std::printf("  %-10s the gate wave's frame: CPU %.2fx (%.2f ms), %.1f frames per 60 Hz frame\n", "",
                            gate->cpu / clear->cpu, gate->cpu, 1000.0 / kDisplayHz / gate->wall);
        }
        plat::EndGraphics();
    };
    return benchutil::RunWithRatios(static_cast<int>(args.size()), args.data(),
                                    [&times](const benchutil::Run& r) { times.Keep(r); }, report);
}
