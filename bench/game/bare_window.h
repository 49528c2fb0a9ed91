#pragma once
// The floor under the game: what the platform alone costs to open the sound
// device and the window the game opens, and present one frame.  The
// start-up and memory benchmarks measure the game against it.

#include "platform/audio/audio.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"

namespace benchutil {

inline bool OpenBareWindow() {
    plat::EnableOpenALAudio();
    plat::SetAudioDriver("OpenAL Generic Software");
    plat::SetGraphicsDriver(plat::DRIVER_OPENGL, 2);
    if (!plat::Graphics(800, 600, 0, 60)) return false;
    plat::SetVirtualResolution(320, 240);
    plat::Cls();
    plat::Flip(0);
    return true;
}

}  // namespace benchutil
