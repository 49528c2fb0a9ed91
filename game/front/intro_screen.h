#pragma once
// TIntroScreen: the first screen of every run, an old home computer being
// switched on and loading the game from tape: border screen, start-up text,
// tape search, the loader's title, the loading picture with its block
// counter, clock, loader tune and scroll text, then flickering raster lines.
// It hands over to the title screen by itself.

#include <cstdint>
#include <random>
#include <string>

#include "framework/screen.h"
#include "platform/sys/events.h"

namespace fw {
class TGameSound;
class TGameChannel;
}  // namespace fw

namespace game {

class TIntroScreen : public fw::TScreen {
public:
    int estado = 1;                   // current step 1..6
    plat::Ref<plat::TTimer> btimer;   // blocks, 2 ticks a second
    plat::Ref<plat::TTimer> stimer;   // seconds
    plat::Ref<plat::TTimer> ctimer;   // hundredths
    double oldt = 0;                  // when the current step began
    double newt = 0;                  // this tick
    plat::Ref<fw::TGameSound> Turboload_sound;
    int blocks = 200;
    int segs = 0;
    int cent = 0;
    int r = 0, g = 0, b = 0;          // colour of the raster line being drawn
    std::string scroll_text;
    double scroll_pos = 0;
    int scroll_len = 0;
    plat::Ref<fw::TGameChannel> canal;  // the pool channel of the loader sound

    void Load() override;
    void Start() override;
    void Kill() override;
    void Logic() override;
    void Draw() override;
    virtual void m_Init_Scroll();

    // The clock as shown: minutes, seconds within the minute and hundredths,
    // "M:SS:CC".
    static std::string ClockText(int segs, int cent);
    // The message that scrolls under the loading picture (without the
    // trailing blanks).
    static const std::string& ScrollMessage();

private:
    // The raster colours have a generator of their own, so the flicker
    // never moves the sequence the game draws its random numbers from.
    std::minstd_rand raster_random_{0x1FA7u};
    void DrawCounters();
};

}  // namespace game
