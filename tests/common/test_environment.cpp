// Linked into every test program: the environment the test runner gives the
// tests, for a test program started by hand.  Tests are headless whatever
// display or sound card the shell that starts them has (a message box on a
// real display would wait for nobody), and they find the built program and
// its data where this build put them.  A variable already set is kept, so a
// run can still choose another driver or folder on purpose.

#include <cstdlib>
#include <string>

namespace {

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
}

}  // namespace
