#pragma once
// The pool of pre-allocated sound channels.  A play either names the entry to
// use or lets the pool pick the next free one round-robin; every play
// rebalances the volume of all entries so that many simultaneous sounds do
// not add up past MaxVol sounds at full volume.

#include <string>

#include "platform/audio/audio.h"
#include "platform/core/list.h"
#include "platform/core/object.h"

namespace fw {

class TGameSound;

class TGameChannel : public plat::Object {
public:
    plat::Ref<plat::TChannel> Channel;
    std::string name;          // label; not read by the pool
    int Reserved = 0;          // non-zero: never handed out by GetChannel
    int PlayWhenFinished = 1;  // non-zero: skipped while its channel plays
    float OriginalVolume = 1.0f;  // volume of the last play, before balancing

    // An entry with a fresh platform channel.
    static plat::Ref<TGameChannel> Create();
    // Stops the channel and forgets it.
    virtual void Kill();
};

class TChannelArray : public plat::TList<TGameChannel> {
public:
    float MaxVol = 1.5f;  // sounds that may play together at full volume
    plat::Ref<TGameChannel> Current;  // handed out last; the search starts after it

    // Applies the balance factor for the playing entries plus `extra` about
    // to start, and returns it.
    virtual float BalanceVolumes(int extra);
    // 1-based; nullptr outside 1..Count().
    virtual plat::Ref<TGameChannel> ChannelByIndex(int index) const;
    virtual int CountPlaying() const;
    static plat::Ref<TChannelArray> Create(int count);
    // The next usable entry after Current, or nullptr when the ring holds none.
    virtual plat::Ref<TGameChannel> GetChannel();
    // Stops and drops every entry.
    virtual void Kill();
    virtual void Manage();
    // Plays on `channel`, or on GetChannel() when it is nullptr; returns the
    // entry used, or nullptr when none was free (nothing plays then).
    virtual plat::Ref<TGameChannel> PlayGameSound(const plat::Ref<TGameSound>& sound,
                                                  const plat::Ref<TGameChannel>& channel,
                                                  float volume, float pan);
    // Every entry's volume = OriginalVolume x factor x Game.SoundVolume / 100.
    virtual void SetVolume(float factor);
    // Replaces a pool entry by a fresh one at the end (made Current) and stops
    // the old one.  nullptr does nothing; an entry no longer in the pool only
    // has its channel stopped.
    virtual void StopGameChannel(const plat::Ref<TGameChannel>& channel);
};

// Plays a sound through the shell's channel pool (Game->Channels), as the
// widgets and effects do; nothing happens, and nullptr comes back, without a
// shell, a pool, a sound or a free entry.
plat::Ref<TGameChannel> PlayPoolSound(const plat::Ref<TGameSound>& sound, float volume = 1.0f,
                                      float pan = 0.0f,
                                      const plat::Ref<TGameChannel>& channel = nullptr);
// A widget's sound: through the shell's pool when there is one, else on the
// widget's own channel `own` (made when the widget was, for a shell
// without a pool).  Nothing without a sound.
void PlayWidgetSound(const plat::Ref<TGameSound>& sound, plat::Ref<plat::TChannel>& own);

}  // namespace fw
