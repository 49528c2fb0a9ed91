// Audio streams: refilled from the stream timer, in every source format,
// paused, stopped, and on drivers without OpenAL.

#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <limits>

#include "loopback_fixture.h"
#include "music/audio_stream.h"
#include "music/sid_stream.h"
#include "music/wav_stream.h"
#include "music_test_util.h"

namespace {

using namespace musictest;
using music::Ref;
using music::TAudioStream;

Ref<music::TMusic> Tone(std::uint16_t song) { return music::SIDStream::Load(TonesPath(), song, 44100, 203, 1); }

Ref<music::TMusic> WavFile(const TempDir& dir, const std::string& name, const WavSpec& layout,
                           const std::vector<std::uint8_t>& samples) {
    WriteBytes(dir / name, MakeWav(layout, samples));
    return music::TWavStream::Load(dir / name);
}

using AudioStream = LoopbackTest;

TEST_F(AudioStream, TheTimerKeepsTheQueueFull) {
    auto source = plat::New<CountingMusic>(Tone(1));
    auto stream = music::CreateAudioStream(source, 1, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->KeepMusic, 1);
    EXPECT_TRUE(plat::Is<music::TOpenALAudioStream>(stream));
    EXPECT_EQ(source->pulled, 16 * 8192) << "the whole queue is filled before it starts";
    EXPECT_TRUE(stream->Playing()) << "created playing: it starts on the first tick";

    int notPlaying = 0;
    auto out = Run(3.0, [&] { notPlaying += stream->Playing() ? 0 : 1; });
    EXPECT_EQ(notPlaying, 0);
    auto* al = static_cast<music::TOpenALAudioStream*>(stream.get());
    ALint queued = 0;
    alGetSourcei(al->_source, AL_BUFFERS_QUEUED, &queued);
    EXPECT_EQ(queued, 16);
    // What was pulled is what was played plus one queue.
    EXPECT_NEAR(static_cast<double>(source->pulled), 3.0 * 176400 + 16 * 8192, 2 * 8192);
    EXPECT_LT(LongestQuiet(Slice(out, 0.05, 3.0), -40), 0.02) << "no gap";
    for (double t = 0.1; t < 2.9; t += 0.5) EXPECT_TRUE(HasPitch(Slice(out, t, t + 0.5), kA4)) << t;
}

TEST_F(AudioStream, EverySourceFormatPlaysAtItsOwnRate) {
    TempDir dir;
    struct Case { int channels, bits, rate; double hz; };
    const Case cases[] = {{1, 8, 22050, 440}, {1, 16, 11025, 330}, {2, 8, 44100, 550}, {2, 16, 32000, 660}};
    for (const Case& c : cases) {
        WavSpec layout;
        layout.channels = c.channels;
        layout.bits = c.bits;
        layout.rate = c.rate;
        auto stream = music::CreateAudioStream(WavFile(dir, "t.wav", layout, Sine(c.hz, 1.0, c.rate, c.channels, c.bits)), 1, 0);
        ASSERT_NE(stream, nullptr);
        auto out = Run(1.0);
        EXPECT_TRUE(HasPitch(Slice(out, 0.1, 1.0), c.hz)) << c.channels << " channels, " << c.bits << " bits, " << c.rate;
        stream->Stop();
    }
}

TEST_F(AudioStream, ANonLoopingSourcePlaysOutThenTheStreamStops) {
    TempDir dir;
    WavSpec layout;
    layout.channels = 1;
    auto wav = WavFile(dir, "short.wav", layout, Sine(440, 0.3, 44100, 1, 16));
    auto stream = music::CreateAudioStream(wav, 0, 0);  // far shorter than the queue
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(wav->PlayStatus, 0) << "the source ended while the queue was filled";
    auto out = Run(1.5);
    EXPECT_GT(Db(Rms(Slice(out, 0.02, 0.28))), -16) << "the whole sound was heard";
    EXPECT_LT(Db(Rms(Slice(out, 0.4, 1.5))), -60);
    EXPECT_EQ(stream->Music, nullptr) << "the stream stopped itself";
    EXPECT_FALSE(stream->Playing());
}

TEST_F(AudioStream, PausingSkipsOneQueueOfMusicAndNoMore) {
    auto source = plat::New<CountingMusic>(Tone(1));
    auto stream = music::CreateAudioStream(source, 1, 0);
    Run(0.5);
    stream->SetPaused(true);
    EXPECT_FALSE(stream->Playing());
    long long atPause = source->pulled;
    auto quiet = Run(1.0);
    long long afterOne = source->pulled;
    Run(1.0);
    EXPECT_LE(afterOne - atPause, 16 * 8192) << "the queue is refilled once";
    EXPECT_GT(afterOne - atPause, 8 * 8192);
    EXPECT_EQ(source->pulled, afterOne) << "a paused stream pulls nothing more";
    EXPECT_LT(Db(Rms(Slice(quiet, 0.05, 1.0))), -60);

    stream->SetPaused(false);
    auto out = Run(0.6);
    EXPECT_TRUE(stream->Playing());
    EXPECT_TRUE(HasPitch(Slice(out, 0.05, 0.6), kA4));
}

TEST_F(AudioStream, VolumeAndRate) {
    auto stream = music::CreateAudioStream(Tone(1), 1, 0);
    double full = Rms(Slice(Run(0.6), 0.1, 0.6));
    stream->SetVolume(0.5f);
    double half = Rms(Slice(Run(0.6), 0.1, 0.6));
    EXPECT_NEAR(half / full, 0.5, 0.05);
    stream->SetVolume(1.0f);
    stream->SetRate(2.0f);
    EXPECT_TRUE(HasPitch(Slice(Run(0.6), 0.1, 0.6), 2 * kA4));
    stream->SetPan(0.5f);
    stream->SetDepth(1.0f);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(AudioStream, StopReleasesTheOutputAndDetaches) {
    TempDir dir;
    WriteBytes(dir / "t.wav", MakeWav({}, Sine(440, 0.5, 44100, 2, 16)));
    auto loaded = music::CreateAudioStream(std::string(dir / "t.wav"), 1, 0);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->KeepMusic, 0) << "the stream opened its own source";
    loaded->Stop();
    EXPECT_EQ(loaded->Music, nullptr);
    EXPECT_EQ(music::CreateAudioStream(std::string(dir / "missing.wav"), 1, 0), nullptr);

    auto source = plat::New<CountingMusic>(Tone(1));
    auto stream = music::CreateAudioStream(source, 1, 0);
    Run(0.3);
    stream->Stop();
    EXPECT_EQ(stream->Music, nullptr);
    long long atStop = source->pulled;
    auto out = Run(0.5);
    EXPECT_EQ(source->pulled, atStop);
    EXPECT_LT(Db(Rms(Slice(out, 0.02, 0.5))), -60);  // after the mixer's de-click ramp
    // A stopped stream ignores everything.
    stream->SetPaused(false);
    stream->SetVolume(0.3f);
    stream->Stop();
    EXPECT_FALSE(stream->Playing());

    // Dropping a playing stream stops it too.
    auto other = plat::New<CountingMusic>(Tone(1));
    auto dropped = music::CreateAudioStream(other, 1, 0);
    Run(0.2);
    dropped.reset();
    long long atDrop = other->pulled;
    EXPECT_LT(Db(Rms(Slice(Run(0.5), 0.02, 0.5))), -60);
    EXPECT_EQ(other->pulled, atDrop);
}

TEST_F(AudioStream, DriversWithoutOpenAL) {
    ASSERT_TRUE(plat::SetAudioDriver("FreeAudio"));
    auto source = plat::New<CountingMusic>(Tone(1));
    auto silent = music::CreateAudioStream(source, 1, 0);
    ASSERT_NE(silent, nullptr);
    EXPECT_TRUE(plat::Is<music::TFreeAudioAudioStream>(silent));
    Run(0.2);
    EXPECT_FALSE(silent->Playing());
    EXPECT_EQ(source->pulled, 0);

    EXPECT_FALSE(plat::SetAudioDriver("DirectSound"));
    EXPECT_EQ(plat::AudioDriverName(), "None");
    EXPECT_EQ(music::CreateAudioStream(Tone(1), 1, 0), nullptr);
}

TEST_F(AudioStream, ClosingTheDriverLeavesStreamsInert) {
    auto stream = music::CreateAudioStream(Tone(1), 1, 0);
    Run(0.2);
    ASSERT_TRUE(plat::SetAudioDriver("FreeAudio"));  // the OpenAL context goes away
    Run(0.1);
    EXPECT_EQ(stream->Music, nullptr) << "the next tick let it go";
    stream->SetVolume(0.5f);
    stream->SetPaused(true);
    stream->Stop();
    EXPECT_FALSE(stream->Playing());
}

TEST(AudioStreamMath, VolumeToAttenuation) {
    struct Case { float volume; int attenuation; };
    const Case cases[] = {{1.0f, 0}, {2.0f, 0}, {0.0f, -10000}, {-1.0f, -10000},
                          {0.1f, -3321}, {0.5f, -999}, {0.0001f, -10000},
                          {std::numeric_limits<float>::quiet_NaN(), -10000}};
    for (const Case& c : cases) EXPECT_EQ(music::VolumeToAttenuation(c.volume), c.attenuation) << c.volume;
}

// A blocking wait longer than the queue: the stream timer goes on ticking
// during it and refills what the device plays meanwhile.  The device here is
// a timer that mixes 5 ms at each of its ticks, as a sound card goes on
// mixing on its own while the program waits.
TEST_F(AudioStream, RefilledDuringABlockingWait) {
    auto source = plat::New<CountingMusic>(Tone(1));
    auto stream = music::CreateAudioStream(source, 1, 0);
    ASSERT_NE(stream, nullptr);
    auto* al = static_cast<music::TOpenALAudioStream*>(stream.get());
    Run(0.1);

    auto device = plat::CreateTimer(200);
    int mixed = 0, lowest = 16, stalls = 0;
    std::vector<double> out;
    const int hook = plat::AddHook([&](const plat::TEvent& e) {
        if (e.id != plat::EVENT_TIMERTICK || e.source != device) return;
        for (; mixed < e.data; ++mixed, ++step_) {
            const int frames = static_cast<int>((step_ + 1) * 441 / 2 - step_ * 441 / 2);
            const std::vector<std::int16_t> pcm = plat::RenderLoopback(frames);
            for (std::size_t f = 0; f + 1 < pcm.size(); f += 2) out.push_back(pcm[f] / 32768.0);
            ALint queued = 0, processed = 0;
            alGetSourcei(al->_source, AL_BUFFERS_QUEUED, &queued);
            alGetSourcei(al->_source, AL_BUFFERS_PROCESSED, &processed);
            lowest = std::min(lowest, static_cast<int>(queued - processed));
            stalls += stream->Playing() ? 0 : 1;
        }
    });
    const long long before = source->pulled;
    auto once = plat::CreateTimer(1.0);
    EXPECT_EQ(plat::WaitTimer(once), 1);
    plat::RemoveHook(hook);

    EXPECT_EQ(mixed, 200) << "the device mixed the whole second";
    EXPECT_EQ(stalls, 0);
    EXPECT_GE(lowest, 12) << "the queue never ran low";
    EXPECT_NEAR(static_cast<double>(source->pulled - before), 176400, 2 * 8192) << "refilled during the wait";
    EXPECT_LT(LongestQuiet(out, -40), 0.02) << "no gap";
    EXPECT_TRUE(stream->Playing());
}

}  // namespace
