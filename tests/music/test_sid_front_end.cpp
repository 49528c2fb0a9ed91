// The music front end, driven as the game drives it.

#include <gtest/gtest.h>

#include "loopback_fixture.h"
#include "music/sid_stream.h"
#include "music_test_util.h"

namespace {

using namespace musictest;
using music::SidAudioStream;

using SidFrontEnd = LoopbackTest;

TEST_F(SidFrontEnd, LoadPlaysTheSongAskedForOrSongOne) {
    SidAudioStream music;
    struct Case { std::uint16_t track; std::uint16_t plays; double hz; };
    const Case cases[] = {{3, 3, kE5}, {2, 2, kD3}, {0, 1, kA4}, {99, 1, kA4}};
    for (const Case& c : cases) {
        ASSERT_EQ(music.Load(TonesPath(), c.track, 1, 1.0f, 1.0f), 1);
        EXPECT_EQ(music.CurrentTrack(), c.plays);
        EXPECT_EQ(music.GetTrackCount(), 5);
        EXPECT_EQ(music.IsPaused(), 0);
        auto out = Run(0.8);
        EXPECT_TRUE(HasPitch(Slice(out, 0.2, 0.8), c.hz)) << "track " << c.track;
    }
}

TEST_F(SidFrontEnd, WithoutAutoplayItWaitsRewoundForPlay) {
    SidAudioStream music;
    ASSERT_EQ(music.Load(TonesPath(), 4, 0, 1.0f, 1.0f), 1);
    EXPECT_LT(Db(Rms(Run(1.0))), -60);
    music.Play();
    auto out = Run(0.4);
    EXPECT_TRUE(HasPitch(Slice(out, 0.05, 0.4), kC5)) << "from the beginning";
}

TEST_F(SidFrontEnd, PauseThenPlayContinues) {
    SidAudioStream music;
    music.Load(TonesPath(), 1, 1, 1.0f, 1.0f);
    Run(0.5);
    auto stream = SidAudioStream::CurrentStream();
    music.Pause();
    EXPECT_EQ(music.IsPaused(), 1);
    EXPECT_LT(Db(Rms(Slice(Run(1.0), 0.02, 1.0))), -60);
    music.Play();
    EXPECT_EQ(music.IsPaused(), 1) << "only Stop and a new stream clear it";
    EXPECT_EQ(SidAudioStream::CurrentStream(), stream) << "the same stream goes on";
    EXPECT_TRUE(HasPitch(Slice(Run(0.5), 0.05, 0.5), kA4));
    music.Stop();
    EXPECT_EQ(music.IsPaused(), 0);
}

TEST_F(SidFrontEnd, RestartAndStopRewindTheSong) {
    SidAudioStream music;
    music.Load(TonesPath(), 4, 1, 1.0f, 1.0f);
    EXPECT_TRUE(HasPitch(Slice(Run(1.5), 1.0, 1.5), kG5));
    music.Restart();
    EXPECT_TRUE(HasPitch(Slice(Run(0.4), 0.05, 0.4), kC5));
    Run(1.0);
    music.Stop();
    EXPECT_LT(Db(Rms(Slice(Run(0.5), 0.02, 0.5))), -60);
    music.Play();
    EXPECT_TRUE(HasPitch(Slice(Run(0.4), 0.05, 0.4), kC5));
}

TEST_F(SidFrontEnd, SelectTrackSwitchesOrLeavesTheSongPlaying) {
    SidAudioStream music;
    music.Load(TonesPath(), 4, 1, 1.0f, 1.0f);
    Run(1.0);
    EXPECT_EQ(music.SelectTrack(9), 0);
    EXPECT_EQ(music.CurrentTrack(), 4);
    EXPECT_TRUE(HasPitch(Slice(Run(1.0), 0.0, 1.0), kG5)) << "song 4 went on, not restarted";
    // A selection restarts the tune at once; the queued sound plays out first.
    EXPECT_EQ(music.SelectTrack(3), 1);
    EXPECT_TRUE(HasPitch(Slice(Run(1.5), 0.9, 1.5), kE5));
}

TEST_F(SidFrontEnd, VolumeGivenToLoadReachesOnlyTheStoppedStream) {
    SidAudioStream music;
    music.Load(TonesPath(), 1, 1, 0.5f, 1.0f);
    double loaded = Rms(Slice(Run(0.6), 0.1, 0.6));
    music.SetVolume(1.0f);
    double full = Rms(Slice(Run(0.6), 0.1, 0.6));
    EXPECT_NEAR(loaded / full, 1.0, 0.05) << "the stream Play made starts at full volume";
    music.SetVolume(0.5f);
    EXPECT_NEAR(Rms(Slice(Run(0.6), 0.1, 0.6)) / full, 0.5, 0.05);
    music.SetHertz(2.0f);
    EXPECT_TRUE(HasPitch(Slice(Run(0.6), 0.1, 0.6), 2 * kA4));
}

TEST_F(SidFrontEnd, ASecondLoadStopsTheFirstTune) {
    SidAudioStream music;
    music.Load(TonesPath(), 1, 1, 1.0f, 1.0f);
    Run(0.5);
    auto first = SidAudioStream::CurrentStream();
    music.Load(TonesPath(), 3, 1, 1.0f, 1.0f);
    EXPECT_EQ(first->Music, nullptr) << "the first stream was stopped";
    auto out = Slice(Run(1.0), 0.1, 1.0);
    EXPECT_TRUE(HasPitch(out, kE5));
    EXPECT_LT(Power(out, kA4), Power(out, kE5) / 1000) << "the first tune is silent";
}

TEST_F(SidFrontEnd, AnEmptyFrontEndDoesNothing) {
    SidAudioStream music;
    auto everything = [&] {
        music.Play();
        music.Pause();
        music.Stop();
        music.Restart();
        music.SetHertz(2.0f);
        music.SetVolume(0.5f);
        EXPECT_EQ(music.IsPaused(), 0);
        EXPECT_EQ(music.GetTrackCount(), 0);
        EXPECT_EQ(music.CurrentTrack(), 0);
        EXPECT_EQ(music.SelectTrack(1), 0);
        EXPECT_EQ(SidAudioStream::CurrentStream(), nullptr);
        EXPECT_LT(Db(Rms(Slice(Run(0.2), 0.02, 0.2))), -60);
        music.Dispose();
    };
    everything();  // never loaded

    music.Load(TonesPath(), 1, 1, 1.0f, 1.0f);
    Run(0.2);
    music.Dispose();
    everything();  // disposed

    TempDir dir;
    WriteBytes(dir / "empty.sid", {});
    music.Load(TonesPath(), 1, 1, 1.0f, 1.0f);
    EXPECT_EQ(music.Load(dir / "empty.sid", 1, 1, 1.0f, 1.0f), 0);
    EXPECT_EQ(SidAudioStream::CurrentSource(), nullptr);
    everything();  // a failed load
    WriteBytes(dir / "tone.wav", MakeWav({}, Sine(440, 0.2, 44100, 2, 16)));
    EXPECT_EQ(music.Load(dir / "tone.wav", 1, 1, 1.0f, 1.0f), 0) << "a WAV is no SID tune";
    everything();
}

TEST_F(SidFrontEnd, WithoutASoundDeviceTheTuneIsThereButSilent) {
    EXPECT_FALSE(plat::SetAudioDriver("DirectSound"));  // no such driver here: "None"
    SidAudioStream music;
    ASSERT_EQ(music.Load(TonesPath(), 2, 1, 1.0f, 1.0f), 1);
    EXPECT_EQ(SidAudioStream::CurrentStream(), nullptr);
    EXPECT_EQ(music.GetTrackCount(), 5);
    EXPECT_EQ(music.CurrentTrack(), 2);
    music.Pause();
    music.Play();
    music.Restart();
    music.SetVolume(0.5f);
    music.SetHertz(1.5f);
    EXPECT_EQ(music.SelectTrack(3), 1);
    music.Stop();
    music.Dispose();
}

// The program busy for longer than the queue (a screen loading on a slow
// machine): the device plays the queue out and the stream runs dry until the
// next tick refills it.  It is still the playing stream, which a Play (as
// the title's start makes) leaves alone; a paused one is not playing.
TEST_F(SidFrontEnd, AStreamThatRanDryIsStillPlaying) {
    SidAudioStream music;
    music.Load(TonesPath(), 4, 1, 1.0f, 1.0f);  // C-5, then G-5 from 0.48 s
    Run(0.2);
    auto stream = SidAudioStream::CurrentStream();
    plat::RenderLoopback(44100);  // a second of sound mixed, no tick
    EXPECT_TRUE(stream->Playing());
    music.Play();
    EXPECT_EQ(SidAudioStream::CurrentStream(), stream);
    EXPECT_TRUE(HasPitch(Slice(Run(0.4), 0.05, 0.4), kG5)) << "the tune went on";
    music.Pause();
    plat::RenderLoopback(44100);
    EXPECT_FALSE(stream->Playing());
}

// The game's calls, screen by screen, on its own tunes.
TEST_F(SidFrontEnd, TheGamesSequence) {
    SidAudioStream music;
    // intro: the loader tune ready but silent, then played, then dropped
    ASSERT_EQ(music.Load(GameTunePath("Nova.sid"), 1, 1, 1.0f, 1.0f), 1);
    music.Stop();
    EXPECT_LT(Db(Rms(Slice(Run(0.3), 0.02, 0.3))), -60);
    music.Play();
    EXPECT_GT(Db(Rms(Slice(Run(2.0), 0.5, 2.0))), -35);
    music.Stop();
    music.Dispose();
    ASSERT_EQ(music.Load(GameTunePath("Velm.sid"), 1, 1, 1.0f, 1.0f), 1);
    music.Stop();
    EXPECT_EQ(music.GetTrackCount(), 3);
    // title, then an area: restart, a death (pause), the respawn (play)
    music.Play();
    EXPECT_GT(Db(Rms(Slice(Run(1.0), 0.3, 1.0))), -35);
    music.Stop();
    music.Restart();
    EXPECT_GT(Db(Rms(Slice(Run(1.0), 0.3, 1.0))), -35);
    music.Pause();
    EXPECT_LT(Db(Rms(Slice(Run(0.5), 0.02, 0.5))), -60);
    music.Play();
    EXPECT_GT(Db(Rms(Slice(Run(1.0), 0.3, 1.0))), -35);
    // area complete: the jingle, then back to the march
    music.Stop();
    EXPECT_EQ(music.SelectTrack(3), 1);
    music.Play();
    EXPECT_GT(Db(Rms(Slice(Run(2.0), 0.3, 2.0))), -35);
    EXPECT_EQ(music.SelectTrack(1), 1);
    // name entry, then the high-score table
    music.Stop();
    EXPECT_EQ(music.SelectTrack(2), 1);
    music.Play();
    EXPECT_GT(Db(Rms(Slice(Run(2.0), 0.3, 2.0))), -35);
    music.Stop();
    EXPECT_EQ(music.SelectTrack(1), 1);
    EXPECT_EQ(music.CurrentTrack(), 1);
}

}  // namespace
