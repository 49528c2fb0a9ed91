// The program's entry: runs from its own folder, where its data lives, and
// turns an error nobody handled into its text and exit code -1.

#include <cstdlib>

#include "game/front/main_program.h"
#include "platform/core/text.h"
#include "platform/io/fs.h"
#include "platform/sys/system.h"

namespace {

int Run() {
    // Start-up measurements ask for a fixed number of frames and a normal
    // quit; players never set this.
    const char* limit = std::getenv("VELMAROK_QUIT_AFTER_FRAMES");
    game::GameMain(limit ? plat::ToInt(limit) : 0);
}

}  // namespace

int main() {
    plat::ChangeDir(plat::AppDir());
    return plat::RunProgram(&Run);
}
