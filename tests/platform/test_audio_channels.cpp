#include <gtest/gtest.h>
#include <AL/al.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/audio/audio.h"
#include "platform/core/clock.h"
#include "platform/io/fs.h"
#include "test_audio_wav.h"

using namespace plat;
using testutil::Sine16;
using testutil::WavBuilder;

namespace {

constexpr int kRate = 44100;
// The mixer dithers its 16-bit output, so silence is a level of a few steps.
constexpr int kSilence = 8;

Ref<TSound> SineSound(int channels, double amplitude, int frames, int flags = 0) {
    auto s = DecodeWav(WavBuilder().Fmt(1, channels, kRate, 16).Chunk("data", Sine16(frames, channels, amplitude)).Bytes(),
                       flags);
    EXPECT_TRUE(s);
    return s;
}

struct Level {
    int left = 0, right = 0;
};

// Peak levels of a stereo render, after the first frames in which the mixer
// ramps a new source in.
Level Peaks(const std::vector<std::int16_t>& v, std::size_t skipFrames = 512) {
    Level l;
    for (std::size_t i = skipFrames * 2; i + 1 < v.size(); i += 2) {
        l.left = std::max(l.left, std::abs(static_cast<int>(v[i])));
        l.right = std::max(l.right, std::abs(static_cast<int>(v[i + 1])));
    }
    return l;
}

int SampleOffset(const Ref<TChannel>& ch) {
    auto* al = dynamic_cast<OpenALChannel*>(ch.get());
    ALint offset = -1;
    if (al && al->Alive()) alGetSourcei(al->source, AL_SAMPLE_OFFSET, &offset);
    return offset;
}

class Loopback : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenLoopbackAudio(kRate, 2)); }
    void TearDown() override { ShutdownAudio(); }
};

}  // namespace

TEST_F(Loopback, PlayedSampleIsHeardAtItsGain) {
    auto sound = SineSound(2, 8000, kRate);
    auto ch = AllocChannel();
    ASSERT_TRUE(dynamic_cast<OpenALChannel*>(ch.get()));
    for (float gain : {1.0f, 0.5f, 0.25f, 0.0f}) {
        ch->SetVolume(gain);
        CueSound(sound, ch);
        ch->SetPaused(false);
        Level l = Peaks(RenderLoopback(4096));
        EXPECT_NEAR(l.left, 8000 * gain, 8000 * 0.02) << "gain " << gain;
        EXPECT_NEAR(l.right, 8000 * gain, 8000 * 0.02) << "gain " << gain;
    }
    // A mono sample follows the pan: fully left is silent on the right.
    auto mono = SineSound(1, 8000, kRate);
    ch->SetVolume(0.5f);
    ch->SetPan(-1.0f);
    PlaySound(mono, ch);
    Level left = Peaks(RenderLoopback(4096));
    EXPECT_NEAR(left.left, 4000, 80);
    EXPECT_LT(left.right, kSilence);
    ch->SetPan(1.0f);
    PlaySound(mono, ch);
    Level right = Peaks(RenderLoopback(4096));
    EXPECT_LT(right.left, kSilence);
    EXPECT_NEAR(right.right, 4000, 80);
}

TEST_F(Loopback, CuedSampleWaitsAndPauseKeepsThePosition) {
    auto sound = SineSound(2, 8000, kRate);
    auto ch = CueSound(sound);
    ASSERT_TRUE(ch);
    EXPECT_FALSE(ch->Playing());  // cued, not resumed
    EXPECT_LT(Peaks(RenderLoopback(2048), 0).left, kSilence);
    EXPECT_EQ(SampleOffset(ch), 0);

    ch->SetPaused(false);
    EXPECT_TRUE(ch->Playing());
    RenderLoopback(10000);
    int at = SampleOffset(ch);
    EXPECT_NEAR(at, 10000, 64);

    ch->SetPaused(true);
    EXPECT_FALSE(ch->Playing());
    EXPECT_LT(Peaks(RenderLoopback(5000)).left, kSilence);  // silent while paused, after a short fade
    EXPECT_EQ(SampleOffset(ch), at);

    ch->SetPaused(false);
    Level resumed = Peaks(RenderLoopback(10000));
    EXPECT_NEAR(resumed.left, 8000, 160);
    EXPECT_NEAR(SampleOffset(ch), at + 10000, 64);  // carried on, not restarted

    // Played to the end it stops, and resuming does not start it again.
    RenderLoopback(kRate);
    EXPECT_FALSE(ch->Playing());
    ch->SetPaused(false);
    EXPECT_FALSE(ch->Playing());
    ch->Stop();
    ch->SetPaused(false);
    EXPECT_FALSE(ch->Playing());
}

TEST_F(Loopback, RateChangesHowLongItPlaysAndLoopsKeepGoing) {
    auto sound = SineSound(1, 4000, kRate / 2);  // half a second
    auto fast = AllocChannel(), normal = AllocChannel();
    fast->SetRate(2.0f);
    PlaySound(sound, fast);
    PlaySound(sound, normal);
    RenderLoopback(kRate * 3 / 10);
    EXPECT_FALSE(fast->Playing());
    EXPECT_TRUE(normal->Playing());
    RenderLoopback(kRate * 3 / 10);
    EXPECT_FALSE(normal->Playing());

    auto loop = PlaySound(SineSound(1, 4000, 1000, SOUND_LOOP));
    RenderLoopback(kRate);
    EXPECT_TRUE(loop->Playing());
    StopChannel(loop);
    EXPECT_FALSE(ChannelPlaying(loop));
}

TEST_F(Loopback, SelectingTheActiveDriverAgainChangesNothing) {
    int generation = AudioGeneration();
    auto ch = PlaySound(SineSound(2, 8000, kRate));
    RenderLoopback(1000);
    // The program asks for its OpenAL driver once at start and again later.
    EXPECT_TRUE(SetAudioDriver("OpenAL Generic Software"));
    EXPECT_TRUE(SetAudioDriver("OpenAL Generic Software"));
    EXPECT_EQ(AudioDriverName(), "OpenAL Generic Software");
    EXPECT_EQ(AudioGeneration(), generation);
    EXPECT_TRUE(OpenALActive());
    EXPECT_TRUE(ch->Playing());
    EXPECT_NEAR(Peaks(RenderLoopback(4096), 0).left, 8000, 160);
}

TEST_F(Loopback, ChannelsOfAClosedDriverAreInert) {
    auto sound = SineSound(2, 8000, kRate);
    auto ch = PlaySound(sound);
    auto cued = CueSound(sound);
    auto* al = dynamic_cast<OpenALChannel*>(ch.get());
    ASSERT_TRUE(al && al->Alive());
    unsigned oldSource = al->source;

    ASSERT_TRUE(SetAudioDriver("FreeAudio"));
    EXPECT_FALSE(OpenALActive());
    EXPECT_FALSE(al->Alive());
    // Everything on the old channels is harmless and says "not playing".
    for (const auto& c : {ch, cued}) {
        c->SetVolume(0.3f);
        c->SetPan(0.5f);
        c->SetRate(1.5f);
        c->SetPaused(false);
        EXPECT_FALSE(c->Playing());
        CueSound(sound, c);
        c->Stop();
    }
    EXPECT_TRUE(RenderLoopback(100).empty());

    // A new device: the old channel stays dead even if the new device hands
    // out the same source name, and the sample gets a buffer there.
    ASSERT_TRUE(OpenLoopbackAudio(kRate, 2));
    auto fresh = PlaySound(sound);
    EXPECT_TRUE(fresh->Playing());
    EXPECT_FALSE(ch->Playing());
    ch->Stop();
    EXPECT_TRUE(fresh->Playing());
    EXPECT_NEAR(Peaks(RenderLoopback(4096)).left, 8000, 160);
    (void)oldSource;
}

TEST(AudioDrivers, NamesAndTheSilentDriver) {
    EXPECT_FALSE(SetAudioDriver("DirectSound"));
    EXPECT_EQ(AudioDriverName(), "None");
    EXPECT_FALSE(AudioDriverExists("DirectSound"));
    EXPECT_TRUE(AudioDriverExists("OpenAL Generic Software"));
    EXPECT_TRUE(AudioDriverExists("FreeAudio"));
    EXPECT_TRUE(EnableOpenALAudio());
    auto none = AllocChannel();
    ASSERT_TRUE(none);
    PlaySound(SineSound(1, 100, 100), none);  // harmless without a driver

    ManualClock clock(5000);
    ASSERT_TRUE(SetAudioDriver("FreeAudio"));
    EXPECT_TRUE(SetAudioDriver("FreeAudio"));
    EXPECT_EQ(AudioDriverName(), "FreeAudio");
    auto second = SineSound(1, 100, kRate);  // one second
    auto ch = CueSound(second);
    ASSERT_TRUE(dynamic_cast<SilentChannel*>(ch.get()));
    EXPECT_FALSE(ch->Playing());
    clock.Advance(2000);
    EXPECT_FALSE(ch->Playing());  // cued only: time does not run
    ch->SetPaused(false);
    clock.Advance(600);
    EXPECT_TRUE(ch->Playing());
    ch->SetPaused(true);
    EXPECT_FALSE(ch->Playing());
    clock.Advance(10000);
    ch->SetPaused(false);
    clock.Advance(399);
    EXPECT_TRUE(ch->Playing());
    clock.Advance(2);
    EXPECT_FALSE(ch->Playing());

    auto fast = AllocChannel();
    fast->SetRate(2.0f);
    PlaySound(second, fast);
    clock.Advance(499);
    EXPECT_TRUE(fast->Playing());
    clock.Advance(2);
    EXPECT_FALSE(fast->Playing());
    auto loop = PlaySound(SineSound(1, 100, 100, SOUND_LOOP));
    clock.Advance(100000);
    EXPECT_TRUE(loop->Playing());
    loop->Stop();
    EXPECT_FALSE(loop->Playing());
    ShutdownAudio();
    EXPECT_EQ(AudioDriverName(), "None");
}

TEST(AudioDrivers, NullOutputDeviceOpensForOpenALNames) {
    // The tests run with OpenAL Soft's "null" output, as CI has no sound card.
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    if (!drivers || std::string(drivers) != "null") GTEST_SKIP() << "needs ALSOFT_DRIVERS=null";
    ASSERT_TRUE(SetAudioDriver("OpenAL Generic Software"));
    EXPECT_TRUE(OpenALActive());
    int generation = AudioGeneration();
    EXPECT_TRUE(SetAudioDriver("OpenAL Default"));  // any OpenAL name: the same device
    EXPECT_EQ(AudioGeneration(), generation);
    auto ch = PlaySound(SineSound(1, 100, kRate));
    EXPECT_TRUE(dynamic_cast<OpenALChannel*>(ch.get()));
    ShutdownAudio();
    EXPECT_FALSE(OpenALActive());
    EXPECT_FALSE(ch->Playing());
}

// Run in a process of its own (OpenAL reads its driver list once): with no
// device at all the driver becomes "None" and channels stay silent.
static const int kNoDeviceChild = [] {
    const char* mode = std::getenv("VELMAROK_AUDIO_CHILD");
    if (!mode || std::string(mode) != "no-device") return 0;
    int code = 0;
    if (SetAudioDriver("OpenAL Generic Software")) code |= 1;
    if (AudioDriverName() != "None") code |= 2;
    if (OpenALActive()) code |= 4;
    auto sound = DecodeWav(WavBuilder().Fmt(1, 1, kRate, 16).Chunk("data", Sine16(100, 1, 100)).Bytes());
    auto ch = PlaySound(sound);
    if (!sound || !ch || dynamic_cast<OpenALChannel*>(ch.get())) code |= 8;
    if (SetAudioDriver("OpenAL Generic Software")) code |= 16;  // tried again, still nothing
    _exit(code);
}();

TEST(AudioDrivers, NoDeviceMeansDriverNoneAndSilence) {
    pid_t pid = fork();
    if (pid == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);  // the sound libraries complain about the missing card
        setenv("VELMAROK_AUDIO_CHILD", "no-device", 1);
        setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
        std::string self = AppFile();
        execl(self.c_str(), self.c_str(), "--gtest_list_tests", static_cast<char*>(nullptr));
        _exit(100);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
