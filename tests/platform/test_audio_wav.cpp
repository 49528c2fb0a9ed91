#include <gtest/gtest.h>

#include <random>

#include "platform/audio/audio.h"
#include "test_audio_wav.h"
#include "test_io_tempdir.h"

using namespace plat;
using testutil::Sine16;
using testutil::WavBuilder;

namespace {
std::vector<std::uint8_t> Pcm(int n, std::uint8_t start = 1) {
    std::vector<std::uint8_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>(start + i));
    return v;
}
}  // namespace

TEST(Wav, ReadsPcmInEveryLayout) {
    struct Case {
        int channels, bits, dataBytes, frames;
    } cases[] = {{1, 8, 10, 10}, {2, 8, 10, 5}, {1, 16, 10, 5}, {2, 16, 12, 3}};
    for (const auto& c : cases) {
        auto bytes = WavBuilder().Fmt(1, c.channels, 22050, c.bits).Chunk("data", Pcm(c.dataBytes)).Bytes();
        auto s = DecodeWav(bytes, SOUND_LOOP);
        ASSERT_TRUE(s) << c.channels << "x" << c.bits;
        EXPECT_EQ(s->channels, c.channels);
        EXPECT_EQ(s->bits, c.bits);
        EXPECT_EQ(s->rate, 22050);
        EXPECT_EQ(s->flags, SOUND_LOOP);
        EXPECT_EQ(s->Frames(), c.frames);
        EXPECT_EQ(s->data, Pcm(c.dataBytes));
    }
}

TEST(Wav, SkipsOtherChunksWithTheirPadBytes) {
    // An odd-sized chunk before and after the sample data, and the format
    // chunk after the data: each is found where it is.
    auto bytes = WavBuilder()
                     .Chunk("LIST", Pcm(3, 0xEE))
                     .Chunk("data", Pcm(7))
                     .Chunk("junk", Pcm(5, 0xDD))
                     .Fmt(1, 1, 8000, 8)
                     .Bytes();
    auto s = DecodeWav(bytes);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->data, Pcm(7));
    EXPECT_EQ(s->rate, 8000);
}

TEST(Wav, TruncatedDataEndsWhereTheFileEnds) {
    // The data chunk claims 1000 bytes; 101 are there.  16-bit mono keeps the
    // 50 whole frames.
    auto bytes = WavBuilder().Fmt(1, 1, 44100, 16).Chunk("data", Pcm(101), 1000).Bytes();
    bytes.pop_back();  // the pad byte the builder added for 101
    auto s = DecodeWav(bytes);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Frames(), 50);
    EXPECT_EQ(s->data.size(), 100u);
    // A size field of 0xFFFFFFFF (a stream that never finished its header).
    auto endless = WavBuilder().Fmt(1, 2, 44100, 16).Chunk("data", Pcm(16), 0xFFFFFFFE).Bytes();
    auto e = DecodeWav(endless);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Frames(), 4);
}

TEST(Wav, ExtensibleFormatCountsWhenItIsPcm) {
    auto pcm = WavBuilder().SubFormat(1).Fmt(0xFFFE, 2, 44100, 16).Chunk("data", Pcm(8)).Bytes();
    ASSERT_TRUE(DecodeWav(pcm));
    EXPECT_EQ(DecodeWav(pcm)->channels, 2);
    auto floats = WavBuilder().SubFormat(3).Fmt(0xFFFE, 2, 44100, 16).Chunk("data", Pcm(8)).Bytes();
    EXPECT_EQ(DecodeWav(floats), nullptr);
}

TEST(Wav, RejectsWhatIsNotPlainPcm) {
    struct Case {
        const char* why;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"float samples", WavBuilder().Fmt(3, 1, 44100, 32).Chunk("data", Pcm(8)).Bytes()},
        {"ADPCM", WavBuilder().Fmt(2, 1, 44100, 4).Chunk("data", Pcm(8)).Bytes()},
        {"24 bits", WavBuilder().Fmt(1, 1, 44100, 24).Chunk("data", Pcm(9)).Bytes()},
        {"six channels", WavBuilder().Fmt(1, 6, 44100, 16).Chunk("data", Pcm(12)).Bytes()},
        {"no channels", WavBuilder().Fmt(1, 0, 44100, 16).Chunk("data", Pcm(12)).Bytes()},
        {"rate 0", WavBuilder().Fmt(1, 1, 0, 16).Chunk("data", Pcm(12)).Bytes()},
        {"no format", WavBuilder().Chunk("data", Pcm(8)).Bytes()},
        {"no data", WavBuilder().Fmt(1, 1, 44100, 16).Bytes()},
        {"short format", WavBuilder().Chunk("fmt ", Pcm(10)).Chunk("data", Pcm(8)).Bytes()},
        {"empty", {}},
        {"not RIFF", std::vector<std::uint8_t>{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        {"not WAVE", std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeWav(c.bytes), nullptr) << c.why;
    // A format chunk cut off by the end of the file.
    auto cut = WavBuilder().Fmt(1, 1, 44100, 16).Bytes();
    cut.resize(12 + 8 + 10);
    EXPECT_EQ(DecodeWav(cut), nullptr);
}

TEST(Wav, DamagedFilesNeverCrash) {
    auto good = WavBuilder().Chunk("LIST", Pcm(3)).Fmt(1, 2, 44100, 16).Chunk("data", Sine16(64, 2, 1000)).Bytes();
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        auto bytes = good;
        int edits = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < edits; ++i) bytes[rng() % bytes.size()] = static_cast<std::uint8_t>(rng());
        if (rng() % 3 == 0) bytes.resize(rng() % bytes.size());
        auto s = DecodeWav(bytes);
        if (s) {
            EXPECT_LE(s->data.size(), bytes.size());
            EXPECT_EQ(s->data.size() % static_cast<std::size_t>(s->channels * s->bits / 8), 0u);
        }
    }
}

TEST(Wav, LoadSoundReadsFilesAndRefusesMissingOnes) {
    testutil::TempDir tmp;
    auto bytes = WavBuilder().Fmt(1, 1, 11025, 8).Chunk("data", Pcm(4)).Bytes();
    tmp.Put("Data/Sound/shot.wav", std::string(bytes.begin(), bytes.end()));
    auto s = LoadSound(tmp / "data/sound/SHOT.wav");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Frames(), 4);
    EXPECT_EQ(LoadSound(tmp / "data/sound/none.wav"), nullptr);
    tmp.Put("Data/Sound/text.wav", "not a sound");
    EXPECT_EQ(LoadSound(tmp / "Data/Sound/text.wav"), nullptr);
}
