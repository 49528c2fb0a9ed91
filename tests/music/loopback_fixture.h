#pragma once
// A program run on OpenAL Soft's loopback device with a hand-driven clock:
// time advances in 5 ms steps, the stream timer's ticks reach the streams,
// and the device mixes exactly that much sound, off-line and fast.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "music/sid_stream.h"
#include "platform/audio/audio.h"
#include "platform/core/clock.h"
#include "platform/sys/events.h"

namespace musictest {

// Counts the bytes a stream pulls from the source it wraps.
class CountingMusic : public music::TMusic {
public:
    explicit CountingMusic(music::Ref<music::TMusic> inner) : inner_(std::move(inner)) {
        SAMPLE_RATE = inner_->SAMPLE_RATE;
        STREAM_FORMAT = inner_->STREAM_FORMAT;
    }
    int FillBuffer(void* buffer, int length) override {
        pulled += length;
        return inner_->FillBuffer(buffer, length);
    }
    long long pulled = 0;

private:
    music::Ref<music::TMusic> inner_;
};

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        music::SidAudioStream().Dispose();
        music::ResetMusicModuleForTests();  // the stream timer starts on this clock
        ASSERT_TRUE(plat::OpenLoopbackAudio(44100, 2));
        music::InitSidStreamModule();
    }
    void TearDown() override {
        music::SidAudioStream().Dispose();
        plat::ShutdownAudio();
        music::ResetMusicModuleForTests();
    }

    // Runs for `seconds`; `each` (when given) is called after every step.
    // Returns the left channel of what was mixed.
    std::vector<double> Run(double seconds, const std::function<void()>& each = {}) {
        std::vector<double> out;
        const int steps = static_cast<int>(seconds * 200 + 0.5);
        for (int i = 0; i < steps; ++i, ++step_) {
            clock_.Advance(5);
            plat::CheckTimers(clock_.Now());
            int frames = static_cast<int>((step_ + 1) * 441 / 2 - step_ * 441 / 2);
            std::vector<std::int16_t> pcm = plat::RenderLoopback(frames);
            for (std::size_t f = 0; f + 1 < pcm.size(); f += 2) out.push_back(pcm[f] / 32768.0);
            if (each) each();
        }
        return out;
    }

    plat::ManualClock clock_{1000};
    long long step_ = 0;
};

}  // namespace musictest
