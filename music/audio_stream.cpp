#include "music/audio_stream.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "music/module.h"
#include "music/wav_stream.h"

namespace music {

namespace {

constexpr double kStreamTimerHz = 120.0;

Ref<plat::TTimer>& Timer() {
    static Ref<plat::TTimer> timer;
    return timer;
}
int started = -1;  // module generation this module last started in

int OpenALFormat(int format) {
    switch (format) {
        case FORMAT_MONO8: return AL_FORMAT_MONO8;
        case FORMAT_MONO16: return AL_FORMAT_MONO16;
        case FORMAT_STEREO8: return AL_FORMAT_STEREO8;
        case FORMAT_STEREO16: return AL_FORMAT_STEREO16;
        default: return 0;
    }
}

}  // namespace

void InitAudioStreamModule() {
    if (started == detail::ModuleGeneration()) return;
    started = detail::ModuleGeneration();
    InitMusicModule();
    MusicLoader::Create(&LoadWavMusic, kWavLoaderName, "wav");
    Timer() = plat::CreateTimer(kStreamTimerHz);
}

Ref<plat::TTimer> StreamTimer() {
    InitAudioStreamModule();
    return Timer();
}

int VolumeToAttenuation(float volume) {
    if (volume >= 1.0f) return 0;
    if (!(volume > 0.0f)) return -10000;  // zero, negative or not a number
    int attenuation = static_cast<int>(std::log10(static_cast<double>(volume)) * 3321.927978515625);
    return std::max(attenuation, -10000);
}

// --- TAudioStream ------------------------------------------------------------

TAudioStream::~TAudioStream() { DetachFromTimer(); }

void TAudioStream::eventhook(const plat::TEvent& event, const std::weak_ptr<TAudioStream>& context) {
    if (event.id != plat::EVENT_TIMERTICK || !event.source || event.source != Timer()) return;
    if (Ref<TAudioStream> stream = context.lock()) stream->Update();
}

void TAudioStream::AttachToTimer() {
    if (hook_ >= 0) return;
    std::weak_ptr<TAudioStream> self = std::static_pointer_cast<TAudioStream>(shared_from_this());
    hook_ = plat::AddHook([self](const plat::TEvent& event) { eventhook(event, self); }, 0);
}

void TAudioStream::DetachFromTimer() {
    if (hook_ < 0) return;
    plat::RemoveHook(hook_);
    hook_ = -1;
}

Ref<TAudioStream> TAudioStream::Create(const Ref<TMusic>& music, int loop, int paused, Priming priming) {
    InitAudioStreamModule();
    if (!music) return nullptr;
    music->Seti(KEY_STREAM_LOOP, loop);
    Ref<plat::TChannel> channel = plat::AllocChannel();
    if (!channel) return nullptr;
    Ref<TAudioStream> stream;
    if (plat::Is<plat::OpenALChannel>(channel)) {
        stream = TOpenALAudioStream::Build(music, paused, priming);
    } else if (plat::Is<plat::SilentChannel>(channel) && plat::AudioDriverName() == "FreeAudio") {
        stream = plat::New<TFreeAudioAudioStream>();
        stream->AttachToTimer();
    }
    if (!stream) return nullptr;
    stream->Music = music;
    stream->KeepMusic = 1;
    return stream;
}

Ref<TAudioStream> TAudioStream::Create(const MusicSource& source, int loop, int paused) {
    InitAudioStreamModule();
    Ref<TMusic> music = LoadMusic(source);
    if (!music) return nullptr;
    Ref<TAudioStream> stream = Create(music, loop, paused);
    if (stream) stream->KeepMusic = 0;
    return stream;
}

// --- TOpenALAudioStream --------------------------------------------------------

Ref<TOpenALAudioStream> TOpenALAudioStream::Build(const Ref<TMusic>& music, int paused, Priming priming) {
    if (!music || !plat::OpenALActive()) return nullptr;
    int format = OpenALFormat(music->STREAM_FORMAT);
    if (!format || music->SAMPLE_RATE <= 0) return nullptr;

    Ref<TOpenALAudioStream> stream(new TOpenALAudioStream());
    stream->generation_ = plat::AudioGeneration();
    stream->alFormat = format;
    stream->samplerate = music->SAMPLE_RATE;
    stream->Music = music;
    music->PlayStatus = 1;

    alGetError();
    alGenBuffers(kBufferCount, stream->_buffers.data());
    if (alGetError() != AL_NO_ERROR) return nullptr;
    stream->_bufferbank = plat::CreateBank(kBufferBytes);
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(kBufferCount, stream->_buffers.data());
        return nullptr;
    }
    stream->_source = source;
    alSource3f(source, AL_POSITION, 0, 0, 0);
    alSource3f(source, AL_VELOCITY, 0, 0, 0);
    alSource3f(source, AL_DIRECTION, 0, 0, 0);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);

    if (priming == Priming::AtCreation) stream->Prime();
    stream->SetPaused(paused != 0);
    stream->AttachToTimer();
    return stream;
}

void TOpenALAudioStream::Prime() {
    // A source that ends meanwhile has rewound itself: the buffers after
    // its end would hear it again from the start, so they stay unqueued.
    int filled = 0;
    while (filled < kBufferCount && (filled == 0 || Music->PlayStatus != 0))
        FillBuffer(_buffers[static_cast<std::size_t>(filled++)]);
    alSourceQueueBuffers(_source, filled, _buffers.data());
    primed_ = true;
}

TOpenALAudioStream::~TOpenALAudioStream() { Stop(); }

bool TOpenALAudioStream::Alive() const {
    return _source != 0 && plat::OpenALActive() && generation_ == plat::AudioGeneration();
}

void TOpenALAudioStream::FillBuffer(unsigned buffer) {
    Music->FillBuffer(_bufferbank->Buf(), kBufferBytes);
    alBufferData(buffer, alFormat, _bufferbank->Buf(), kBufferBytes, samplerate);
}

void TOpenALAudioStream::Update() {
    if (!_source || !Music) return;
    if (!Alive()) {  // the driver went away: its names are gone with it
        Stop();
        return;
    }
    if (!primed_) {
        if (paused) return;  // primed on the first tick after it is resumed
        Prime();
    }
    if (Music->PlayStatus == 0 && !Playing()) {
        Stop();
        return;
    }
    if (!(paused && refilledWhilePaused_)) {
        ALint processed = 0;
        alGetSourcei(_source, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0; --processed) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(_source, 1, &buffer);
            if (Music->PlayStatus != 0) {
                FillBuffer(buffer);
                alSourceQueueBuffers(_source, 1, &buffer);
            }
        }
        if (paused) refilledWhilePaused_ = true;
    }
    if (!paused) {
        ALint state = 0;
        alGetSourcei(_source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) alSourcePlay(_source);  // also restarts a source that ran dry
    }
}

void TOpenALAudioStream::Stop() {
    if (!_source) return;
    if (Alive()) {
        alSourceStop(_source);
        alDeleteSources(1, &_source);
        alDeleteBuffers(kBufferCount, _buffers.data());
    }
    DetachFromTimer();
    if (!KeepMusic && Music) Music->Free();
    Music = nullptr;
    _source = 0;
    _buffers.fill(0);
    _bufferbank = nullptr;
}

void TOpenALAudioStream::SetPaused(bool p) {
    if (!Alive()) return;
    // Before its queue is primed the source has nothing to stop or play:
    // the first tick after the stream is resumed primes it and starts it.
    if (p && !paused) {
        paused = 1;
        refilledWhilePaused_ = false;
        if (primed_) alSourceStop(_source);
    } else if (!p && paused) {
        paused = 0;
        if (Music) Music->PlayStatus = 1;
        if (primed_) alSourcePlay(_source);
    }
}

void TOpenALAudioStream::SetVolume(float volume) {
    if (!Alive()) return;
    alSourcef(_source, AL_GAIN, std::max(volume, 0.0f));
}

void TOpenALAudioStream::SetRate(float rate) {
    if (!Alive() || !(rate > 0.0f)) return;
    alSourcef(_source, AL_PITCH, rate);
}

void TOpenALAudioStream::SetPan(float pan) {
    if (!Alive()) return;
    double angle = std::clamp(pan, -1.0f, 1.0f) * std::numbers::pi / 2.0;
    alSource3f(_source, AL_POSITION, static_cast<float>(std::sin(angle)), 0.0f,
               static_cast<float>(-std::cos(angle)));
}

bool TOpenALAudioStream::Playing() {
    if (!Alive()) return false;
    ALint state = 0;
    alGetSourcei(_source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) return true;
    if (paused) return false;
    // Waiting for its first tick, or run dry while the program was busy for
    // longer than the queue: the next tick fills the queue and starts it
    // again, unless its source has ended.
    return state == AL_INITIAL || (state == AL_STOPPED && Music && Music->PlayStatus != 0);
}

}  // namespace music
