// Linked into every test program: the environment the test runner gives the
// tests, for a test program started by hand.  Tests are headless whatever
// display or sound card the shell that starts them has (a message box on a
// real display would wait for nobody), and they find the built program and
// its data where this build put them.  A variable already set is kept, so a
// run can still choose another driver or folder on purpose (all but TMPDIR:
// each test program has a temporary folder of its own).

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A temporary folder of this test program's own, TMPDIR for it and for the
// programs it starts: the game's single-instance lock takes a file there,
// and test programs running side by side (or a game a person plays) must
// not keep each other out.  It goes when the program ends.
class OwnTempFolder {
public:
    OwnTempFolder() {
        std::string templ = std::filesystem::temp_directory_path() / "velmarok-tmp-XXXXXX";
        if (!::mkdtemp(templ.data())) return;
        // Programs a test starts as another user reach their folders in it.
        ::chmod(templ.c_str(), 0755);
        path_ = templ;
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    ~OwnTempFolder() {
        // Not in a forked copy that ends normally: the folder is its parent's.
        if (path_.empty() || ::getpid() != owner_) return;
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    OwnTempFolder(const OwnTempFolder&) = delete;
    OwnTempFolder& operator=(const OwnTempFolder&) = delete;

private:
    std::string path_;
    pid_t owner_ = ::getpid();
};

__attribute__((constructor(101))) void UseTestEnvironment() {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const std::string video = std::getenv("SDL_VIDEODRIVER");
    if (video == "offscreen" || video == "dummy") {
        // Drawing off screen, nothing of the tests (or of the programs they
        // start) may reach the desktop's display: no message box waiting on
        // it, no session services started for it.
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    // Mesa's software renderer draws on the calling thread.
    ::setenv("LP_NUM_THREADS", "0", 0);
    ::setenv("VELMAROK_DATA", VELMAROK_TEST_DATA_DIR, 0);
    ::setenv("VELMAROK_BIN", VELMAROK_TEST_BIN_DIR, 0);
    static OwnTempFolder temp;
}

}  // namespace
