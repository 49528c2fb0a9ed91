// How long the program takes from launch to its first drawn intro frame,
// and how much memory it holds then and at its end, started headless as a
// player would start it (no display, no sound card), each run with a fresh
// per-user folder (the first run, which also writes its settings, keys and
// high scores).  Each program reports the moment its frame is drawn on its
// standard output; what it does after that (ending, joining its threads) is
// not part of the start-up.
//
// Baselines, measured in the same run: a program that only opens the sound
// device and the window the way the game does and presents one frame (what
// the platform and the system's drivers cost before the game does anything),
// and launching a program that does nothing (/bin/true).  Target: at most
// 1.5x the bare window.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;          // launch to exit
    double firstFrameSeconds = 0;  // launch to the reported frame (0: none reported)
    double firstFrameMB = 0;     // resident then
    double maxResidentMB = 0;
    int exitCode = -1;
};

std::string MakeTempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "velmarok-bench-XXXXXX").string();
    return mkdtemp(templ.data()) ? templ : std::string();
}

// The program's "frames drawn: N at T ns, resident B bytes" line.
void ReadFrameReport(const std::string& output, std::chrono::steady_clock::time_point start, Run& run) {
    const auto at = output.find("frames drawn: ");
    if (at == std::string::npos) return;
    int frames = 0;
    long long ns = 0, bytes = 0;
    if (std::sscanf(output.c_str() + at, "frames drawn: %d at %lld ns, resident %lld bytes", &frames, &ns, &bytes) != 3)
        return;
    const auto drawn = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ns));
    run.firstFrameSeconds = std::chrono::duration<double>(drawn - start).count();
    run.firstFrameMB = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

Run Launch(const std::string& program, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    for (const auto& v : extraEnv) env.push_back(v);
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    Run run;
    int out[2];
    if (pipe(out) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string output;
    char chunk[4096];
    for (ssize_t n; spawned && (n = read(out[0], chunk, sizeof chunk)) > 0;) output.append(chunk, static_cast<std::size_t>(n));
    close(out[0]);
    if (!spawned) return run;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.maxResidentMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ReadFrameReport(output, start, run);
    return run;
}

void BM_StartUpToFirstIntroFrame(benchmark::State& state) {
    double launch = 0, window = 0, total = 0, gameExit = 0, gameMB = 0, windowMB = 0, gameFrameMB = 0,
           windowFrameMB = 0;
    int runs = 0;
    for (auto _ : state) {
        const std::string home = MakeTempDir();
        const std::vector<std::string> env = {
            "SDL_VIDEODRIVER=offscreen", "ALSOFT_DRIVERS=null", "SDL_AUDIODRIVER=dummy",
            "XDG_DATA_HOME=" + home, "XDG_RUNTIME_DIR=" + home, "TMPDIR=" + home, "VELMAROK_QUIT_AFTER_FRAMES=1"};
        const Run empty = Launch("/bin/true", {});
        const Run bare = Launch(VELMAROK_BARE_WINDOW, env);
        const Run game = Launch(VELMAROK_PROGRAM, env);
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
        if (game.exitCode != 0 || bare.exitCode != 0) {
            state.SkipWithError("a program did not end with exit code 0");
            break;
        }
        if (game.firstFrameSeconds <= 0 || bare.firstFrameSeconds <= 0) {
            state.SkipWithError("a program did not report its frame");
            break;
        }
        state.SetIterationTime(game.firstFrameSeconds);
        launch += empty.seconds;
        window += bare.firstFrameSeconds;
        total += game.firstFrameSeconds;
        gameExit += game.seconds;
        gameMB = std::max(gameMB, game.maxResidentMB);
        windowMB = std::max(windowMB, bare.maxResidentMB);
        gameFrameMB = std::max(gameFrameMB, game.firstFrameMB);
        windowFrameMB = std::max(windowFrameMB, bare.firstFrameMB);
        ++runs;
    }
    if (runs > 0) {
        state.counters["startup_ms"] = 1000.0 * total / runs;
        state.counters["bare_window_ms"] = 1000.0 * window / runs;
        state.counters["empty_launch_ms"] = 1000.0 * launch / runs;
        state.counters["x_bare_window"] = total / window;
        state.counters["exit_ms"] = 1000.0 * gameExit / runs;
        state.counters["first_frame_MB"] = gameFrameMB;
        state.counters["first_frame_own_MB"] = gameFrameMB - windowFrameMB;
        state.counters["resident_MB"] = gameMB;
        state.counters["bare_window_MB"] = windowMB;
        state.counters["game_own_MB"] = gameMB - windowMB;
    }
}
BENCHMARK(BM_StartUpToFirstIntroFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
