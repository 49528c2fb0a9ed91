#pragma once
// Audio streams: playing channels whose samples are pulled from a music
// source while they play.  Every stream is refilled from one 120 Hz platform
// timer whose ticks reach it through the platform's event hook, on the main
// thread (also inside the platform's blocking waits).
//
// The output follows the platform's audio driver: an OpenAL driver gives an
// OpenAL stream with 16 queued buffers of 8192 bytes (0.74 s of 44.1 kHz
// stereo); the silent "FreeAudio" driver gives a stream that plays nothing;
// the "None" driver (no sound device) gives no stream at all.

#include <array>

#include "music/music.h"
#include "platform/audio/audio.h"
#include "platform/core/bank.h"
#include "platform/sys/events.h"

namespace music {

// When an OpenAL stream first fills its queue from the source: at once, or on
// its first timer tick (a stream stopped before then has rendered nothing).
// Either way it starts playing on its first tick.
enum class Priming { AtCreation, OnFirstTick };

class TAudioStream : public plat::TChannel {
public:
    Ref<TMusic> Music;   // the source; nullptr after Stop
    int writepos = 0;    // kept for the record layout (buffer-cursor streams)
    int paused = 0;      // non-zero while paused
    int samplerate = 44100;
    int KeepMusic = 0;   // 1 when the caller handed in a ready source

    ~TAudioStream() override;

    // The channel operations; a stream without output does nothing.
    void Stop() override {}
    void SetPaused(bool) override {}
    void SetVolume(float) override {}
    void SetPan(float) override {}
    void SetDepth(float) override {}
    void SetRate(float) override {}
    bool Playing() override { return false; }

    // A stream over a ready source (kept on Stop), or over what LoadMusic
    // makes of a path or stream (released on Stop).  nullptr when no source
    // could be had, or the driver has no streams.
    static Ref<TAudioStream> Create(const Ref<TMusic>& music, int loop, int paused,
                                    Priming priming = Priming::AtCreation);
    static Ref<TAudioStream> Create(const MusicSource& source, int loop, int paused);

    // The timer hook: a tick of the stream timer updates the stream.
    static void eventhook(const plat::TEvent& event, const std::weak_ptr<TAudioStream>& context);

    // One refill, on every tick of the stream timer.
    virtual void Update() = 0;

protected:
    TAudioStream() = default;
    void AttachToTimer();
    void DetachFromTimer();

private:
    int hook_ = -1;
};

class TOpenALAudioStream : public TAudioStream {
public:
    static constexpr int kBufferCount = 16;
    static constexpr int kBufferBytes = 8192;

    int _buffercount = kBufferCount;
    std::array<unsigned, kBufferCount> _buffers{};
    Ref<plat::TBank> _bufferbank;  // the fill area, reused by every refill
    unsigned _source = 0;          // 0 = none

    ~TOpenALAudioStream() override;

    // Fills the 16 buffers from the source (fewer when it ends first) and
    // queues them, at once or on the first tick; the source starts playing on
    // the first timer tick unless paused.
    static Ref<TOpenALAudioStream> Build(const Ref<TMusic>& music, int paused,
                                         Priming priming = Priming::AtCreation);

    void Stop() override;
    // Pausing stops the OpenAL source, so every queued buffer counts as
    // played: the next tick refills the queue from the music, which moves on
    // by up to 16 x 8192 bytes.  Further ticks leave a paused stream alone.
    void SetPaused(bool paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetRate(float rate) override;
    // Playing, or about to play again on the next tick: created and waiting
    // for its first tick, or run dry while the program was busy (not when
    // paused, nor once its source has ended).
    bool Playing() override;
    void Update() override;
    void FillBuffer(unsigned buffer);

    // OpenAL format and rate the buffers take from the source.
    int alFormat = 0;

private:
    TOpenALAudioStream() = default;
    bool Alive() const;
    void Prime();
    bool primed_ = false;
    int generation_ = -1;
    bool refilledWhilePaused_ = false;
};

// The silent driver's stream: no output, not playing.
class TFreeAudioAudioStream : public TAudioStream {
public:
    TFreeAudioAudioStream() = default;
    void Update() override {}
};

inline Ref<TAudioStream> CreateAudioStream(const Ref<TMusic>& music, int loop, int paused,
                                           Priming priming = Priming::AtCreation) {
    return TAudioStream::Create(music, loop, paused, priming);
}
inline Ref<TAudioStream> CreateAudioStream(const MusicSource& source, int loop, int paused) {
    return TAudioStream::Create(source, loop, paused);
}

// A volume 0..1 as attenuation in hundredths of a decibel (0 .. -10000).
int VolumeToAttenuation(float volume);

// The timer that refills every stream (120 Hz, kept for the whole run).
Ref<plat::TTimer> StreamTimer();

// Module start: the music module, the "wav" loader and the stream timer.
void InitAudioStreamModule();

}  // namespace music
