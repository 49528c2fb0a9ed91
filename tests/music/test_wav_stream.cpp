// The WAV music source: header checks and sample delivery.

#include <gtest/gtest.h>

#include <vector>

#include "music/wav_stream.h"
#include "music_test_util.h"

namespace {

using musictest::Chunk;
using musictest::MakeWav;
using musictest::Ramp;
using musictest::WavSpec;
using music::TWavStream;

music::Ref<TWavStream> Open(const std::vector<std::uint8_t>& bytes) {
    return TWavStream::Load(plat::CreateMemoryStream(bytes));
}

TEST(WavStream, FormatsAndHeaders) {
    struct Case { const char* what; WavSpec layout; int format; };
    auto layout = [](int channels, int bits) { WavSpec s; s.channels = channels; s.bits = bits; return s; };
    std::vector<Case> cases = {
        {"mono 8-bit", layout(1, 8), 200},
        {"mono 16-bit", layout(1, 16), 201},
        {"stereo 8-bit", layout(2, 8), 202},
        {"stereo 16-bit", layout(2, 16), 203},
        {"24-bit", layout(2, 24), 0},
        {"six channels", layout(6, 16), 0},
    };
    WavSpec floatTag;
    floatTag.tag = 3;
    cases.push_back({"float samples", floatTag, 0});
    WavSpec extended;
    extended.fmtExtra = 2;  // an 18-byte fmt chunk
    cases.push_back({"18-byte fmt", extended, 203});
    WavSpec listChunk;
    listChunk.before = Chunk("LIST", std::vector<std::uint8_t>(26, 'x'));
    cases.push_back({"LIST before data", listChunk, 203});
    WavSpec oddChunk;
    oddChunk.before = Chunk("junk", std::vector<std::uint8_t>(7, 'y'));  // padded to 8
    cases.push_back({"odd-sized chunk", oddChunk, 203});
    WavSpec oddFmt;
    oddFmt.fmtExtra = 3;  // odd fmt length: its pad byte follows
    cases.push_back({"odd-sized fmt", oddFmt, 203});

    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = MakeWav(c.layout, Ramp(1000));
        if (c.layout.fmtExtra == 3) bytes.insert(bytes.begin() + 12 + 8 + 19, 0);  // the pad byte
        auto wav = Open(bytes);
        if (!c.format) {
            EXPECT_EQ(wav, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(wav, nullptr) << c.what;
        EXPECT_EQ(wav->STREAM_FORMAT, c.format) << c.what;
        EXPECT_EQ(wav->SAMPLE_RATE, 44100) << c.what;
        EXPECT_EQ(wav->STREAM_SIZE, 1000) << c.what;
        std::vector<std::uint8_t> got(1000);
        wav->FillBuffer(got.data(), 1000);
        EXPECT_EQ(got, Ramp(1000)) << c.what << ": the data starts at the first sample";
    }
}

TEST(WavStream, RefusedOrShortFiles) {
    std::vector<std::uint8_t> good = MakeWav({}, Ramp(100));
    auto broken = [&](std::size_t at, const char* id) {
        std::vector<std::uint8_t> b = good;
        std::copy(id, id + 4, b.begin() + static_cast<long>(at));
        return b;
    };
    EXPECT_EQ(Open(broken(0, "RIFX")), nullptr);
    EXPECT_EQ(Open(broken(8, "AVI ")), nullptr);
    EXPECT_EQ(Open(broken(12, "fmt_")), nullptr);
    EXPECT_EQ(Open(std::vector<std::uint8_t>(good.begin(), good.begin() + 30)), nullptr) << "header cut short";
    EXPECT_EQ(Open({}), nullptr);
    EXPECT_EQ(TWavStream::Load(std::string("/nonexistent/x.wav")), nullptr);

    WavSpec noData;
    noData.dataChunk = false;
    auto wav = Open(MakeWav(noData, {}));
    ASSERT_NE(wav, nullptr);
    EXPECT_EQ(wav->STREAM_SIZE, 0);

    WavSpec claimsMore;
    claimsMore.declaredData = 100000;  // the file ends after 600 bytes of samples
    wav = Open(MakeWav(claimsMore, Ramp(600)));
    ASSERT_NE(wav, nullptr);
    EXPECT_EQ(wav->STREAM_SIZE, 600);
}

TEST(WavStream, LoopingSourceFillsEveryBufferFromTheLoopPoint) {
    auto wav = Open(MakeWav({}, Ramp(10000)));
    ASSERT_NE(wav, nullptr);
    std::vector<std::uint8_t> expect = Ramp(10000), buf(4096);
    std::size_t pos = 0;
    for (int call = 0; call < 7; ++call) {
        wav->FillBuffer(buf.data(), 4096);
        for (int i = 0; i < 4096; ++i, pos = (pos + 1) % 10000)
            ASSERT_EQ(buf[i], expect[pos]) << "call " << call << " byte " << i;
        EXPECT_EQ(wav->STREAM_POS, static_cast<int>(pos)) << "call " << call;
        EXPECT_EQ(wav->PlayStatus, 0) << "a source only reports what a stream set";
    }
    // A buffer larger than the whole data wraps more than once.
    std::vector<std::uint8_t> big(25000);
    wav->Stop();
    wav->FillBuffer(big.data(), 25000);
    for (std::size_t i = 0; i < big.size(); ++i) ASSERT_EQ(big[i], expect[i % 10000]) << i;
}

TEST(WavStream, NonLoopingSourceEndsWithSilenceAndRewinds) {
    for (int bits : {16, 8}) {
        WavSpec layout;
        layout.bits = bits;
        auto wav = Open(MakeWav(layout, Ramp(10000)));
        ASSERT_NE(wav, nullptr);
        wav->STREAM_LOOP = 0;
        wav->PlayStatus = 1;
        std::vector<std::uint8_t> buf(4096, 0x55);
        wav->FillBuffer(buf.data(), 4096);
        wav->FillBuffer(buf.data(), 4096);
        EXPECT_EQ(wav->PlayStatus, 1);
        std::fill(buf.begin(), buf.end(), 0x55);
        wav->FillBuffer(buf.data(), 4096);
        EXPECT_EQ(wav->PlayStatus, 0);
        EXPECT_EQ(wav->STREAM_POS, 0) << "rewound";
        std::vector<std::uint8_t> expect = Ramp(10000);
        for (int i = 0; i < 1808; ++i) ASSERT_EQ(buf[i], expect[8192 + i]);
        const std::uint8_t silence = bits == 8 ? 0x80 : 0;  // 8-bit samples are unsigned
        for (int i = 1808; i < 4096; ++i) ASSERT_EQ(buf[i], silence) << bits << "-bit, byte " << i;
        // After the end the next fill starts again at the first sample.
        wav->FillBuffer(buf.data(), 10);
        EXPECT_EQ(std::vector<std::uint8_t>(buf.begin(), buf.begin() + 10), std::vector<std::uint8_t>(expect.begin(), expect.begin() + 10));
    }
}

TEST(WavStream, EmptyDataNeverHangsAndLengthZeroDoesNothing) {
    WavSpec noData;
    noData.dataChunk = false;
    auto wav = Open(MakeWav(noData, {}));
    ASSERT_NE(wav, nullptr);
    wav->PlayStatus = 1;
    std::vector<std::uint8_t> buf(512, 0x55);
    wav->FillBuffer(buf.data(), 0);
    EXPECT_EQ(buf[0], 0x55);
    wav->FillBuffer(buf.data(), 512);  // looping, but nothing to loop over
    EXPECT_EQ(buf, std::vector<std::uint8_t>(512, 0));
    EXPECT_EQ(wav->PlayStatus, 0);
}

}  // namespace
