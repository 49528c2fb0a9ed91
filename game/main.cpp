// The program's entry: runs from its own folder, where its data lives, and
// turns an error nobody handled into its text (on the error output, in a
// message box and in the error log) and exit code -1.

#include <cstdlib>

#include "framework/errors.h"
#include "game/front/main_program.h"
#include "platform/core/error.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"
#include "platform/sys/system.h"

namespace {

int Run() {
    // Start-up measurements ask for a fixed number of frames and a normal
    // quit; players never set this.
    const char* limit = std::getenv("VELMAROK_QUIT_AFTER_FRAMES");
    try {
        game::GameMain(limit ? plat::ToInt(limit) : 0);
    } catch (...) {
        // A player who started the game from a desktop sees no error
        // output: the error is shown in a message box and logged too.
        fw::ReportException(std::current_exception());
    }
    return plat::kFatalExitCode;
}

}  // namespace

int main() {
    plat::ChangeDir(plat::AppDir());
    return plat::RunProgram(&Run);
}
