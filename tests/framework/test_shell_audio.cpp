// The shell's music, sound and speech switches and volumes.

#include "framework/banks.h"
#include "framework/channels.h"
#include "platform/audio/audio.h"
#include "shell_fixture.h"

namespace {

using shelltest::ShellTest;

// The volume last given to a channel of either driver.
float VolumeOf(const plat::Ref<plat::TChannel>& channel) {
    if (auto* s = dynamic_cast<plat::SilentChannel*>(channel.get())) return s->volume;
    if (auto* a = dynamic_cast<plat::OpenALChannel*>(channel.get())) return a->volume;
    return -1;
}

// A short silent sample.
plat::Ref<plat::TSound> Sample(int frames = 22050) {
    auto s = plat::New<plat::TSound>();
    s->rate = 22050;
    s->channels = 1;
    s->bits = 16;
    s->data.assign(static_cast<std::size_t>(frames) * 2, 0);
    return s;
}

class AudioTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        StartShell();
        fw::Game->ChangeSoundDriver("FreeAudio", 0);
        fw::Game->MusicChannel = plat::AllocChannel();
        fw::Game->SpeechChannel = plat::AllocChannel();
    }
};

TEST_F(AudioTest, VolumesAreClampedAndCombined) {
    fw::Game->MusicSetVolume(150, 0);
    EXPECT_EQ(fw::Game->MusicVolume, 100);
    fw::Game->MusicChangeVolume(-250);
    EXPECT_EQ(fw::Game->MusicVolume, 0);
    fw::Game->MusicSetVolume(80, 0);
    fw::Game->CustomMusicVolume = 50;
    EXPECT_EQ(fw::Game->GetMusicVolume(), 40);
    fw::Game->MusicSetVolume(80, 0);
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 0.4f, 1e-6);
    fw::Game->SpeechSetVolume(-3, 0);
    EXPECT_EQ(fw::Game->SpeechVolume, 0);
    fw::Game->SoundChangeVolume(+20);
    EXPECT_EQ(fw::Game->SoundVolume, 100);
}

TEST_F(AudioTest, MusicCannotBeSwitchedOffBeforeATrackStarted) {
    fw::Game->ToggleMusic();
    EXPECT_EQ(fw::Game->Music, 1);
    fw::Game->MusicSet(Sample(), "tune", 1);
    fw::Game->MusicPlay(0, 0, 0);
    EXPECT_EQ(fw::Game->MusicName, "tune");
    EXPECT_TRUE(fw::Game->MusicChannel->Playing());
    fw::Game->ToggleMusic();
    EXPECT_EQ(fw::Game->Music, 0);
    EXPECT_FALSE(fw::Game->MusicChannel->Playing());
    fw::Game->ToggleMusic();
    EXPECT_EQ(fw::Game->Music, 1);
    EXPECT_TRUE(fw::Game->MusicChannel->Playing());
    // Toggling does nothing while paused.
    fw::Game->Paused = 1;
    fw::Game->ToggleMusic();
    EXPECT_EQ(fw::Game->Music, 1);
}

TEST_F(AudioTest, SwitchingMusicOnWithNoTrackSetLoadsNothing) {
    // As after a start with "MUSIC=0" in the settings.
    fw::Game->Music = 0;
    ASSERT_EQ(fw::Game->MusicFileName, "none");
    EXPECT_NO_THROW(fw::Game->ToggleMusic());
    EXPECT_EQ(fw::Game->Music, 1);
    EXPECT_EQ(fw::Game->MusicRestart, 1) << "the next track still starts afresh";
}

TEST_F(AudioTest, MusicFadesInAndOutOverTicks) {
    fw::Game->FixedRateLogic->Init();
    fw::Game->MusicFadeIn = 50;
    fw::Game->MusicSet(Sample(), "tune", 1);
    fw::Game->MusicPlay(1, 0, 0);
    EXPECT_FLOAT_EQ(fw::Game->MusicFadeInCounter, 9.8f);  // (50 - 1) ms in ticks
    fw::Delta = 1.0f;
    for (int i = 0; i < 20; ++i) fw::Game->MusicFadeInManage();
    EXPECT_FLOAT_EQ(fw::Game->MusicFadeInCounter, 0.0f);
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 1.0f, 1e-6);

    fw::Game->MusicFadeOutSet(100);
    for (int i = 0; i < 10; ++i) fw::Game->MusicFadeOutManage();
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 0.5f, 1e-5);

    // A fractional length counts in whole milliseconds, so the fade starts
    // at full volume and not above it.
    fw::Game->MusicFadeOutSet(100.5f);
    fw::Game->MusicFadeOutApply();
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 1.0f, 1e-6);
    fw::Game->MusicFadeOutManage();
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 0.95f, 1e-5);

    // Zero-length fades count as finished instead of dividing by zero.
    fw::Game->MusicFadeOut = 0.1f;
    fw::Game->MusicFadeOutCounter = 1;
    fw::Game->MusicFadeOutManage();
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 0.0f, 1e-6);
    fw::Game->PauseFadeLength = 0.5f;
    fw::Game->PauseFadeCounter = 1;
    fw::Game->PauseFadeDirection = 1;
    fw::Game->PauseFadeManage();
    EXPECT_NEAR(VolumeOf(fw::Game->MusicChannel), 1.0f, 1e-6);
}

TEST_F(AudioTest, ThePoolsCeilingIsItsSize) {
    fw::Game->ChannelsCreate(16);
    ASSERT_TRUE(fw::Game->Channels);
    EXPECT_FLOAT_EQ(fw::Game->Channels->MaxVol, 16.0f);
    EXPECT_EQ(fw::Game->Channels->Count(), 16);
    fw::Game->ChannelsKill();
    EXPECT_EQ(fw::Game->Channels, nullptr);
}

TEST_F(AudioTest, GameSoundPlayScalesTheEntryVolume) {
    auto entry = plat::New<fw::TGameSound>();
    entry->sound = Sample();
    entry->volume = 0.5f;
    entry->pitch = 1.5f;
    fw::Game->SoundVolume = 60;
    auto channel = plat::AllocChannel();
    fw::Game->GameSoundPlay(channel, entry, -1.0f);
    EXPECT_NEAR(VolumeOf(channel), 0.3f, 1e-6);
    EXPECT_TRUE(channel->Playing());
    if (auto* s = dynamic_cast<plat::SilentChannel*>(channel.get())) {
        EXPECT_FLOAT_EQ(s->rate, 1.5f);
        EXPECT_FLOAT_EQ(s->pan, -1.0f);
    }

    fw::Game->FixedRateLogic->Init();
    fw::Game->GameFade->Init(500, 1, nullptr, 0, 0);
    fw::Game->GameFade->Ratio = 0.5f;
    fw::Game->GameSoundPlay(channel, entry, 0);
    EXPECT_NEAR(VolumeOf(channel), 0.15f, 1e-6);

    plat::Ref<plat::TChannel> none;
    fw::Game->GameSoundPlay(none, entry, 0);
    EXPECT_EQ(none, nullptr) << "no channel: nothing plays";

    fw::Game->SoundOff();
    channel->Stop();
    fw::Game->GameSoundPlay(channel, entry, 0);
    EXPECT_FALSE(channel->Playing());
}

TEST_F(AudioTest, SpeechDoesNotCutItselfOff) {
    auto first = plat::New<fw::TGameSound>();
    first->sound = Sample(22050);
    auto second = plat::New<fw::TGameSound>();
    second->sound = Sample(100);
    fw::Game->SpeechPlay(first, 0);
    ASSERT_TRUE(fw::Game->SpeechChannel->Playing());
    fw::Game->SpeechPlay(second, 0);
    auto* s = dynamic_cast<plat::SilentChannel*>(fw::Game->SpeechChannel.get());
    if (s) {
        EXPECT_EQ(s->sound, first->sound);
    }
    fw::Game->SpeechPlay(second, 1);
    if (s) {
        EXPECT_EQ(s->sound, second->sound);
    }
    EXPECT_EQ(fw::Game->SpeechStopped, 0);

    EXPECT_EQ(fw::Game->SpeechOff(), 1);
    EXPECT_FALSE(fw::Game->SpeechChannel->Playing());
    EXPECT_EQ(fw::Game->SpeechOn(), 1);
    EXPECT_EQ(fw::Game->SpeechOn(), 0);
}

}  // namespace
