// The floor under the game's start-up: what the platform alone costs to open
// the sound device and the window the game opens, and present one frame.
// The start-up benchmark runs it as its baseline.

#include "platform/audio/audio.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/sys/system.h"

int main() {
    plat::EnableOpenALAudio();
    plat::SetAudioDriver("OpenAL Generic Software");
    plat::SetGraphicsDriver(plat::DRIVER_OPENGL, 2);
    if (!plat::Graphics(800, 600, 0, 60)) return 1;
    plat::SetVirtualResolution(320, 240);
    plat::Cls();
    plat::Flip(0);
    plat::ReportFramesDrawn(1);
    return 0;
}
