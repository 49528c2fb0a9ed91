#pragma once
// Builds WAV files byte by byte for the audio tests.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

namespace testutil {

class WavBuilder {
public:
    WavBuilder& Chunk(const std::string& id, const std::vector<std::uint8_t>& body, std::uint32_t declared = 0xFFFFFFFF) {
        Put(id);
        U32(declared == 0xFFFFFFFF ? static_cast<std::uint32_t>(body.size()) : declared);
        chunks_.insert(chunks_.end(), body.begin(), body.end());
        if (body.size() % 2) chunks_.push_back(0);  // pad byte
        return *this;
    }
    WavBuilder& Fmt(int format, int channels, int rate, int bits) {
        std::vector<std::uint8_t> b;
        auto u16 = [&](int v) { b.push_back(static_cast<std::uint8_t>(v)); b.push_back(static_cast<std::uint8_t>(v >> 8)); };
        auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
        u16(format);
        u16(channels);
        u32(static_cast<std::uint32_t>(rate));
        u32(static_cast<std::uint32_t>(rate * channels * bits / 8));
        u16(channels * bits / 8);
        u16(bits);
        if (format == 0xFFFE) {
            u16(22);
            u16(bits);
            u32(channels == 2 ? 3 : 4);
            u16(sub_);  // sub-format GUID
            const std::uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
            b.insert(b.end(), tail, tail + 14);
        }
        return Chunk("fmt ", b);
    }
    WavBuilder& SubFormat(int sub) {
        sub_ = sub;
        return *this;
    }
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        out.reserve(chunks_.size() + 12);
        auto put = [&](const char* s) {
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(s[i]));
        };
        put("RIFF");
        std::uint32_t size = static_cast<std::uint32_t>(chunks_.size() + 4);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
        put("WAVE");
        out.insert(out.end(), chunks_.begin(), chunks_.end());
        return out;
    }

private:
    void Put(const std::string& id) { chunks_.insert(chunks_.end(), id.begin(), id.begin() + 4); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) chunks_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> chunks_;
    int sub_ = 1;
};

// 16-bit samples of a 441 Hz sine (100 samples a period at 44100 Hz), the
// same in every channel.
inline std::vector<std::uint8_t> Sine16(int frames, int channels, double amplitude) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < frames; ++i) {
        auto v = static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * i / 100.0)));
        for (int c = 0; c < channels; ++c) {
            out.push_back(static_cast<std::uint8_t>(v & 0xFF));
            out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
    }
    return out;
}

}  // namespace testutil
