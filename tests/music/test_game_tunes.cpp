// The game's tunes: built from our own driver and songs, as PSID files the
// player library plays for as long as a screen needs them.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
        // Init is entered through a jump that ends the file (so that any cut
        // of the file cuts into it), to where the jump at $1000 goes.
        const std::size_t last = b.size() - 3;
        EXPECT_EQ(Be16(b, 0x0a), 0x1000 + (last - 0x7e)) << "init";
        EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + static_cast<long>(last), b.end()),
                  std::vector<std::uint8_t>(b.begin() + 0x7e, b.begin() + 0x81));
        EXPECT_EQ(b[last], 0x4c) << "a jump";
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

// The engine starts a tune after a wait of its own choosing unless it is
// given one: the first load of a song in a fresh program, as every test and
// every run of the game meets it, must sound the same each time.  Two runs
// of this test program render it and print a checksum of the sound.
TEST(GameTunes, EveryRunOfTheProgramRendersASongTheSame) {
    if (std::getenv("VELMAROK_TUNE_CHECKSUM")) {
        auto sid = music::SIDStream::Load(TonesPath(), 5, 44100, 203, 1);
        ASSERT_NE(sid, nullptr);
        std::vector<std::int16_t> pcm(44100 / 2 * 2);
        sid->FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
        std::uint64_t hash = 1469598103934665603ull;
        for (std::int16_t v : pcm) hash = (hash ^ static_cast<std::uint16_t>(v)) * 1099511628211ull;
        std::printf("checksum %016llx\n", static_cast<unsigned long long>(hash));
        return;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string cmd = "VELMAROK_TUNE_CHECKSUM=1 '" + self +
                            "' --gtest_filter=GameTunes.EveryRunOfTheProgramRendersASongTheSame 2>/dev/null";
    std::vector<std::string> sums;
    for (int run = 0; run < 2; ++run) {
        FILE* out = ::popen(cmd.c_str(), "r");
        ASSERT_NE(out, nullptr);
        char line[256];
        std::string sum;
        while (std::fgets(line, sizeof line, out))
            if (std::strncmp(line, "checksum ", 9) == 0) sum = line + 9;
        EXPECT_EQ(::pclose(out), 0);
        ASSERT_FALSE(sum.empty()) << "run " << run << " printed no checksum";
        sums.push_back(sum);
    }
    EXPECT_EQ(sums[0], sums[1]);
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
