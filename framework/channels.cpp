#include "framework/channels.h"

#include <algorithm>

#include "framework/banks.h"
#include "framework/game.h"

namespace fw {

plat::Ref<TGameChannel> TGameChannel::Create() {
    auto entry = plat::New<TGameChannel>();
    entry->Channel = plat::AllocChannel();
    return entry;
}

void TGameChannel::Kill() {
    if (Channel) Channel->Stop();
    Channel = nullptr;
}

plat::Ref<TChannelArray> TChannelArray::Create(int count) {
    auto pool = plat::New<TChannelArray>();
    for (int i = 0; i < count; ++i) pool->AddLast(TGameChannel::Create());
    pool->Current = pool->First();
    return pool;
}

plat::Ref<TGameChannel> TChannelArray::GetChannel() {
    const plat::Ref<TGameChannel> start = Current;
    plat::Ref<Link> link = Current ? FindLink(Current) : nullptr;
    // At most one lap: a Current that is not in the pool is never met again.
    for (int steps = 0; steps < Count(); ++steps) {
        link = (!link || link == LastLink()) ? FirstLink() : link->NextLink();
        if (!link) return nullptr;
        Current = link->Value();
        if (Current == start) return nullptr;
        const bool free = Current->PlayWhenFinished == 0 || !Current->Channel ||
                          !Current->Channel->Playing();
        if (free && Current->Reserved == 0) return Current;
    }
    return nullptr;
}

plat::Ref<TGameChannel> TChannelArray::PlayGameSound(const plat::Ref<TGameSound>& sound,
                                                     const plat::Ref<TGameChannel>& channel,
                                                     float volume, float pan) {
    if (!sound) return nullptr;
    plat::Ref<TGameChannel> entry = channel ? channel : GetChannel();
    if (!entry) return nullptr;
    entry->OriginalVolume = volume;
    sound->volume = volume * BalanceVolumes(1);
    sound->PlayInChannel(entry->Channel, pan);
    return entry;
}

void TChannelArray::StopGameChannel(const plat::Ref<TGameChannel>& channel) {
    if (!channel) return;
    const bool inPool = Remove(channel);
    if (channel->Channel) channel->Channel->Stop();
    // Only a pool entry is replaced, so the pool keeps its size.
    if (!inPool) return;
    auto fresh = TGameChannel::Create();
    AddLast(fresh);
    Current = fresh;
}

float TChannelArray::BalanceVolumes(int extra) {
    const int n = CountPlaying() + extra;
    float factor = 1.0f;
    if (n > 0) factor = std::min(MaxVol / static_cast<float>(n), 1.0f);
    SetVolume(factor);
    return factor;
}

void TChannelArray::SetVolume(float factor) {
    const float shell = static_cast<float>(Game ? Game->SoundVolume : 100) / 100.0f;
    for (const auto& entry : *this)
        if (entry->Channel) entry->Channel->SetVolume(entry->OriginalVolume * factor * shell);
}

int TChannelArray::CountPlaying() const {
    int n = 0;
    for (const auto& entry : *this)
        if (entry->Channel && entry->Channel->Playing()) ++n;
    return n;
}

plat::Ref<TGameChannel> TChannelArray::ChannelByIndex(int index) const {
    if (index < 1 || index > Count()) return nullptr;
    int i = 1;
    for (const auto& entry : *this)
        if (i++ == index) return entry;
    return nullptr;
}

void TChannelArray::Manage() { BalanceVolumes(0); }

void TChannelArray::Kill() {
    for (const auto& entry : ToArray()) {
        if (entry->Channel) entry->Channel->Stop();
        entry->Channel = nullptr;
    }
    Clear();
    Current = nullptr;
}

plat::Ref<TGameChannel> PlayPoolSound(const plat::Ref<TGameSound>& sound, float volume, float pan,
                                      const plat::Ref<TGameChannel>& channel) {
    if (!Game || !Game->Channels || !sound) return nullptr;
    return Game->Channels->PlayGameSound(sound, channel, volume, pan);
}

void PlayWidgetSound(const plat::Ref<TGameSound>& sound, plat::Ref<plat::TChannel>& own) {
    if (!sound) return;
    if (Game && Game->Channels) PlayPoolSound(sound, 1.0f, 0.0f);
    else sound->PlayInChannel(own, 0);
}

}  // namespace fw
