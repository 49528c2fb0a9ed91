// Animation counters: phases, looping, cycling and ping-pong of TAnimation;
// the countdowns, the sine sweep, and the flasher with its sounds played
// through the channel pool (OpenAL Soft's loopback device).

#include <cmath>
#include <utility>
#include <vector>

#include "framework/animation.h"
#include "framework/channels.h"
#include "periphery_fixture.h"
#include "platform/audio/audio.h"
#include "test_lib_util.h"

namespace {

using periphery::PeripheryTest;
using AnimationTest = PeripheryTest;

TEST_F(AnimationTest, ACycleWithALoopTotalFinishesAfterItsLastPass) {
    auto anim = fw::TAnimation::Create(10, 0, 0, 1, 0);  // one phase of 2 ticks
    anim->LoopTotal = 3;
    anim->Start();
    int finishedAt = 0;
    for (int tick = 1; tick <= 20 && !finishedAt; ++tick) {
        anim->Manage();
        if (anim->Finished) finishedAt = tick;
    }
    EXPECT_EQ(finishedAt, 6) << "three passes of two ticks";
    EXPECT_EQ(anim->LoopCount, 3);
    EXPECT_EQ(anim->Active, 0);
    EXPECT_EQ(anim->Manage(), 0) << "an ended animation does nothing";

    anim->LoopTotal = 0;
    anim->Start();
    for (int tick = 0; tick < 1000; ++tick) anim->Manage();
    EXPECT_EQ(anim->Finished, 0) << "no loop limit: it never ends";
    EXPECT_EQ(anim->LoopCount, 500);

    auto rest = fw::TAnimation::Create(10, 1, 0, 0, 0);  // LeaveActive
    rest->AddPhase(20);
    rest->Start();
    Ticks(7, [&] { rest->Manage(); });
    EXPECT_EQ(rest->Finished, 1);
    EXPECT_EQ(rest->Active, 1) << "it rests on its last phase";
    EXPECT_EQ(rest->CurrentPhase, 1);
    EXPECT_FLOAT_EQ(rest->GetRatio(), 0);
}

// The phase and counter direction after each tick of a two-phase ping-pong.
std::vector<std::pair<int, int>> PingPongRun(int reverse, int ticks, bool& ratiosInRange) {
    auto anim = fw::TAnimation::Create(10, 0, reverse, 1, 1);
    anim->AddPhase(10);
    anim->Start();
    std::vector<std::pair<int, int>> visits;
    ratiosInRange = true;
    for (int tick = 0; tick < ticks; ++tick) {
        anim->Manage();
        const float r = anim->GetRatio();
        if (r < 0 || r > 1) ratiosInRange = false;
        const std::pair<int, int> now{anim->CurrentPhase, anim->Reverse};
        if (visits.empty() || visits.back() != now) visits.push_back(now);
    }
    return visits;
}

TEST_F(AnimationTest, PingPongRunsThePhasesBackAndForth) {
    bool inRange = false;
    // Counter falling in phases 0, 1; then rising back through 1, 0; then
    // falling through 0, 1 again.
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}};
    EXPECT_EQ(PingPongRun(0, 12, inRange), expected);
    EXPECT_TRUE(inRange);

    // Started with the counter rising, it turns round the same way, its
    // ratios staying within 0..1.
    const std::vector<std::pair<int, int>> rising = {{0, 1}, {1, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}};
    EXPECT_EQ(PingPongRun(1, 13, inRange), rising);
    EXPECT_TRUE(inRange);
}

TEST_F(AnimationTest, StopEndsThePassAndACycleGoesOn) {
    auto anim = fw::TAnimation::Create(50, 0, 0, 1, 0);
    anim->AddPhase(50);
    anim->Start();
    Ticks(3, [&] { anim->Manage(); });
    anim->Stop();
    EXPECT_EQ(anim->Active, 1);
    EXPECT_EQ(anim->Finished, 0);
    EXPECT_EQ(anim->LoopCount, 1);
    EXPECT_EQ(anim->CurrentPhase, 0);
    EXPECT_FLOAT_EQ(anim->Counter, 10) << "the next pass starts from the top";

    auto once = fw::TAnimation::Create(50, 0, 0, 0, 0);
    once->Start();
    once->Stop();
    EXPECT_EQ(once->Finished, 1);
    EXPECT_EQ(once->Active, 0);
}

TEST_F(AnimationTest, FramesRunForwardWhicheverWayTheCounterRuns) {
    for (int reverse : {0, 1}) {
        auto anim = fw::TAnimation::Create(100, 0, reverse, 0, 0);  // 20 ticks
        anim->Start();
        EXPECT_EQ(anim->GetAnimFrame(8), 0) << "reverse " << reverse;
        EXPECT_EQ(anim->GetAnimFrameProper(8), reverse ? 7 : 0);
        Ticks(19, [&] { anim->Manage(); });
        EXPECT_EQ(anim->GetAnimFrame(8), 7) << "reverse " << reverse;
        EXPECT_EQ(anim->GetAnimFrameProper(8), reverse ? 0 : 7);
    }
}

TEST_F(AnimationTest, PhasesBeyondTheFiftiethAreRefused) {
    auto anim = fw::TAnimation::Create(10, 0, 0, 0, 0);
    for (int i = 1; i < fw::TAnimation::MAX_PHASES; ++i) ASSERT_EQ(anim->AddPhase(10 * (i + 1)), 1);
    EXPECT_EQ(anim->TotalPhases, 50);
    EXPECT_EQ(anim->AddPhase(5), 0);
    EXPECT_EQ(anim->InsertPhase(5, 0), 0);
    EXPECT_EQ(anim->TotalPhases, 50);
    EXPECT_FLOAT_EQ(anim->Length[49], 100);

    auto few = fw::TAnimation::Create(10, 0, 0, 0, 0);
    few->AddPhase(20);
    EXPECT_EQ(few->InsertPhase(5, 3), 0) << "past the end";
    EXPECT_EQ(few->InsertPhase(5, -1), 0);
    EXPECT_EQ(few->InsertPhase(50, 1), 1);
    EXPECT_EQ(few->TotalPhases, 3);
    EXPECT_FLOAT_EQ(few->Length[0], 2);
    EXPECT_FLOAT_EQ(few->Length[1], 10);
    EXPECT_FLOAT_EQ(few->Length[2], 4);
    EXPECT_EQ(few->InsertPhase(5, 3), 1) << "at the end";

    few->Clear();
    EXPECT_EQ(few->TotalPhases, 1);
    EXPECT_FLOAT_EQ(few->Length[2], 4) << "the lengths stay";
}

TEST_F(AnimationTest, NothingOfNoLengthDividesByZero) {
    auto anim = fw::TAnimation::Create(0, 0, 0, 0, 0);
    anim->Start();
    EXPECT_FLOAT_EQ(anim->GetRatio(), 0);
    EXPECT_FLOAT_EQ(anim->GetRatioInvSine(), 1);
    anim->Manage();
    EXPECT_EQ(anim->Finished, 1);
    EXPECT_EQ(fw::TCounter::Create(0, 1)->GetRatio(), 0);
}

TEST_F(AnimationTest, CountersCountDownOnceActivated) {
    fw::TCounter idle;
    for (int i = 0; i < 100; ++i) ASSERT_EQ(idle.Manage(), 0) << "never activated";

    auto c = fw::TCounter::Create(50, 1);
    EXPECT_FLOAT_EQ(c->GetRatio(), 1);
    int endedAt = 0;
    for (int tick = 1; tick <= 20; ++tick)
        if (c->Manage() == 1) endedAt = endedAt ? endedAt : tick;
    EXPECT_EQ(endedAt, 10);
    EXPECT_EQ(c->Active, 0);
    EXPECT_FLOAT_EQ(c->GetRatio(), 0);

    auto list = plat::New<fw::TCounterList>();
    list->AddNew(50);
    list->AddNew(100);
    Ticks(10, [&] { list->Manage(1); });
    EXPECT_EQ(list->Count(), 1) << "the one that ran out left";
    Ticks(10, [&] { list->Manage(0); });
    EXPECT_EQ(list->Count(), 1) << "kept without remove";
}

TEST_F(AnimationTest, TheSineCounterSweepsWrapsAndRunsOnce) {
    auto s = fw::TSineCounter::Create(0, 360, 2, 0);
    EXPECT_FLOAT_EQ(s->ratio, 0);
    Ticks(45, [&] { s->Manage(); });
    EXPECT_NEAR(s->ratio, 1, 1e-6) << "90 degrees";
    Ticks(134, [&] { s->Manage(); });
    EXPECT_FLOAT_EQ(s->Counter, 358);
    s->Manage();
    EXPECT_FLOAT_EQ(s->Counter, 0) << "180 ticks sweep the circle";

    auto fast = fw::TSineCounter::Create(0, 360, 7, 0);
    Ticks(52, [&] { fast->Manage(); });
    EXPECT_FLOAT_EQ(fast->Counter, 4) << "the overshoot is kept";
    auto back = fw::TSineCounter::Create(0, 360, -7, 0);
    back->Manage();
    EXPECT_FLOAT_EQ(back->Counter, 353) << "a negative speed sweeps backwards";

    auto once = fw::TSineCounter::Create(0, 360, 2, 1);
    Ticks(180, [&] { once->Manage(); });
    EXPECT_FLOAT_EQ(once->Counter, 360);
    EXPECT_EQ(once->Active, 0);
    EXPECT_EQ(once->Manage(), 0);
    once->SetCounter(270);
    EXPECT_NEAR(once->ratio, -1, 1e-6);
}

class FlasherTest : public PeripheryTest {
protected:
    void SetUp() override {
        PeripheryTest::SetUp();
        ASSERT_TRUE(plat::OpenLoopbackAudio(44100, 2));
        std::vector<std::int16_t> samples(44100, 3000);  // one second
        testlib::WriteBytes(dir / "flash.wav", testlib::MakeWav(samples));
        sound = fw::TGameSound::Create(dir / "flash.wav", 0);
    }
    void TearDown() override {
        if (fw::Game && fw::Game->Channels) fw::Game->Channels->Kill();
        sound = nullptr;
        PeripheryTest::TearDown();
        plat::ShutdownAudio();
    }
    testlib::TempDir dir;
    plat::Ref<fw::TGameSound> sound;
};

TEST_F(FlasherTest, BlinksAfterItsDelayWithASoundOnEachChangeToOn) {
    fw::Game->Channels = fw::TChannelArray::Create(16);
    fw::Game->Channels->MaxVol = 16;
    // 200 ticks in all, 10 on, 10 off, after a delay of 20.
    auto f = fw::TFlasher::Create(1000, 50, 50, 100);
    f->FlashSound = sound;
    std::vector<std::pair<int, int>> changes;  // tick, new state
    int over = 0;
    for (int tick = 1; tick <= 210 && !over; ++tick) {
        const int before = f->FlashState;
        if (f->Manage() == 1) over = tick;
        if (f->FlashState != before) changes.emplace_back(tick, f->FlashState);
    }
    EXPECT_EQ(over, 200);
    ASSERT_GE(changes.size(), 4u);
    EXPECT_EQ(changes[0], std::make_pair(30, 0)) << "on first, off after the delay and the on time";
    EXPECT_EQ(changes[1], std::make_pair(41, 1));
    EXPECT_EQ(changes[2], std::make_pair(52, 0));
    int ons = 0;
    for (const auto& c : changes) ons += c.second;
    EXPECT_EQ(fw::Game->Channels->CountPlaying(), ons) << "one sound per change to on, none at the start";

    f->SetToOff();
    EXPECT_EQ(f->FlashState, 0);
    EXPECT_FLOAT_EQ(f->FlashCounter, 10);
}

TEST_F(FlasherTest, WithoutAPoolTheFlashSoundIsSilent) {
    auto f = fw::TFlasher::Create(1000, 50, 50, 0);
    f->FlashSound = sound;
    Ticks(200, [&] { f->Manage(); });
    EXPECT_EQ(fw::PlayPoolSound(sound), nullptr);
    fw::Game = nullptr;
    EXPECT_EQ(fw::PlayPoolSound(sound), nullptr) << "nor without a shell";
}

}  // namespace
