#pragma once
// TAmbientSounds: background sounds now and then.  At a fixed interval it
// rolls a percentage chance and, when it comes up, plays one of its sounds
// picked at random through the shell's channel pool.  The owner fills it,
// calls Init, then Manage every logic tick.

#include <array>
#include <string>

#include "platform/core/object.h"

namespace fw {

class TGameSound;

class TAmbientSounds : public plat::Object {
public:
    static constexpr int MAX_SOUNDS = 20;

    int Chance = 0;            // percent at each roll, 0..100
    float SoundCounter = 0;    // ticks to the next roll
    int SoundCounterMax = 0;   // ticks between rolls (0: every tick)
    std::array<plat::Ref<TGameSound>, MAX_SOUNDS> Sounds;
    int TotalSounds = 0;

    // Sounds past MAX_SOUNDS are not taken.
    virtual void AddSound(const plat::Ref<TGameSound>& sound);
    // prefix + i + suffix for i = 0 .. count - 1 ("wind", 3, ".wav": wind0.wav
    // to wind2.wav), as far as there is room.
    virtual void Fill(const std::string& prefix, int count, const std::string& suffix);
    virtual void Init(int intervalMs, int chance);
    // Lets go of every sound; nothing plays after.
    virtual void Kill();
    // Once per tick; always 0.
    virtual int Manage();
};

}  // namespace fw
