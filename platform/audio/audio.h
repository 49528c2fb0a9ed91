#pragma once
// Sound: samples, channels and the audio driver.
//
// Drivers by name: "OpenAL Generic Software" and any other "OpenAL..." name
// open the default OpenAL device; "FreeAudio" is a silent driver whose
// channels keep time; "DirectSound" does not exist here.  When a driver
// cannot be opened the driver becomes "None" and every channel is silent and
// harmless.  Selecting the driver already active does nothing and succeeds.
// Channels of a driver that has been closed become inert; they never dangle.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/object.h"

namespace plat {

enum SoundFlags { SOUND_LOOP = 1, SOUND_HARDWARE = 2 };

// PCM sample data (8 or 16 bit, mono or stereo).
class TSound : public Object {
public:
    ~TSound() override;
    int rate = 0, channels = 0, bits = 0, flags = 0;
    std::vector<std::uint8_t> data;
    int Frames() const;  // sample frames
    // Driver-side buffer (OpenAL), created on first play on the active driver.
    unsigned alBuffer = 0;
    int alGeneration = -1;
};

// The channel interface; music streams derive from it.
class TChannel : public Object {
public:
    virtual void Stop() = 0;
    virtual void SetPaused(bool paused) = 0;
    virtual void SetVolume(float volume) = 0;  // 0..1
    virtual void SetPan(float pan) = 0;        // -1 left .. 1 right
    virtual void SetDepth(float depth) { (void)depth; }
    virtual void SetRate(float rate) = 0;      // playback speed factor
    virtual bool Playing() = 0;                // a cued, not yet resumed channel is not playing
};

// An OpenAL source; `source` is valid while its driver is open.
class OpenALChannel : public TChannel {
public:
    OpenALChannel();
    ~OpenALChannel() override;
    void Stop() override;
    void SetPaused(bool paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetRate(float rate) override;
    bool Playing() override;
    void Cue(const Ref<TSound>& sound);
    bool Alive() const;  // false once its driver went away
    unsigned source = 0;
    int generation = -1;
    Ref<TSound> sound;
    float volume = 1, pan = 0, rate = 1;
};

// The silent drivers' channel: it plays for the sample's duration on the
// layer's clock, so Playing() behaves as with sound.
class SilentChannel : public TChannel {
public:
    void Stop() override;
    void SetPaused(bool paused) override;
    void SetVolume(float volume) override { this->volume = volume; }
    void SetPan(float pan) override { this->pan = pan; }
    void SetRate(float rate) override { this->rate = rate; }
    bool Playing() override;
    void Cue(const Ref<TSound>& sound);
    Ref<TSound> sound;
    float volume = 1, pan = 0, rate = 1;
    bool paused = true, cued = false;
    long long startMs = 0, playedMs = 0;
};

// Driver selection; false (and the driver "None") when it cannot be opened.
bool SetAudioDriver(const std::string& name);
std::string AudioDriverName();  // as selected, or "None"
std::vector<std::string> AudioDrivers();  // names that may be selected
bool AudioDriverExists(const std::string& name);
// Makes the OpenAL driver names available (always true here).
bool EnableOpenALAudio();
// True while an OpenAL context is open and current (subsystem 3's streams
// use it directly).
bool OpenALActive();
int AudioGeneration();  // changes every time a driver is opened or closed
void ShutdownAudio();

// nullptr when missing or not a PCM WAV.  flags: SOUND_LOOP.  A data chunk
// cut short by the end of the file keeps the whole frames that are there.
Ref<TSound> LoadSound(const std::string& url, int flags = 0);
// The same from the bytes of a WAV file.
Ref<TSound> DecodeWav(const std::vector<std::uint8_t>& bytes, int flags = 0);
// A channel of the active driver (silent when the driver is "None").
Ref<TChannel> AllocChannel();
// The sample on the channel (a new one when channel is nullptr), paused:
// it starts when resumed.
Ref<TChannel> CueSound(const Ref<TSound>& sound, const Ref<TChannel>& channel = nullptr);
Ref<TChannel> PlaySound(const Ref<TSound>& sound, const Ref<TChannel>& channel = nullptr);
void StopChannel(const Ref<TChannel>& channel);
void PauseChannel(const Ref<TChannel>& channel);
void ResumeChannel(const Ref<TChannel>& channel);
bool ChannelPlaying(const Ref<TChannel>& channel);
void SetChannelVolume(const Ref<TChannel>& channel, float volume);
void SetChannelPan(const Ref<TChannel>& channel, float pan);
void SetChannelRate(const Ref<TChannel>& channel, float rate);

// --- tests -----------------------------------------------------------------
// Opens OpenAL Soft's loopback device as the active driver (name
// "OpenAL Loopback"), rendering off-line: RenderLoopback mixes `frames`
// sample frames of 16-bit interleaved audio at the given rate/channels.
// While it is open, selecting an "OpenAL..." driver keeps it (it stands in
// for the default device), so code under test can select its driver as usual.
bool OpenLoopbackAudio(int rate = 44100, int channels = 2);
std::vector<std::int16_t> RenderLoopback(int frames);

}  // namespace plat
