#pragma once
// Helpers for the music tests: test files, WAV images and signal analysis.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "tests/platform/test_io_tempdir.h"

namespace musictest {

// The test tones: 1 A-4 pulse, 2 D-3 triangle, 3 E-5 sawtooth, 4 C-5 then G-5,
// 5 a C major arpeggio then A-4.
inline std::string TonesPath() { return MUSIC_TEST_TONES; }
inline std::string GameTunePath(const std::string& name) { return std::string(MUSIC_DATA_DIR) + "/" + name; }

constexpr double kA4 = 440.0;
constexpr double kD3 = 146.832;
constexpr double kE5 = 659.255;
constexpr double kC5 = 523.251;
constexpr double kG5 = 783.991;

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

using TempDir = testutil::TempDir;

// --- WAV images ----------------------------------------------------------------

inline void Put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(x & 0xff);
    v.push_back((x >> 8) & 0xff);
}
inline void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    Put16(v, x & 0xffff);
    Put16(v, x >> 16);
}
inline void PutId(std::vector<std::uint8_t>& v, const char* id) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(id[i]));
}

struct WavSpec {
    int tag = 1;
    int channels = 2;
    int rate = 44100;
    int bits = 16;
    int fmtExtra = 0;                       // bytes after the 16 of the fmt chunk
    std::vector<std::uint8_t> before;       // raw chunks between "fmt " and "data"
    std::int64_t declaredData = -1;         // the data chunk's length field (-1: the real one)
    bool dataChunk = true;
};

inline std::vector<std::uint8_t> MakeWav(const WavSpec& layout, const std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> v;
    PutId(v, "RIFF");
    Put32(v, 0);  // ignored by readers
    PutId(v, "WAVE");
    PutId(v, "fmt ");
    Put32(v, 16 + layout.fmtExtra);
    Put16(v, layout.tag);
    Put16(v, layout.channels);
    Put32(v, layout.rate);
    Put32(v, layout.rate * layout.channels * layout.bits / 8);
    Put16(v, layout.channels * layout.bits / 8);
    Put16(v, layout.bits);
    for (int i = 0; i < layout.fmtExtra; ++i) v.push_back(0xee);
    v.insert(v.end(), layout.before.begin(), layout.before.end());
    if (layout.dataChunk) {
        PutId(v, "data");
        Put32(v, layout.declaredData >= 0 ? static_cast<std::uint32_t>(layout.declaredData)
                                        : static_cast<std::uint32_t>(samples.size()));
        v.insert(v.end(), samples.begin(), samples.end());
    }
    return v;
}

// A chunk with an odd length is followed by a pad byte.
inline std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> v;
    PutId(v, id);
    Put32(v, static_cast<std::uint32_t>(body.size()));
    v.insert(v.end(), body.begin(), body.end());
    if (body.size() & 1) v.push_back(0);
    return v;
}

// A counting pattern: byte i is i mod 251, so positions can be checked.
inline std::vector<std::uint8_t> Ramp(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i % 251);
    return v;
}

// A sine as PCM samples of the given layout (amplitude 0.5).
inline std::vector<std::uint8_t> Sine(double hz, double seconds, int rate, int channels, int bits) {
    std::vector<std::uint8_t> v;
    auto frames = static_cast<std::size_t>(seconds * rate);
    for (std::size_t i = 0; i < frames; ++i) {
        double s = 0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) v.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * s)));
            else Put16(v, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(32767 * s))));
        }
    }
    return v;
}

// --- analysis --------------------------------------------------------------------

// The left channel of interleaved 16-bit frames, as -1..1.
inline std::vector<double> Left(const std::int16_t* samples, std::size_t frames, int channels = 2) {
    std::vector<double> out(frames);
    for (std::size_t i = 0; i < frames; ++i) out[i] = samples[i * static_cast<std::size_t>(channels)] / 32768.0;
    return out;
}
inline std::vector<double> Left(const std::vector<std::int16_t>& s, int channels = 2) {
    return Left(s.data(), s.size() / static_cast<std::size_t>(channels), channels);
}
inline std::vector<double> Slice(const std::vector<double>& x, double from, double to, int rate = 44100) {
    auto a = std::min(x.size(), static_cast<std::size_t>(from * rate));
    auto b = std::min(x.size(), static_cast<std::size_t>(to * rate));
    return std::vector<double>(x.begin() + static_cast<long>(a), x.begin() + static_cast<long>(b));
}

// Root mean square with the mean removed (the SID output has a DC offset).
inline double Rms(const std::vector<double>& x) {
    if (x.empty()) return 0;
    double mean = 0;
    for (double v : x) mean += v;
    mean /= static_cast<double>(x.size());
    double e = 0;
    for (double v : x) e += (v - mean) * (v - mean);
    return std::sqrt(e / static_cast<double>(x.size()));
}

inline double Db(double rms) { return 20 * std::log10(rms + 1e-12); }

// Goertzel: the power of one frequency in the signal.
inline double Power(const std::vector<double>& x, double hz, int rate = 44100) {
    double w = 2 * std::numbers::pi * hz / rate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (double v : x) {
        double s0 = v + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - c * s1 * s2) / static_cast<double>(x.size() * x.size());
}

// True when `hz` stands out clearly against the semitones around it: the
// expected note is playing, not a neighbour.
inline bool HasPitch(const std::vector<double>& x, double hz, int rate = 44100) {
    double p = Power(x, hz, rate);
    for (double k : {-2.0, -1.0, 1.0, 2.0})
        if (p < 8 * Power(x, hz * std::pow(2.0, k / 12.0), rate)) return false;
    return p > 1e-6;
}

// The longest stretch (in seconds) whose 10 ms windows are all below `db`.
inline double LongestQuiet(const std::vector<double>& x, double db, int rate = 44100) {
    const std::size_t win = static_cast<std::size_t>(rate / 100);
    double longest = 0, run = 0;
    for (std::size_t i = 0; i + win <= x.size(); i += win) {
        std::vector<double> w(x.begin() + static_cast<long>(i), x.begin() + static_cast<long>(i + win));
        if (Db(Rms(w)) < db) run += 0.01;
        else run = 0;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace musictest
