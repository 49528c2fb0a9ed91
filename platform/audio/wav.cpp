// The RIFF/WAVE reader for samples: PCM, 8 or 16 bits, mono or stereo.

#include <cstring>

#include "platform/audio/audio.h"
#include "platform/io/stream.h"

namespace plat {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool Is(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// The tail of the sub-format GUID shared by the standard formats.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

}  // namespace

Ref<TSound> DecodeWav(const std::vector<std::uint8_t>& bytes, int flags) {
    const std::uint8_t* b = bytes.data();
    const std::uint64_t size = bytes.size();
    if (size < 12 || !Is(b, "RIFF") || !Is(b + 8, "WAVE")) return nullptr;

    bool haveFmt = false, haveData = false;
    std::uint16_t format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    std::uint64_t dataAt = 0, dataLen = 0;

    // The chunk sizes are trusted only as far as the file goes.
    std::uint64_t pos = 12;
    while (pos + 8 <= size) {
        const std::uint8_t* id = b + pos;
        std::uint64_t len = U32(b + pos + 4);
        std::uint64_t body = pos + 8;
        std::uint64_t avail = size - body;
        if (Is(id, "fmt ") && !haveFmt) {
            if (len < 16 || avail < 16) return nullptr;
            format = U16(b + body);
            channels = U16(b + body + 2);
            rate = U32(b + body + 4);
            bits = U16(b + body + 14);
            if (format == kFormatExtensible) {
                // The real format is in the sub-format GUID.
                if (len < 40 || avail < 40) return nullptr;
                const std::uint8_t* guid = b + body + 24;
                if (std::memcmp(guid + 2, kGuidTail, sizeof kGuidTail) != 0) return nullptr;
                format = U16(guid);
            }
            haveFmt = true;
        } else if (Is(id, "data") && !haveData) {
            dataAt = body;
            dataLen = len < avail ? len : avail;  // cut short: what is there
            haveData = true;
        }
        pos = body + len + (len & 1);  // chunks are padded to even sizes
    }

    if (!haveFmt || !haveData) return nullptr;
    if (format != kFormatPcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate == 0)
        return nullptr;

    auto sound = New<TSound>();
    sound->rate = static_cast<int>(rate > 0x7FFFFFFF ? 0x7FFFFFFF : rate);
    sound->channels = channels;
    sound->bits = bits;
    sound->flags = flags;
    std::uint64_t frame = static_cast<std::uint64_t>(channels) * (bits / 8);
    std::uint64_t whole = dataLen / frame * frame;
    sound->data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(dataAt),
                       bytes.begin() + static_cast<std::ptrdiff_t>(dataAt + whole));
    return sound;
}

Ref<TSound> LoadSound(const std::string& url, int flags) {
    bool ok = false;
    std::vector<std::uint8_t> bytes = LoadByteArray(url, &ok);
    if (!ok) return nullptr;
    return DecodeWav(bytes, flags);
}

int TSound::Frames() const {
    int frame = channels * (bits / 8);
    return frame > 0 ? static_cast<int>(data.size() / static_cast<std::size_t>(frame)) : 0;
}

}  // namespace plat
