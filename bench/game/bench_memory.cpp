// Resident memory of the game above the bare window program (the sound
// device and the window opened, one frame presented), at its first intro
// frame and after 10 s of play; and, apart, what the SID player's tables
// take (the bare window plus one tune loaded and played a moment).  Each is
// measured in a process of its own, started from this one in the same run.
// Target: at most 32 MiB above the bare window.
//
//   bench_memory                    (SDL_VIDEODRIVER=offscreen, or under X)

#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/game/bare_window.h"
#include "bench/game/drive_game.h"
#include "music/sid_stream.h"

namespace {

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM").
double StatusMiB(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + key.size()) / 1024.0;
    return 0;
}

void Report(const char* name) {
    std::printf("%s rss %.2f peak %.2f\n", name, StatusMiB("VmRSS"), StatusMiB("VmHWM"));
    std::fflush(stdout);
}

int Bare() {
    if (!benchutil::OpenBareWindow()) return 1;
    Report("first_frame");
    return 0;
}

// The bare window with the game's first tune loaded and 1 s of it played.
int Sid() {
    if (!benchutil::OpenBareWindow()) return 1;
    auto sid = music::SIDStream::Load("Data/Music/Nova.sid", 1, 44100, 203, 1);
    if (!sid) return 1;
    std::vector<char> buffer(8192);
    for (int i = 0; i < 22; ++i) sid->FillBuffer(buffer.data(), static_cast<int>(buffer.size()));
    Report("first_frame");
    return 0;
}

int Game(const char* program) {
    benchutil::GameDriver game(program);
    game.Frame();
    Report("first_frame");
    game.SkipToTitle();
    game.StartPlay();
    game.Play(500, [](int) {});  // 10 s of 20 ms frames
    Report("after_play");
    return 0;
}

struct Figures {
    std::map<std::string, std::array<double, 2>> at;  // rss, peak by moment
    bool ok = false;
};

Figures Measure(const char* program, const char* mode) {
    Figures f;
    const std::string command = std::string("'") + program + "' " + mode;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return f;
    char name[64];
    double rss = 0, peak = 0;
    while (std::fscanf(pipe.get(), "%63s rss %lf peak %lf", name, &rss, &peak) == 3) f.at[name] = {rss, peak};
    f.ok = ::pclose(pipe.release()) == 0 && f.at.count("first_frame");
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        const std::string mode = argv[1];
        int code = 2;
        if (mode == "bare") code = Bare();
        if (mode == "sid") {
            std::filesystem::current_path(std::filesystem::absolute(argv[0]).parent_path());
            code = Sid();
        }
        if (mode == "game") code = Game(argv[0]);
        std::fflush(nullptr);
        std::_Exit(code);
    }
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    constexpr int kRuns = 3;
    double bare = 0, sid = 0, first = 0, firstPeak = 0, played = 0, playedPeak = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Figures b = Measure(argv[0], "bare"), s = Measure(argv[0], "sid"), g = Measure(argv[0], "game");
        if (!b.ok || !s.ok || !g.ok || !g.at.count("after_play")) {
            std::fprintf(stderr, "a measuring process failed\n");
            return 1;
        }
        bare += b.at.at("first_frame")[0] / kRuns;
        sid += s.at.at("first_frame")[0] / kRuns;
        first += g.at.at("first_frame")[0] / kRuns;
        firstPeak += g.at.at("first_frame")[1] / kRuns;
        played += g.at.at("after_play")[0] / kRuns;
        playedPeak += g.at.at("after_play")[1] / kRuns;
    }
    const char* display = std::getenv("DISPLAY");
    std::printf("resident memory, mean of %d runs (SDL_VIDEODRIVER=%s%s%s, LP_NUM_THREADS=%s)\n", kRuns,
                std::getenv("SDL_VIDEODRIVER"), display ? ", DISPLAY=" : "", display ? display : "",
                std::getenv("LP_NUM_THREADS") ? std::getenv("LP_NUM_THREADS") : "unset");
    std::printf("  bare window program:           %7.1f MiB\n", bare);
    std::printf("  its SID player tables:         %7.1f MiB (bare window with one tune playing: %.1f)\n",
                sid - bare, sid);
    std::printf("  game at its first frame:       %7.1f MiB, %+.1f above the bare window (target 32 or less);"
                " %+.1f without the SID tables (peak %.1f)\n",
                first, first - bare, first - sid, firstPeak);
    std::printf("  game after 10 s of play:       %7.1f MiB, %+.1f above the bare window (target 32 or less);"
                " %+.1f without the SID tables (peak %.1f)\n",
                played, played - bare, played - sid, playedPeak);
    return 0;
}
