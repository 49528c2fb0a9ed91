// What loading a tune costs the program's start-up: the front end renders
// nothing before a tune plays, and a tune that plays starts on the stream
// timer's first tick, as it always has.

#include <gtest/gtest.h>

#include <AL/al.h>

#include "loopback_fixture.h"
#include "music/audio_stream.h"
#include "music/sid_stream.h"
#include "music_test_util.h"

namespace {

using namespace musictest;
using music::SidAudioStream;

// When a signal starts to sound: the first millisecond above -40 dB.
double Onset(const std::vector<double>& x) {
    for (double t = 0; t + 0.001 <= static_cast<double>(x.size()) / 44100; t += 0.001)
        if (Db(Rms(Slice(x, t, t + 0.001))) > -40) return t;
    return -1;
}

int QueuedBuffers() {
    auto* stream = dynamic_cast<music::TOpenALAudioStream*>(SidAudioStream::CurrentStream().get());
    if (!stream || !stream->_source) return -1;
    ALint queued = 0;
    alGetSourcei(stream->_source, AL_BUFFERS_QUEUED, &queued);
    return queued;
}

class SidStartUp : public LoopbackTest {
protected:
    // When a stream primed as it is created starts to sound (on its first
    // tick, as the front end's streams always did).
    double OnsetPrimedAtCreation(std::uint16_t song) {
        auto stream = music::CreateAudioStream(music::SIDStream::Load(TonesPath(), song, 44100, 203, 1), 1, 0);
        const double onset = Onset(Run(0.1));
        stream->Stop();
        Run(0.2);
        return onset;
    }
};

TEST_F(SidStartUp, ATuneLoadedAndStoppedRendersNothing) {
    SidAudioStream music;
    // As the intro and the title load their tunes: autoplay, then Stop.
    ASSERT_EQ(music.Load(GameTunePath("Nova.sid"), 1, 1, 1.0f, 1.0f), 1);
    EXPECT_EQ(QueuedBuffers(), 0) << "the playing stream waits for its first tick";
    EXPECT_TRUE(SidAudioStream::CurrentStream()->Playing());
    music.Stop();
    EXPECT_LT(Db(Rms(Run(0.5))), -60);
}

TEST_F(SidStartUp, PlayStartsTheTuneOnTheFirstTickAsAPrimedStreamWould) {
    SidAudioStream music;
    ASSERT_EQ(music.Load(TonesPath(), 1, 0, 1.0f, 1.0f), 1);
    for (int round = 0; round < 2; ++round) {
        const double primed = OnsetPrimedAtCreation(1);
        music.Play();
        EXPECT_EQ(QueuedBuffers(), 0);
        auto out = Run(0.5);
        EXPECT_EQ(QueuedBuffers(), 16) << "the first tick filled the queue";
        EXPECT_GT(primed, 0);
        // Within a tick of it (the mixer's own start varies by a millisecond or two).
        EXPECT_NEAR(Onset(out), primed, 0.003) << "round " << round;
        EXPECT_TRUE(HasPitch(Slice(out, 0.05, 0.5), kA4));
        music.Stop();
        Run(0.2);
    }
}

TEST_F(SidStartUp, PausedBeforeItsFirstTickTheTuneWaitsAndResumesFromItsStart) {
    const double primed = OnsetPrimedAtCreation(4);
    SidAudioStream music;
    ASSERT_EQ(music.Load(TonesPath(), 4, 1, 1.0f, 1.0f), 1);
    music.Pause();
    EXPECT_LT(Db(Rms(Run(0.5))), -60);
    EXPECT_EQ(QueuedBuffers(), 0) << "nothing rendered while paused";
    music.Play();
    auto out = Run(0.4);
    EXPECT_NEAR(Onset(out), primed, 0.003) << "from the beginning of the song";
    EXPECT_TRUE(HasPitch(Slice(out, 0.05, 0.4), kC5));
}

}  // namespace
