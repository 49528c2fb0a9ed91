// The SID emulation set up as the standard console player sets it up: a song
// renders the same on every load of a program, whatever else the program
// does, and at the level that player renders it, for our tunes and for a
// test tune on either chip model and on two chips.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "music/sid_stream.h"
#include "music/wav_stream.h"
#include "music_test_util.h"

namespace {

using namespace musictest;

struct Song {
    std::string path;
    std::uint16_t song;
    std::string what;
};

std::string EmulationTune(const char* name) { return std::string(MUSIC_EMULATION_DIR) + "/" + name; }

const std::vector<Song>& Songs() {
    static const std::vector<Song> songs = {
        {GameTunePath("Nova.sid"), 1, "Nova song 1"},
        {GameTunePath("Velm.sid"), 1, "Velm song 1"},
        {GameTunePath("Velm.sid"), 3, "Velm song 3"},
        {EmulationTune("1x6581.sid"), 1, "6581, filter sweep"},
        {EmulationTune("1x6581.sid"), 2, "6581, sampled drum"},
        {EmulationTune("1x8580.sid"), 1, "8580, filter sweep"},
        {EmulationTune("1x8580.sid"), 2, "8580, sampled drum"},
        {EmulationTune("2x8580.sid"), 1, "two 8580s, filter sweeps"},
    };
    return songs;
}

// `seconds` of a fresh load of the song, 44.1 kHz stereo.
std::vector<std::int16_t> Render(const Song& s, double seconds) {
    auto sid = music::SIDStream::Load(s.path, s.song, 44100, 203, 1);
    if (!sid) return {};
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(seconds * 44100) * 2);
    sid->FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
    return pcm;
}

std::vector<double> Channel(const std::vector<std::int16_t>& pcm, int channel) {
    std::vector<double> out(pcm.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = pcm[2 * i + static_cast<std::size_t>(channel)] / 32768.0;
    return out;
}

std::vector<int> Draws(int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(std::rand());
    return v;
}

TEST(SidEmulation, ASongRendersTheSameOnEveryLoad) {
    std::vector<std::vector<std::int16_t>> first;
    for (const Song& s : Songs()) {
        first.push_back(Render(s, 2.0));
        ASSERT_FALSE(first.back().empty()) << s.what;
    }
    // Later loads, in the other order, with the program drawing from the
    // shared random generator in between, as the game does.
    std::srand(20260101);
    for (std::size_t i = Songs().size(); i-- > 0;) {
        Draws(1000);
        EXPECT_TRUE(Render(Songs()[i], 2.0) == first[i]) << Songs()[i].what;
    }
}

TEST(SidEmulation, RenderingLeavesTheProgramsRandomDrawsAlone) {
    std::srand(77);
    const std::vector<int> expected = Draws(20);
    std::srand(77);
    std::vector<int> drawn = Draws(10);
    Render(Songs()[3], 0.5);
    for (int v : Draws(10)) drawn.push_back(v);
    EXPECT_EQ(drawn, expected);
}

// The console player renders into a WAV file; its own settings are kept in
// a folder of the test's so that a user's settings change nothing.
std::vector<std::int16_t> ReferenceRender(const Song& s, int seconds, const TempDir& dir) {
    const std::string wav = dir / "reference.wav";
    const std::string command = "HOME='" + dir.path() + "' XDG_CONFIG_HOME='" + dir.path() +
                                "' sidplayfp --resid -rif -s -q -t" + std::to_string(seconds) + " -o" +
                                std::to_string(s.song) + " -w'" + wav + "' '" + s.path + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    auto source = music::TWavStream::Load(wav);
    if (!source || source->STREAM_FORMAT != music::FORMAT_STEREO16 || source->SAMPLE_RATE != 44100) return {};
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(source->STREAM_SIZE) / 2);
    source->FillBuffer(pcm.data(), static_cast<int>(pcm.size() * 2));
    return pcm;
}

TEST(SidEmulation, LevelsAgreeWithTheStandardConsolePlayer) {
    if (std::system("command -v sidplayfp >/dev/null 2>&1") != 0) GTEST_SKIP() << "sidplayfp is not installed";
    TempDir dir;
    // Past the first half second, where the console player starts each tune
    // a random number of cycles after power-on.
    const double from = 0.5, to = 4.0;
    for (const Song& s : Songs()) {
        const auto ours = Render(s, to);
        const auto theirs = ReferenceRender(s, static_cast<int>(to), dir);
        ASSERT_GE(theirs.size(), ours.size()) << s.what << ": the console player rendered nothing";
        for (int channel = 0; channel < 2; ++channel) {
            const double a = Rms(Slice(Channel(ours, channel), from, to));
            const double b = Rms(Slice(Channel(theirs, channel), from, to));
            EXPECT_GT(b, 1e-4) << s.what << ": the reference is silent";
            EXPECT_NEAR(a / b, 1.0, 0.03) << s.what << ", channel " << channel << ": " << Db(a) << " dB against "
                                          << Db(b) << " dB";
        }
    }
}

}  // namespace
