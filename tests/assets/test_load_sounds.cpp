// Every sample through the platform's sample loader as the sound bank loads
// it, and played once through OpenAL (loopback device): it sounds, and it
// stops at its end (the game plays every sample without looping).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "load_fixture.h"
#include "platform/audio/audio.h"

namespace {

using namespace loadtest;

// The sound bank's folder and the files the game loads into it.
constexpr const char* kSoundPath = "Data/sound/";
const char* const kSamples[] = {"ns.wav",   "snd2.wav", "snd3.wav", "snd4.wav", "snd5.wav",
                                "snd6.wav", "snd7.wav", "snd8.wav", "snd9.wav"};

struct WavHeader {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::uint32_t dataBytes = 0;
    bool ok = false;
};

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

// What the file says of itself, read here independently of the loader.
WavHeader ReadHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavHeader h;
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return h;
    bool fmt = false, data = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        if (id == "fmt " && size >= 16 && at + 24 <= b.size()) {
            h.format = static_cast<int>(Le(b, at + 8, 2));
            h.channels = static_cast<int>(Le(b, at + 10, 2));
            h.rate = static_cast<int>(Le(b, at + 12, 4));
            h.bits = static_cast<int>(Le(b, at + 22, 2));
            fmt = true;
        } else if (id == "data") {
            h.dataBytes = size;
            data = at + 8 + size <= b.size();
        }
        at += 8 + size + (size & 1);
    }
    h.ok = fmt && data;
    return h;
}

using SoundsLoad = InProgramFolder;

TEST_F(SoundsLoad, EverySampleIsPcmTheLoaderReadsWhole) {
    for (const char* file : kSamples) {
        SCOPED_TRACE(file);
        const std::string path = std::string(kSoundPath) + file;
        const WavHeader h = ReadHeader(path);
        ASSERT_TRUE(h.ok) << "not a complete RIFF WAVE file";
        EXPECT_EQ(h.format, 1) << "PCM";
        auto sound = plat::LoadSound(path, 0);
        ASSERT_NE(sound, nullptr) << "the sample loader refuses it";
        EXPECT_EQ(sound->rate, h.rate);
        EXPECT_EQ(sound->channels, h.channels);
        EXPECT_EQ(sound->bits, h.bits);
        EXPECT_EQ(sound->bits, 16);
        EXPECT_TRUE(sound->rate == 22050 || sound->rate == 44100) << sound->rate;
        EXPECT_EQ(sound->flags, 0) << "not looping";
        ASSERT_GT(h.channels * h.bits, 0);
        EXPECT_EQ(sound->Frames(), static_cast<int>(h.dataBytes / static_cast<std::uint32_t>(h.channels * h.bits / 8)))
            << "every sample frame of the file";
    }
    // The tape-loader noise outlasts the 6.5 s of its intro step.
    auto ns = plat::LoadSound(std::string(kSoundPath) + "ns.wav", 0);
    ASSERT_NE(ns, nullptr);
    EXPECT_GE(ns->Frames(), 7 * ns->rate);
}

TEST_F(SoundsLoad, EverySampleSoundsAndEndsThroughOpenAL) {
    constexpr int kRate = 44100;
    ASSERT_TRUE(plat::OpenLoopbackAudio(kRate, 2)) << "no OpenAL loopback device";
    for (const char* file : kSamples) {
        SCOPED_TRACE(file);
        auto sound = plat::LoadSound(std::string(kSoundPath) + file, 0);
        ASSERT_NE(sound, nullptr);
        auto channel = plat::PlaySound(sound);
        ASSERT_NE(channel, nullptr);
        const int length = static_cast<int>(static_cast<long long>(sound->Frames()) * kRate / sound->rate);
        int filePeak = 0;
        for (std::size_t i = 0; i + 1 < sound->data.size(); i += 2)
            filePeak = std::max(filePeak, std::abs(static_cast<int>(static_cast<std::int16_t>(
                                              sound->data[i] | (sound->data[i + 1] << 8)))));
        auto during = plat::RenderLoopback(length);
        int peak = 0;
        for (std::int16_t s : during) peak = std::max(peak, std::abs(static_cast<int>(s)));
        // A mono source at the centre reaches each side somewhat softer.
        EXPECT_GT(peak, filePeak / 3) << "played far softer than recorded (" << filePeak << ")";
        EXPECT_GT(peak, 1000) << "hardly audible when played";
        // A little past its end the channel is done and silent.
        auto after = plat::RenderLoopback(kRate / 10);
        int rest = 0;
        for (std::size_t i = after.size() / 2; i < after.size(); ++i)
            rest = std::max(rest, std::abs(static_cast<int>(after[i])));
        EXPECT_LT(rest, 64) << "still sounding after its end";
        EXPECT_FALSE(plat::ChannelPlaying(channel)) << "still playing after its end";
        plat::StopChannel(channel);
    }
    plat::ShutdownAudio();
}

}  // namespace
