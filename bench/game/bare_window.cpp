// The floor under the game's start-up: the sound device and the window the
// game opens, one frame presented.  The start-up benchmark runs it as its
// baseline.

#include "bench/game/bare_window.h"
#include "platform/sys/system.h"

int main() {
    if (!benchutil::OpenBareWindow()) return 1;
    plat::ReportFramesDrawn(1);
    return 0;
}
