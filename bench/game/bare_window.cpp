// The floor under the game's start-up: the sound device and the window the
// game opens, one frame presented.  The start-up benchmark runs it as its
// baseline.

#include "bench/game/bare_window.h"

int main() { return benchutil::OpenBareWindow() ? 0 : 1; }
