#pragma once
// SID chip music: the SID source, which renders a PSID tune through the SID
// player library, and the front end the game drives.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "music/audio_stream.h"
#include "music/music.h"
#include "music/sid_emulation.h"
#include "music/sid_glue.h"

namespace music {

class SIDStream : public TMusic {
public:
    ~SIDStream() override;
    SIDStream(const SIDStream&) = delete;
    SIDStream& operator=(const SIDStream&) = delete;

    // Opens a tune file and readies its engine.  nullptr for an empty (or
    // missing) file and for a tune cut short after its header (the file
    // ends before the first instruction of its init routine does); every
    // other failure raises a "SIDStream.Load(): " text.
    static Ref<SIDStream> Load(const std::string& url, std::uint16_t track, int rate, int format, int clockSpeed);
    // The same over bytes already read; `url` names them in error texts.
    static Ref<SIDStream> Load(const std::vector<std::uint8_t>& bytes, const std::string& url,
                               std::uint16_t track, int rate, int format, int clockSpeed);

    // Renders whole sample frames; a remainder shorter than a frame is
    // silence.  Raises "SIDStream.FillBuffer(): Unable to process sample
    // data" when the engine renders nothing.  The source never ends.  The
    // first render gives the engine its chips (waiting for the emulation's
    // one-time set-up if it is still running) and raises "SIDStream.Load():
    // Unable to create ReSIDBuilder" when none can be had.
    int FillBuffer(void* buffer, int length) override;
    // Renders nothing (the interface's play call without a buffer).
    int Play();
    // Restarts the selected song from its beginning.
    int Stop();
    std::uint16_t CurrentTrack() const { return Track; }
    std::uint16_t GetTrackCount() const;
    // 1 and the song restarts from its beginning; 0 for a song the tune does
    // not have, and the current song goes on.
    int SelectTrack(std::uint16_t track);

    std::uint16_t Track = 0;     // selected song, counted from 1
    std::uint16_t Bits = 0;      // always 16
    std::uint16_t Channels = 0;  // 1 mono, 2 stereo
    int clockSpeed = 0;

private:
    SIDStream() = default;
    // The engine gets its chip emulations when it first renders, so opening a
    // tune never waits for the emulation's one-time set-up.
    void AttachEmulation();
    // Seeds the generator state the library dithers this source's output with.
    void StartDither();

    struct TuneRelease { void operator()(SidTuneHandle* t) const { sid_tune_destroy(t); } };
    struct EngineRelease { void operator()(SidEngine* e) const { sid_player_destroy(e); } };
    // Declared in this order so they go player, tune, builder: the engine
    // hands its SID emulations back to the builder.
    detail::BuilderPtr resid;
    std::unique_ptr<SidTuneHandle, TuneRelease> tune;
    std::unique_ptr<SidEngine, EngineRelease> player;
    // The library dithers its output with the C library's shared random
    // generator; this source keeps a generator state of its own for it.
    alignas(std::int32_t) std::array<char, 128> dither_{};
};

// True when the bytes look like a PSID/RSID file the player library can
// read safely: magic, version 1 to 4, the data offset of that version, and
// data beyond it (the library does not check these and crashes without).
bool PlausibleSidHeader(const std::uint8_t* data, std::size_t size);

// The loader: track 1, 44100 Hz, stereo 16-bit, the PAL clock.
Ref<TMusic> LoadSidMusic(const MusicSource& source);
extern const char* const kSidLoaderName;

// Module start: the audio-stream module, then the "sid" loader.
void InitSidStreamModule();

// The music front end.  All instances share one state: the current source,
// the current stream and the paused flag.  While it is empty (no tune
// loaded, or after Dispose) every operation does nothing and returns 0; with
// the "None" driver there is a source but no stream, and the stream
// operations do nothing.
class SidAudioStream : public plat::Object {
public:
    // Also starts the SID emulation's one-time set-up beside the main thread,
    // so that the first tune to play does not wait for it.
    SidAudioStream();

    // 1 when the tune was opened; 0 when no SID source could be made.  A
    // tune already loaded is stopped and dropped first.
    std::uint8_t Load(const std::string& url, std::uint16_t track, std::uint8_t autoplay, float volume, float rate);
    void Play();
    void Stop();
    void Pause();
    void Restart();
    std::uint8_t IsPaused() const;
    std::uint16_t GetTrackCount() const;
    std::uint16_t CurrentTrack() const;
    int SelectTrack(std::uint16_t track);
    void SetHertz(float factor);
    void SetVolume(float volume);
    void Dispose();

    // The shared state, for whoever needs to look at it.
    static Ref<SIDStream> CurrentSource();
    static Ref<TAudioStream> CurrentStream();
};

}  // namespace music
