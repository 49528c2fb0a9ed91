// The sound-channel pool, mixed for real through OpenAL Soft's loopback
// device: round-robin order, busy entries, replacement of stopped entries,
// and the balanced volumes measured in the rendered output.

#include <gtest/gtest.h>

#include <cmath>

#include "framework/banks.h"
#include "framework/channels.h"
#include "framework/game.h"
#include "platform/audio/audio.h"
#include "test_lib_util.h"

namespace {

constexpr int kRate = 44100;

class Channels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plat::OpenLoopbackAudio(kRate, 2));
        fw::Game = plat::New<fw::TGame>();
        fw::Game->Sound = 1;
        fw::Game->SoundVolume = 100;
        pool = fw::TChannelArray::Create(16);
        pool->MaxVol = 16;
        longSound = MakeSound(kRate * 2);  // two seconds
        shortSound = MakeSound(64);
    }
    void TearDown() override {
        if (pool) pool->Kill();
        fw::Game.reset();
        plat::ShutdownAudio();
    }

    // A square wave well below full scale, so sums never clip.
    plat::Ref<fw::TGameSound> MakeSound(int frames) {
        std::vector<std::int16_t> samples(static_cast<std::size_t>(frames));
        for (int i = 0; i < frames; ++i) samples[static_cast<std::size_t>(i)] = (i / 50) % 2 ? 2000 : -2000;
        const std::string path = dir / ("s" + std::to_string(frames) + ".wav");
        testlib::WriteBytes(path, testlib::MakeWav(samples, kRate));
        return fw::TGameSound::Create(path, 0);
    }

    int IndexOf(const plat::Ref<fw::TGameChannel>& entry) const {
        int i = 1;
        for (const auto& e : *pool) {
            if (e == entry) return i;
            ++i;
        }
        return -1;
    }

    // RMS of the left channel over a stretch of rendered output.
    static double RenderRms(int frames) {
        const auto pcm = plat::RenderLoopback(frames);
        double sum = 0;
        int n = 0;
        for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
            sum += static_cast<double>(pcm[i]) * pcm[i];
            ++n;
        }
        return n ? std::sqrt(sum / n) : 0;
    }

    // Level of one sound at volume 1 with nothing else playing.
    double ReferenceLevel() {
        auto e = pool->PlayGameSound(longSound, nullptr, 1.0f, 0);
        RenderRms(2048);  // past any start-up ramp
        const double level = RenderRms(8192);
        pool->StopGameChannel(e);
        RenderRms(2048);
        return level;
    }

    testlib::TempDir dir;
    plat::Ref<fw::TChannelArray> pool;
    plat::Ref<fw::TGameSound> longSound, shortSound;
};

TEST_F(Channels, CreateFillsThePoolAndStartsAtTheFirstEntry) {
    EXPECT_EQ(pool->Count(), 16);
    EXPECT_EQ(pool->Current, pool->First());
    EXPECT_EQ(pool->ChannelByIndex(1), pool->First());
    EXPECT_EQ(pool->ChannelByIndex(16), pool->Last());
    EXPECT_EQ(pool->ChannelByIndex(17), nullptr);
    EXPECT_EQ(pool->ChannelByIndex(0), nullptr);
    for (const auto& e : *pool) EXPECT_TRUE(e->Channel);
    EXPECT_FLOAT_EQ(fw::TChannelArray().MaxVol, 1.5f);
}

TEST_F(Channels, RoundRobinStartsAfterCurrent) {
    for (const auto& e : *pool) e->PlayWhenFinished = 0;
    std::vector<int> order;
    for (int i = 0; i < 18; ++i) order.push_back(IndexOf(pool->PlayGameSound(shortSound, nullptr, 1, 0)));
    std::vector<int> expected;
    for (int i = 2; i <= 16; ++i) expected.push_back(i);
    for (int i : {1, 2, 3}) expected.push_back(i);
    EXPECT_EQ(order, expected);
}

TEST_F(Channels, FinishedSoundsFreeTheirEntries) {
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 16; ++i) ASSERT_TRUE(pool->PlayGameSound(shortSound, nullptr, 1, 0)) << i;
        EXPECT_EQ(pool->CountPlaying(), 16);
        EXPECT_EQ(pool->PlayGameSound(shortSound, nullptr, 1, 0), nullptr) << "the pool never steals";
        RenderRms(4096);  // the short sounds end
        EXPECT_EQ(pool->CountPlaying(), 0);
    }
}

TEST_F(Channels, BusyRingGivesNothingEvenWhenCurrentIsIdle) {
    for (int i = 0; i < 16; ++i) pool->PlayGameSound(longSound, nullptr, 1, 0);
    pool->Current->Channel->Stop();
    EXPECT_FALSE(pool->Current->Channel->Playing());
    const auto current = pool->Current;
    EXPECT_EQ(pool->GetChannel(), nullptr);
    EXPECT_EQ(pool->Current, current);

    // One entry that does not wait for its sound is handed out while playing.
    pool->ChannelByIndex(5)->PlayWhenFinished = 0;
    auto e = pool->PlayGameSound(shortSound, nullptr, 1, 0);
    EXPECT_EQ(IndexOf(e), 5);
    // Reserved entries are never handed out.
    for (const auto& x : *pool) {
        x->Reserved = 1;
        x->PlayWhenFinished = 0;
    }
    EXPECT_EQ(pool->GetChannel(), nullptr);
}

TEST_F(Channels, PoolOfOneNeverHandsOutItsCurrentEntry) {
    auto one = fw::TChannelArray::Create(1);
    EXPECT_EQ(one->GetChannel(), nullptr);
    EXPECT_EQ(fw::TChannelArray::Create(0)->GetChannel(), nullptr);
    EXPECT_EQ(fw::TChannelArray().GetChannel(), nullptr);
    one->Kill();
}

TEST_F(Channels, StopGameChannelReplacesTheEntry) {
    auto handle = pool->PlayGameSound(longSound, nullptr, 1, 0);
    ASSERT_EQ(IndexOf(handle), 2);
    pool->StopGameChannel(handle);
    EXPECT_EQ(pool->Count(), 16);
    EXPECT_EQ(IndexOf(handle), -1);
    ASSERT_TRUE(handle->Channel);
    EXPECT_FALSE(handle->Channel->Playing());
    EXPECT_EQ(pool->Current, pool->Last());
    EXPECT_EQ(IndexOf(pool->PlayGameSound(shortSound, nullptr, 1, 0)), 1) << "the search starts at the first entry";

    // Stopping it again, or nothing at all, never grows the pool.
    pool->StopGameChannel(handle);
    pool->StopGameChannel(nullptr);
    EXPECT_EQ(pool->Count(), 16);
}

TEST_F(Channels, BalanceFactors) {
    EXPECT_FLOAT_EQ(pool->BalanceVolumes(0), 1.0f);
    pool->MaxVol = 1.5f;
    pool->PlayGameSound(longSound, nullptr, 1, 0);
    pool->PlayGameSound(longSound, nullptr, 1, 0);
    EXPECT_FLOAT_EQ(pool->BalanceVolumes(1), 0.5f);
    pool->MaxVol = 16;
    for (int i = 0; i < 14; ++i) pool->PlayGameSound(longSound, nullptr, 1, 0);
    EXPECT_EQ(pool->CountPlaying(), 16);
    EXPECT_FLOAT_EQ(pool->BalanceVolumes(1), 16.0f / 17.0f);
    EXPECT_FLOAT_EQ(pool->BalanceVolumes(0), 1.0f);
}

TEST_F(Channels, VolumesAreHeard) {
    const double ref = ReferenceLevel();
    ASSERT_GT(ref, 300);

    // Three sounds at once under MaxVol 16 add up; under MaxVol 1.5 each
    // is scaled to a half, the ones already playing included.
    for (float maxVol : {16.0f, 1.5f}) {
        SCOPED_TRACE(maxVol);
        pool->MaxVol = maxVol;
        std::vector<plat::Ref<fw::TGameChannel>> playing;
        for (int i = 0; i < 3; ++i) playing.push_back(pool->PlayGameSound(longSound, nullptr, 1.0f, 0));
        RenderRms(2048);
        const double expected = 3 * std::min(1.0f, maxVol / 3);
        EXPECT_NEAR(RenderRms(8192) / ref, expected, 0.05 * expected);
        for (auto& e : playing) pool->StopGameChannel(e);
        RenderRms(2048);
    }

    // The shell's sound volume and the play volume multiply: 0.6 x 0.5.
    fw::Game->SoundVolume = 60;
    auto e = pool->PlayGameSound(longSound, nullptr, 0.5f, 0);
    RenderRms(2048);
    EXPECT_NEAR(RenderRms(8192) / ref, 0.3, 0.015);
    // A later balance keeps the same level.
    pool->Manage();
    EXPECT_NEAR(RenderRms(8192) / ref, 0.3, 0.015);
    pool->StopGameChannel(e);
    EXPECT_LT(RenderRms(4096 + 2048), 0.05 * ref) << "a stopped entry is silent";
}

TEST_F(Channels, NothingPlaysWithTheShellSoundOff) {
    fw::Game->Sound = 0;
    auto e = pool->PlayGameSound(longSound, nullptr, 1, 0);
    EXPECT_TRUE(e) << "the entry is still handed out";
    EXPECT_EQ(pool->CountPlaying(), 0);
    EXPECT_EQ(pool->PlayGameSound(nullptr, nullptr, 1, 0), nullptr);
}

TEST_F(Channels, KillEmptiesThePool) {
    auto e = pool->PlayGameSound(longSound, nullptr, 1, 0);
    auto channel = e->Channel;
    pool->Kill();
    EXPECT_EQ(pool->Count(), 0);
    EXPECT_EQ(e->Channel, nullptr);
    EXPECT_FALSE(channel->Playing());
    EXPECT_EQ(pool->GetChannel(), nullptr);
}

}  // namespace
