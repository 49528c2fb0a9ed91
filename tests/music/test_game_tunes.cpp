// The game's tunes: built from our own driver and songs, as PSID files the
// player library plays for as long as a screen needs them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "music/sid_stream.h"
#include "music_test_util.h"

namespace {

using namespace musictest;

unsigned Be16(const std::vector<std::uint8_t>& b, std::size_t at) { return (unsigned(b[at]) << 8) | b[at + 1]; }
std::string Text(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::string s(reinterpret_cast<const char*>(b.data() + at), 32);
    return s.substr(0, s.find('\0'));
}

TEST(GameTunes, PsidHeaders) {
    struct Case { const char* file; unsigned songs; const char* name; };
    const Case cases[] = {{"Nova.sid", 1, "Velmarok Dozidu: Nova"}, {"Velm.sid", 3, "Velmarok Dozidu"}};
    for (const Case& c : cases) {
        auto b = ReadBytes(GameTunePath(c.file));
        ASSERT_GT(b.size(), 0x100u) << c.file;
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "PSID");
        EXPECT_EQ(Be16(b, 0x04), 2u) << "version";
        EXPECT_EQ(Be16(b, 0x06), 0x7cu) << "data offset";
        EXPECT_EQ(Be16(b, 0x08), 0u) << "load address in the data";
        EXPECT_EQ(b[0x7c] | (b[0x7d] << 8), 0x1000) << "loaded at $1000";
        EXPECT_EQ(Be16(b, 0x0a), 0x1000u) << "init";
        EXPECT_EQ(Be16(b, 0x0c), 0x1003u) << "play";
        EXPECT_EQ(Be16(b, 0x0e), c.songs);
        EXPECT_EQ(Be16(b, 0x10), 1u) << "start song";
        EXPECT_EQ(Be16(b, 0x12) | Be16(b, 0x14), 0u) << "every song on the 50 Hz frame";
        EXPECT_EQ(Text(b, 0x16), c.name);
        EXPECT_EQ(Text(b, 0x36), "RavoTesk Games");
        EXPECT_EQ(Be16(b, 0x76), 0x14u) << "PAL, 6581";
        EXPECT_TRUE(music::PlausibleSidHeader(b.data(), b.size()));
    }
}

TEST(GameTunes, AssemblyIsReproducible) {
    TempDir dir;
    for (const char* tune : {"nova", "velm"}) {
        for (int run = 0; run < 2; ++run) {
            std::string out = dir / (std::string(tune) + std::to_string(run) + ".sid");
            std::string cmd = std::string("cd '") + MUSIC_ASSETS_DIR + "' && '" + MUSIC_ACME + "' -f plain -o '" + out +
                              "' " + tune + ".a";
            ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        }
        auto first = ReadBytes(dir / (std::string(tune) + "0.sid"));
        EXPECT_EQ(first, ReadBytes(dir / (std::string(tune) + "1.sid"))) << tune;
        std::string built = std::string(tune) == "nova" ? "Nova.sid" : "Velm.sid";
        EXPECT_EQ(first, ReadBytes(GameTunePath(built))) << "the build made the same bytes";
    }
}

TEST(GameTunes, TheDriverEndsAChordWithItsPattern) {
    auto sid = music::SIDStream::Load(TonesPath(), 5, 44100, 203, 1);
    ASSERT_NE(sid, nullptr);
    std::vector<std::int16_t> pcm(44100 * 2 * 2);
    sid->FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
    auto x = Left(pcm);
    auto chord = Slice(x, 0.05, 0.45), after = Slice(x, 0.8, 2.0);
    EXPECT_GT(Power(chord, 659.255), Power(after, 659.255) * 100) << "E-5 belongs to the arpeggio only";
    EXPECT_TRUE(HasPitch(after, kA4));
    EXPECT_LT(Power(after, 659.255), Power(after, kA4) / 1000) << "the next pattern plays its note alone";
}

// Every song sounds from start to finish: no gap, no clipping, a sensible
// level, through its loop points.
struct SongCase {
    const char* file;
    std::uint16_t song;
    double seconds;
};

void PrintTo(const SongCase& c, std::ostream* os) { *os << c.file << " song " << c.song; }

class EverySong : public ::testing::TestWithParam<SongCase> {};

TEST_P(EverySong, PlaysOnWithoutGaps) {
    const SongCase& c = GetParam();
    auto sid = music::SIDStream::Load(GameTunePath(c.file), c.song, 44100, 203, 1);
    ASSERT_NE(sid, nullptr);
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(c.seconds * 44100) * 2);
    sid->FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
    auto x = Left(pcm);
    double peak = 0;
    for (double v : x) peak = std::max(peak, std::abs(v));
    EXPECT_LT(peak, 0.9) << "no clipping";
    double db = Db(Rms(x));
    EXPECT_GT(db, -30);
    EXPECT_LT(db, -12);
    EXPECT_LT(LongestQuiet(Slice(x, 0.1, c.seconds), -45), 0.6) << "a gap";
    for (double t = 0; t + 5 <= c.seconds; t += 5) EXPECT_GT(Db(Rms(Slice(x, t, t + 5))), -36) << "at " << t << " s";
}

INSTANTIATE_TEST_SUITE_P(GameTunes, EverySong,
                         ::testing::Values(SongCase{"Nova.sid", 1, 100.0},   // the intro plays it up to 100 s
                                           SongCase{"Velm.sid", 1, 175.0},   // the march, past its loop at 169 s
                                           SongCase{"Velm.sid", 2, 40.0},    // name entry, looping every 38 s
                                           SongCase{"Velm.sid", 3, 15.0}),   // the jingle, looping every 6.4 s
                         [](const ::testing::TestParamInfo<SongCase>& info) {
                             return std::string(info.param.file).substr(0, 4) + "Song" +
                                    std::to_string(info.param.song);
                         });

}  // namespace
