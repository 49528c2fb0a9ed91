#include "framework/ambient_sounds.h"

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/timing.h"
#include "platform/core/random.h"

namespace fw {

void TAmbientSounds::AddSound(const plat::Ref<TGameSound>& sound) {
    if (TotalSounds >= MAX_SOUNDS) return;
    Sounds[static_cast<std::size_t>(TotalSounds)] = sound;
    ++TotalSounds;
}

void TAmbientSounds::Fill(const std::string& prefix, int count, const std::string& suffix) {
    for (int i = 0; i < count && TotalSounds < MAX_SOUNDS; ++i)
        AddSound(TGameSound::Create(prefix + std::to_string(i) + suffix, 0));
}

void TAmbientSounds::Init(int intervalMs, int chance) {
    SoundCounterMax = static_cast<int>(TicksFromMs(static_cast<float>(intervalMs)));
    SoundCounter = static_cast<float>(SoundCounterMax);
    Chance = chance;
}

void TAmbientSounds::Kill() {
    Sounds.fill(nullptr);
    TotalSounds = 0;
}

int TAmbientSounds::Manage() {
    SoundCounter -= Delta;
    if (SoundCounter > 0) return 0;
    SoundCounter += static_cast<float>(SoundCounterMax);
    const int roll = plat::Rand(1, 100);
    if (Chance >= roll && TotalSounds > 0)
        PlayPoolSound(Sounds[static_cast<std::size_t>(plat::Rand(0, TotalSounds - 1))], 1.0f, 0.0f);
    return 0;
}

}  // namespace fw
