#include "platform/sys/system.h"

#include <SDL.h>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>

#include "platform/audio/audio.h"
#include "platform/core/error.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"
#include "platform/sys/sys_internal.h"

namespace plat {

namespace {

// A message box can only be seen, and answered, on a real display: with the
// test drivers or no display at all it would fail or wait for nobody.
bool RealDisplay() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : std::getenv("SDL_VIDEODRIVER");
    if (sys::IsHeadlessVideoDriver(driver) || (driver && std::strcmp(driver, "evdev") == 0)) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void WriteLineTo(std::FILE* f, const std::string& text) {
    std::string line = ToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fflush(f);
}

int NiceFor(int level) {
    int nice = -5 * level;
    return nice < -20 ? -20 : (nice > 19 ? 19 : nice);
}

// While a message box is up, the process that shows it.  The box is drawn
// in a process of its own forked by the video layer; a box left behind by a
// killed program would wait on screen for nobody, so that process is told to
// end with its parent.
pid_t boxParent = 0;

void BoxEndsWithParent() {
    if (boxParent == 0) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) _exit(0);  // the parent is gone already
}

}  // namespace

void Notify(const std::string& text, bool serious) {
    WriteLineTo(stderr, text);
    if (!RealDisplay()) return;
    static const bool registered = pthread_atfork(nullptr, nullptr, &BoxEndsWithParent) == 0;
    (void)registered;
    struct BoxUp {
        BoxUp() { boxParent = getpid(); }
        ~BoxUp() { boxParent = 0; }
    } boxUp;
    SDL_Window* parent = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GL_GetCurrentWindow() : nullptr;
    std::string title;
    if (parent && SDL_GetWindowTitle(parent)) title = SDL_GetWindowTitle(parent);
    if (title.empty()) title = ToUtf8(StripAll(AppFile()));
    Uint32 flags = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, title.c_str(), ToUtf8(text).c_str(), parent);
}

void Print(const std::string& text) { WriteLineTo(stdout, text); }
void PrintError(const std::string& text) { WriteLineTo(stderr, text); }

std::string OSName() {
    utsname u{};
    if (uname(&u) != 0) return "Linux";
    return std::string(u.sysname) + " " + u.release;
}

MemoryStatus QueryMemory() {
    MemoryStatus m;
    struct sysinfo si{};
    if (sysinfo(&si) == 0) {
        m.totalBytes = static_cast<long long>(si.totalram) * si.mem_unit;
        m.availableBytes = static_cast<long long>(si.freeram + si.bufferram) * si.mem_unit;
    }
    // The kernel's own estimate of what can be had without swapping is better
    // than free + buffers when it is there.
    std::ifstream info("/proc/meminfo");
    for (std::string line; std::getline(info, line);) {
        long long kb = 0;
        if (std::sscanf(line.c_str(), "MemAvailable: %lld kB", &kb) == 1) {
            m.availableBytes = kb * 1024;
            break;
        }
    }
    std::ifstream statm("/proc/self/statm");
    long long pages = 0, resident = 0;
    if (statm >> pages >> resident) m.processResidentBytes = resident * sysconf(_SC_PAGESIZE);
    return m;
}

void ReportFramesDrawn(int frames) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("frames drawn: %d at %lld ns, resident %lld bytes\n", frames,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                QueryMemory().processResidentBytes);
    std::fflush(stdout);
}

void SetProcessPriority(int level) {
    // Linux keeps a niceness per thread: the process is every thread of it.
    int nice = NiceFor(level);
    DIR* d = opendir("/proc/self/task");
    if (!d) {
        setpriority(PRIO_PROCESS, 0, nice);
        return;
    }
    while (dirent* e = readdir(d)) {
        int tid = std::atoi(e->d_name);
        if (tid > 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), nice);  // EPERM: left as it is
    }
    closedir(d);
}

void SetThreadPriority(int level) { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), NiceFor(level)); }

void End(int code) {
    ShutdownAudio();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(code);
}

int RunProgram(int (*body)()) {
    int code = kFatalExitCode;
    try {
        code = body();
    } catch (const std::exception& e) {
        WriteLineTo(stderr, e.what());
        code = -1;
    } catch (...) {
        WriteLineTo(stderr, "Unknown error");
        code = -1;
    }
    ShutdownAudio();
    std::fflush(stdout);
    return code;
}

}  // namespace plat
