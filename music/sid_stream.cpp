#include "music/sid_stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "music/module.h"
#include "platform/core/error.h"
#include "platform/io/stream.h"

namespace music {

const char* const kSidLoaderName = "SID \".sid\"";

namespace {

int started = -1;  // module generation this module last started in

[[noreturn]] void Fail(const std::string& text) { throw plat::RuntimeError("SIDStream.Load(): " + text); }

const char* const kFillError = "SIDStream.FillBuffer(): Unable to process sample data";

// Lends the C library's shared random generator a state of its own while it
// lives, and puts the previous one back (rand() draws from the generator
// that setstate switches).
class DitherWith {
public:
    explicit DitherWith(char* state) : previous_(setstate(state)) {}
    ~DitherWith() { setstate(previous_); }
    DitherWith(const DitherWith&) = delete;
    DitherWith& operator=(const DitherWith&) = delete;

private:
    char* previous_;
};

unsigned BigEndian16(const std::uint8_t* p) { return (unsigned(p[0]) << 8) | p[1]; }

}  // namespace

void InitSidStreamModule() {
    if (started == detail::ModuleGeneration()) return;
    started = detail::ModuleGeneration();
    InitAudioStreamModule();
    MusicLoader::Create(&LoadSidMusic, kSidLoaderName, "sid");
}

namespace {

// The header as such: magic, version 1 to 4 and the data offset of that
// version, all within the bytes.
bool WholeSidHeader(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kV1Header = 0x76, kV2Header = 0x7c;
    if (!data || size < kV1Header) return false;
    if (std::memcmp(data, "PSID", 4) != 0 && std::memcmp(data, "RSID", 4) != 0) return false;
    unsigned version = BigEndian16(data + 4);
    if (version < 1 || version > 4) return false;
    unsigned dataOffset = BigEndian16(data + 6);
    return dataOffset == (version == 1 ? kV1Header : kV2Header) && size >= dataOffset;
}

// Where the bytes loaded into the machine start in a file whose header is
// whole: after the header, and after the load address when the data begins
// with it.
std::size_t MachineDataStart(const std::uint8_t* data) {
    return BigEndian16(data + 6) + (BigEndian16(data + 8) == 0 ? 2 : 0);
}

// The length of the 6502 instruction an opcode begins, the undocumented
// opcodes included.
std::size_t InstructionLength(std::uint8_t opcode) {
    switch (opcode & 0x1f) {
        case 0x00: return opcode == 0x20 ? 3 : opcode >= 0x80 ? 2 : 1;  // JSR; LDY, CPY, CPX #; BRK, RTI, RTS
        case 0x02: return opcode >= 0x80 ? 2 : 1;                       // LDX # and the like; the jams
        case 0x08: case 0x0a: case 0x12: case 0x18: case 0x1a: return 1;
        case 0x0c: case 0x0d: case 0x0e: case 0x0f: case 0x19: case 0x1b:
        case 0x1c: case 0x1d: case 0x1e: case 0x1f: return 3;  // absolute, indexed or not
        default: return 2;  // zero page, immediate, indirect, relative
    }
}

// A tune cut short after its header: the file ends before the first
// instruction of its init routine does.  The player runs init before
// anything has been written to the tune's memory, so in a whole tune that
// instruction is always among the bytes the file loads.  A tune started
// through BASIC has no init address and is never taken for one.
bool InitCutOff(const std::vector<std::uint8_t>& bytes, const SidInfoHandle* info) {
    const long load = sid_info_load_address(info), init = sid_info_init_address(info);
    if (init == 0) return false;
    // The header was checked to be followed by data.
    const std::size_t start = MachineDataStart(bytes.data());
    const std::size_t held =
        std::min(bytes.size() - start, static_cast<std::size_t>(std::max(0L, sid_info_data_length(info))));
    if (init < load || static_cast<std::size_t>(init - load) >= held) return true;
    const std::size_t at = static_cast<std::size_t>(init - load);
    return at + InstructionLength(bytes[start + at]) > held;
}

}  // namespace

bool PlausibleSidHeader(const std::uint8_t* data, std::size_t size) {
    return WholeSidHeader(data, size) && size > MachineDataStart(data);
}

// --- SIDStream -----------------------------------------------------------------

// The members' declaration order releases player, tune, then builder.
SIDStream::~SIDStream() = default;

Ref<SIDStream> SIDStream::Load(const std::string& url, std::uint16_t track, int rate, int format, int clockSpeed) {
    return Load(plat::LoadByteArray(url), url, track, rate, format, clockSpeed);
}

Ref<SIDStream> SIDStream::Load(const std::vector<std::uint8_t>& bytes, const std::string& url,
                               std::uint16_t track, int rate, int format, int clockSpeed) {
    if (bytes.empty()) return nullptr;
    Ref<SIDStream> sid(new SIDStream());
    sid->clockSpeed = clockSpeed;

    sid->tune.reset(sid_tune_create(nullptr));
    if (!sid->tune) Fail("Unable to create SidTune");
    if (!WholeSidHeader(bytes.data(), bytes.size()) || bytes.size() > 0x7fffffff) Fail("Unable To load " + url);
    // A whole header over too few bytes is a tune cut short: there is no
    // tune to play, as for an empty file.
    if (!PlausibleSidHeader(bytes.data(), bytes.size())) return nullptr;
    if (!sid_tune_read(sid->tune.get(), bytes.data(), static_cast<int>(bytes.size()))) Fail("Unable To load " + url);
    if (InitCutOff(bytes, sid_tune_get_info(sid->tune.get()))) return nullptr;
    // No engine exists yet: the selection takes effect when the tune is
    // loaded into it below.
    if (!sid->SelectTrack(track)) Fail("Unable to select track " + std::to_string(track));

    sid->Channels = (format == FORMAT_STEREO8 || format == FORMAT_STEREO16) ? 2 : 1;
    sid->Bits = 16;
    // The engine renders 16-bit samples whatever was asked, so the source
    // says so: its consumer takes the source's own format.
    sid->STREAM_FORMAT = sid->Channels == 2 ? FORMAT_STEREO16 : FORMAT_MONO16;
    sid->SAMPLE_RATE = rate;

    sid->player.reset(sid_player_create());
    SidEngine* engine = sid->player.get();
    if (!sid_player_set_frequency(engine, rate)) Fail("Unable to set rate " + std::to_string(rate));
    if (!sid_player_set_precision(engine, sid->Bits)) Fail("Unable to set bits " + std::to_string(sid->Bits));
    if (!sid_player_set_playback(engine, sid->Channels)) Fail("Unable to set format " + std::to_string(format));
    if (!sid_player_set_clock_speed(engine, clockSpeed))
        Fail("Unable to set clockSpeed " + std::to_string(clockSpeed));
    if (sid_player_load(engine, sid->tune.get()) != 0) Fail("Unable to load tune into the player");
    sid->StartDither();
    return sid;
}

void SIDStream::AttachEmulation() {
    if (resid) return;
    resid = detail::TakeSidEmulation();
    if (!resid) Fail("Unable to create ReSIDBuilder");
    // The tune starts again with the chips, before anything was rendered.
    if (!sid_player_set_emulation(player.get(), resid.get())) throw plat::RuntimeError(kFillError);
}

void SIDStream::StartDither() {
    constexpr unsigned kSeed = 1;
    char* shared = initstate(kSeed, dither_.data(), dither_.size());
    setstate(shared);
}

int SIDStream::FillBuffer(void* buffer, int length) {
    if (length <= 0 || !buffer) return 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    int frame = Channels * (Bits / 8);
    int whole = frame > 0 ? length - length % frame : 0;
    int rendered = 0;
    if (whole > 0) {
        AttachEmulation();
        {
            // Whatever else draws from the shared generator, the song renders
            // the same on every load, and the other draws go on as if no
            // music had been rendered.
            const DitherWith dither(dither_.data());
            rendered = sid_player_play(player.get(), out, whole);
        }
        if (rendered <= 0) throw plat::RuntimeError(kFillError);
        if (rendered > whole) rendered = whole;
    }
    std::memset(out + rendered, 0, static_cast<std::size_t>(length - rendered));
    return 0;
}

int SIDStream::Play() { return 0; }

int SIDStream::Stop() { return sid_player_load(player.get(), tune.get()) == 0 ? 1 : 0; }

std::uint16_t SIDStream::GetTrackCount() const {
    return static_cast<std::uint16_t>(sid_info_songs(sid_tune_get_info(tune.get())));
}

int SIDStream::SelectTrack(std::uint16_t track) {
    // Asked for a song it lacks, the library switches to its start song.
    if (track < 1 || track > GetTrackCount()) return 0;
    if (sid_tune_select_song(tune.get(), track) != track) return 0;
    if (player) sid_player_load(player.get(), tune.get());
    Track = track;
    return 1;
}

Ref<TMusic> LoadSidMusic(const MusicSource& source) {
    if (!source.stream) return SIDStream::Load(source.url, 1, 44100, FORMAT_STEREO16, SID_CLOCK_PAL);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    for (int n; (n = plat::ReadBytes(source.stream, chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    return SIDStream::Load(bytes, source.url, 1, 44100, FORMAT_STEREO16, SID_CLOCK_PAL);
}

// --- SidAudioStream --------------------------------------------------------------

namespace {

struct FrontEnd {
    Ref<SIDStream> source;
    Ref<TAudioStream> stream;
    std::uint8_t paused = 0;
};

FrontEnd& State() {
    static FrontEnd state;
    return state;
}

}  // namespace

SidAudioStream::SidAudioStream() {
    InitSidStreamModule();
    // A program with a music player means to play SID music: the emulation's
    // one-time set-up starts now, beside the rest of the program's start-up.
    detail::PrepareSidEmulation();
}

Ref<SIDStream> SidAudioStream::CurrentSource() { return State().source; }
Ref<TAudioStream> SidAudioStream::CurrentStream() { return State().stream; }

std::uint8_t SidAudioStream::Load(const std::string& url, std::uint16_t track, std::uint8_t autoplay, float volume,
                                  float rate) {
    InitSidStreamModule();
    FrontEnd& st = State();
    // Left alone, the earlier stream would go on playing from its timer.
    if (st.stream) st.stream->Stop();
    st = FrontEnd{};

    st.source = plat::As<SIDStream>(LoadMusic(url));
    if (!st.source) return 0;
    if (track == 0 || track > GetTrackCount()) track = 1;
    // Streams of the front end render nothing before their first tick: a
    // tune loaded and stopped at once (as the screens do) costs no sound.
    st.stream = CreateAudioStream(st.source, 1, 0, Priming::OnFirstTick);
    Stop();
    SetHertz(rate);
    SetVolume(volume);
    SelectTrack(track);
    if (autoplay) Play();
    return 1;
}

void SidAudioStream::Play() {
    FrontEnd& st = State();
    if (!st.source) return;
    if (st.paused) {
        if (st.stream) st.stream->SetPaused(false);
        return;
    }
    if (st.stream && st.stream->Playing()) return;
    st.stream = CreateAudioStream(st.source, 1, 0, Priming::OnFirstTick);
    st.paused = 0;
}

void SidAudioStream::Stop() {
    FrontEnd& st = State();
    if (!st.source) return;
    st.source->Stop();
    if (st.stream) st.stream->Stop();
    st.paused = 0;
}

void SidAudioStream::Pause() {
    FrontEnd& st = State();
    if (!st.source) return;
    if (st.stream) st.stream->SetPaused(true);
    st.paused = 1;
}

void SidAudioStream::Restart() {
    Stop();
    Play();
}

std::uint8_t SidAudioStream::IsPaused() const { return State().source ? State().paused : 0; }

std::uint16_t SidAudioStream::GetTrackCount() const {
    return State().source ? State().source->GetTrackCount() : 0;
}

std::uint16_t SidAudioStream::CurrentTrack() const { return State().source ? State().source->CurrentTrack() : 0; }

int SidAudioStream::SelectTrack(std::uint16_t track) {
    return State().source ? State().source->SelectTrack(track) : 0;
}

void SidAudioStream::SetHertz(float factor) {
    FrontEnd& st = State();
    if (st.source && st.stream) st.stream->SetRate(factor);
}

void SidAudioStream::SetVolume(float volume) {
    FrontEnd& st = State();
    if (st.source && st.stream) st.stream->SetVolume(volume);
}

void SidAudioStream::Dispose() {
    FrontEnd& st = State();
    if (st.stream) st.stream->Stop();
    if (st.source) st.source->Free();
    st = FrontEnd{};
}

}  // namespace music
