#include "platform/audio/audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <unordered_set>

#include "platform/core/clock.h"

namespace plat {

namespace {

enum class Kind { None, Silent, OpenAL, Loopback };

// Plain values that stay valid during program exit, when sounds and channels
// held by static objects may still be destroyed after the driver closed.
constinit int g_generation = 0;
constinit bool g_alOpen = false;

struct Driver {
    Kind kind = Kind::None;
    std::string name = "None";
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    int loopChannels = 2;
    // What the layer made on the device, freed when it closes.
    std::unordered_set<ALuint> sources, buffers;
    bool exitHook = false;
};

Driver& D() {
    static Driver driver;
    return driver;
}

bool IsOpenALName(const std::string& name) { return name.compare(0, 6, "OpenAL") == 0; }

void Close() {
    Driver& d = D();
    if (d.kind == Kind::OpenAL || d.kind == Kind::Loopback) {
        for (ALuint s : d.sources) {
            alSourceStop(s);
            alSourcei(s, AL_BUFFER, 0);
            alDeleteSources(1, &s);
        }
        for (ALuint b : d.buffers) alDeleteBuffers(1, &b);
        d.sources.clear();
        d.buffers.clear();
        alcMakeContextCurrent(nullptr);
        if (d.context) alcDestroyContext(d.context);
        if (d.device) alcCloseDevice(d.device);
    }
    d.device = nullptr;
    d.context = nullptr;
    g_alOpen = false;
    if (d.kind != Kind::None) ++g_generation;
    d.kind = Kind::None;
    d.name = "None";
}

// The device has gone through its set-up: make its context current for good
// (the music streams call OpenAL directly) and close it at exit.
bool Adopt(ALCdevice* device, const ALCint* attrs, Kind kind, const std::string& name) {
    Driver& d = D();
    ALCcontext* context = alcCreateContext(device, attrs);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context) alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    d.device = device;
    d.context = context;
    d.kind = kind;
    d.name = name;
    g_alOpen = true;
    ++g_generation;
    if (!d.exitHook) {
        d.exitHook = true;
        std::atexit(ShutdownAudio);
    }
    return true;
}

ALenum FormatOf(const TSound& s) {
    if (s.channels == 2) return s.bits == 16 ? AL_FORMAT_STEREO16 : AL_FORMAT_STEREO8;
    return s.bits == 16 ? AL_FORMAT_MONO16 : AL_FORMAT_MONO8;
}

// The sample's buffer on the open device, made on first use.
ALuint BufferFor(TSound& s) {
    if (!g_alOpen) return 0;
    if (s.alBuffer && s.alGeneration == g_generation) return s.alBuffer;
    if ((s.channels != 1 && s.channels != 2) || (s.bits != 8 && s.bits != 16) || s.rate <= 0) return 0;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return 0;
    int frame = s.channels * s.bits / 8;
    ALsizei bytes = static_cast<ALsizei>(s.data.size() / static_cast<std::size_t>(frame) * static_cast<std::size_t>(frame));
    alBufferData(buffer, FormatOf(s), s.data.data(), bytes, s.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return 0;
    }
    D().buffers.insert(buffer);
    s.alBuffer = buffer;
    s.alGeneration = g_generation;
    return buffer;
}

long long SoundMs(const TSound& s) {
    if (s.rate <= 0) return 0;
    return static_cast<long long>(s.Frames()) * 1000 / s.rate;
}

float Finite(float v, float fallback) { return std::isfinite(v) ? v : fallback; }

}  // namespace

// --- samples -------------------------------------------------------------------------

TSound::~TSound() {
    if (alBuffer && g_alOpen && alGeneration == g_generation) {
        alDeleteBuffers(1, &alBuffer);
        D().buffers.erase(alBuffer);
    }
}

// --- OpenAL channels -----------------------------------------------------------------

OpenALChannel::OpenALChannel() {
    if (!g_alOpen) return;
    alGetError();
    ALuint s = 0;
    alGenSources(1, &s);
    if (alGetError() != AL_NO_ERROR) return;  // out of voices: an inert channel
    source = s;
    generation = g_generation;
    D().sources.insert(s);
    // Panning places the source on a circle around the listener.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, -1.0f);
}

OpenALChannel::~OpenALChannel() {
    if (!Alive()) return;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    alDeleteSources(1, &source);
    D().sources.erase(source);
}

bool OpenALChannel::Alive() const { return source != 0 && g_alOpen && generation == g_generation; }

void OpenALChannel::Cue(const Ref<TSound>& newSound) {
    if (!Alive()) return;
    alSourceStop(source);
    ALuint buffer = newSound ? BufferFor(*newSound) : 0;
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(source, AL_LOOPING, (newSound && (newSound->flags & SOUND_LOOP)) ? AL_TRUE : AL_FALSE);
    alSourceRewind(source);  // initial: it waits to be resumed
    sound = buffer ? newSound : nullptr;
}

void OpenALChannel::Stop() {
    if (!Alive()) return;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    sound = nullptr;
}

void OpenALChannel::SetPaused(bool paused) {
    if (!Alive()) return;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (paused) {
        if (state == AL_PLAYING) alSourcePause(source);
    } else if (state == AL_PAUSED || (state == AL_INITIAL && sound)) {
        // Resumes a paused sample where it was, or starts a cued one; a
        // stopped or finished channel stays silent.
        alSourcePlay(source);
    }
}

void OpenALChannel::SetVolume(float v) {
    volume = std::max(0.0f, Finite(v, 0.0f));
    if (Alive()) alSourcef(source, AL_GAIN, volume);
}

void OpenALChannel::SetPan(float p) {
    pan = std::clamp(Finite(p, 0.0f), -1.0f, 1.0f);
    if (!Alive()) return;
    float a = pan * std::numbers::pi_v<float> / 2.0f;
    alSource3f(source, AL_POSITION, std::sin(a), 0.0f, -std::cos(a));
}

void OpenALChannel::SetRate(float r) {
    rate = std::max(0.0f, Finite(r, 1.0f));
    if (Alive()) alSourcef(source, AL_PITCH, rate);
}

bool OpenALChannel::Playing() {
    if (!Alive()) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

// --- silent channels ----------------------------------------------------------------------

void SilentChannel::Cue(const Ref<TSound>& newSound) {
    sound = newSound;
    cued = newSound != nullptr;
    paused = true;
    startMs = 0;
    playedMs = 0;
}

void SilentChannel::Stop() {
    sound = nullptr;
    cued = false;
    paused = true;
    playedMs = 0;
}

void SilentChannel::SetPaused(bool p) {
    if (!cued || p == paused) return;
    long long now = MilliSecs64();
    if (p) playedMs += now - startMs;
    else startMs = now;
    paused = p;
}

bool SilentChannel::Playing() {
    if (!cued || paused || !sound) return false;
    if (sound->flags & SOUND_LOOP) return true;
    double played = static_cast<double>(playedMs + (MilliSecs64() - startMs)) * std::max(0.0f, rate);
    return played < static_cast<double>(SoundMs(*sound));
}

// --- drivers --------------------------------------------------------------------------------

bool SetAudioDriver(const std::string& name) {
    Driver& d = D();
    if (name == d.name) return d.kind != Kind::None || name == "None";
    if (IsOpenALName(name)) {
        // Every OpenAL name is the default device: when one is open already
        // (or the test loopback device), nothing changes but the name.
        if (d.kind == Kind::OpenAL || d.kind == Kind::Loopback) {
            d.name = name;
            return true;
        }
        Close();
        ALCdevice* device = alcOpenDevice(nullptr);
        if (!device) return false;
        return Adopt(device, nullptr, Kind::OpenAL, name);
    }
    Close();
    if (name == "FreeAudio") {
        d.kind = Kind::Silent;
        d.name = name;
        ++g_generation;
        return true;
    }
    return name == "None";  // "DirectSound" and unknown names: no sound
}

std::string AudioDriverName() { return D().name; }

std::vector<std::string> AudioDrivers() { return {"FreeAudio", "OpenAL Generic Software", "None"}; }

bool AudioDriverExists(const std::string& name) { return name == "FreeAudio" || name == "None" || IsOpenALName(name); }

bool EnableOpenALAudio() { return true; }

bool OpenALActive() { return g_alOpen && D().context && alcGetCurrentContext() == D().context; }

int AudioGeneration() { return g_generation; }

void ShutdownAudio() { Close(); }

// --- channels ----------------------------------------------------------------------------------

Ref<TChannel> AllocChannel() {
    if (g_alOpen) return New<OpenALChannel>();
    return New<SilentChannel>();
}

Ref<TChannel> CueSound(const Ref<TSound>& sound, const Ref<TChannel>& channel) {
    Ref<TChannel> ch = channel ? channel : AllocChannel();
    if (auto* al = dynamic_cast<OpenALChannel*>(ch.get())) al->Cue(sound);
    else if (auto* silent = dynamic_cast<SilentChannel*>(ch.get())) silent->Cue(sound);
    return ch;
}

Ref<TChannel> PlaySound(const Ref<TSound>& sound, const Ref<TChannel>& channel) {
    Ref<TChannel> ch = CueSound(sound, channel);
    if (ch) ch->SetPaused(false);
    return ch;
}

void StopChannel(const Ref<TChannel>& channel) {
    if (channel) channel->Stop();
}
void PauseChannel(const Ref<TChannel>& channel) {
    if (channel) channel->SetPaused(true);
}
void ResumeChannel(const Ref<TChannel>& channel) {
    if (channel) channel->SetPaused(false);
}
bool ChannelPlaying(const Ref<TChannel>& channel) { return channel && channel->Playing(); }
void SetChannelVolume(const Ref<TChannel>& channel, float volume) {
    if (channel) channel->SetVolume(volume);
}
void SetChannelPan(const Ref<TChannel>& channel, float pan) {
    if (channel) channel->SetPan(pan);
}
void SetChannelRate(const Ref<TChannel>& channel, float rate) {
    if (channel) channel->SetRate(rate);
}

// --- the loopback device ------------------------------------------------------------------------

bool OpenLoopbackAudio(int rate, int channels) {
    Close();
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto supported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    if (!open || !supported || (channels != 1 && channels != 2) || rate <= 0) return false;
    ALCdevice* device = open(nullptr);
    if (!device) return false;
    ALCenum layout = channels == 2 ? ALC_STEREO_SOFT : ALC_MONO_SOFT;
    if (!supported(device, rate, layout, ALC_SHORT_SOFT)) {
        alcCloseDevice(device);
        return false;
    }
    const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT, layout, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                            ALC_FREQUENCY, rate, 0};
    if (!Adopt(device, attrs, Kind::Loopback, "OpenAL Loopback")) return false;
    D().loopChannels = channels;
    return true;
}

std::vector<std::int16_t> RenderLoopback(int frames) {
    Driver& d = D();
    if (d.kind != Kind::Loopback || frames <= 0) return {};
    auto render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(d.device, "alcRenderSamplesSOFT"));
    if (!render) return {};
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * static_cast<std::size_t>(d.loopChannels));
    render(d.device, out.data(), frames);
    return out;
}

}  // namespace plat
