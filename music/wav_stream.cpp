#include "music/wav_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/core/error.h"

namespace music {

const char* const kWavLoaderName = "Microsoft Wave \".wav\"";

std::string ReadChunkId(const Ref<plat::TStream>& stream) {
    char id[4];
    if (plat::ReadBytes(stream, id, 4) < 4) return "";
    return std::string(id, 4);
}

namespace {

std::uint32_t ReadU32(const Ref<plat::TStream>& s) { return static_cast<std::uint32_t>(plat::ReadInt(s)); }

// Chunks of odd length are followed by a pad byte.
void SkipChunk(const Ref<plat::TStream>& s, std::uint32_t length) {
    long long next = plat::StreamPos(s) + static_cast<long long>(length) + (length & 1);
    plat::SeekStream(s, next);
}

int FormatCode(int bits, int channels) {
    if (bits == 8 && channels == 1) return FORMAT_MONO8;
    if (bits == 8 && channels == 2) return FORMAT_STEREO8;
    if (bits == 16 && channels == 1) return FORMAT_MONO16;
    if (bits == 16 && channels == 2) return FORMAT_STEREO16;
    return 0;
}

}  // namespace

Ref<TWavStream> TWavStream::Load(const MusicSource& source) {
    Ref<plat::TStream> s = source.stream ? source.stream : plat::ReadStream(source.url);
    if (!s) return nullptr;
    s = plat::LittleEndianStream(s);
    try {
        if (ReadChunkId(s) != "RIFF") return nullptr;
        ReadU32(s);
        if (ReadChunkId(s) != "WAVE") return nullptr;
        if (ReadChunkId(s) != "fmt ") return nullptr;
        std::uint32_t fmtLength = ReadU32(s);
        if (fmtLength < 16) return nullptr;
        int tag = plat::ReadShort(s);
        if (tag != 1) return nullptr;
        int channels = plat::ReadShort(s);
        int rate = plat::ReadInt(s);
        plat::ReadInt(s);    // bytes per second
        plat::ReadShort(s);  // block alignment
        int bits = plat::ReadShort(s);
        int format = FormatCode(bits, channels);
        if (!format || rate <= 0) return nullptr;
        if (fmtLength > 16) SkipChunk(s, fmtLength - 16);

        long long dataSize = 0;
        for (;;) {
            std::string id = ReadChunkId(s);
            if (id.empty()) break;
            std::uint32_t length = ReadU32(s);
            if (id == "data") {
                // A file cut short ends its data where the file ends.
                long long left = plat::StreamSize(s) - plat::StreamPos(s);
                dataSize = std::min<long long>({length, left, 0x7fffffffLL});
                break;
            }
            SkipChunk(s, length);
        }

        auto wav = plat::New<TWavStream>();
        wav->stream = s;
        wav->SAMPLE_RATE = rate;
        wav->STREAM_SIZE = static_cast<int>(dataSize);
        wav->STREAM_FORMAT = format;
        wav->loopseek = static_cast<int>(plat::StreamPos(s));
        return wav;
    } catch (const plat::ReadError&) {
        return nullptr;  // a header cut short is not a WAV we can play
    }
}

void TWavStream::Free() {}

void TWavStream::Stop() {
    plat::SeekStream(stream, loopseek);
    STREAM_POS = 0;
}

int TWavStream::FillBuffer(void* buffer, int length) {
    if (length <= 0) return 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    int done = 0;
    while (done < length) {
        int wanted = std::min(length - done, STREAM_SIZE - STREAM_POS);
        if (wanted > 0) {
            int got = plat::ReadBytes(stream, out + done, wanted);
            if (got < 0) got = 0;
            STREAM_POS += got;
            done += got;
            if (got < wanted) STREAM_SIZE = STREAM_POS;  // the file ended early
        }
        if (STREAM_POS < STREAM_SIZE) continue;
        if (STREAM_LOOP == 1 && STREAM_SIZE > 0) {
            plat::SeekStream(stream, loopseek);
            STREAM_POS = 0;
            continue;
        }
        PlayStatus = 0;
        Stop();
        // silence: unsigned 8-bit samples rest at 128
        bool eightBit = STREAM_FORMAT == FORMAT_MONO8 || STREAM_FORMAT == FORMAT_STEREO8;
        std::memset(out + done, eightBit ? 0x80 : 0, static_cast<std::size_t>(length - done));
        break;
    }
    return 0;
}

Ref<TMusic> LoadWavMusic(const MusicSource& source) { return TWavStream::Load(source); }

}  // namespace music
