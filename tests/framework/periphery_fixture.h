#pragma once
// Shared set-up of the tests of sprites, effects and widgets: a fresh shell
// object with its tick length known (5 ms), Delta 1, the recording renderer,
// the window-sized drawing space of 640 x 480 (the virtual resolution off),
// and small helpers for pictures and recorded calls.  The recorder is left
// empty and the shared text-shadow style as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/banks.h"
#include "framework/drawing.h"
#include "framework/game.h"
#include "framework/input.h"
#include "framework/timing.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/image.h"
#include "platform/sys/events.h"

namespace periphery {

class PeripheryTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedScreen_[0] = fw::ScreenWidth;
        savedScreen_[1] = fw::ScreenHeight;
        savedScreen_[2] = fw::UseVirtualResolution;
        savedScreen_[3] = fw::VirtualWidth;
        savedScreen_[4] = fw::VirtualHeight;
        fw::ScreenWidth = 640;
        fw::ScreenHeight = 480;
        fw::UseVirtualResolution = 0;
        fw::VirtualWidth = 320;
        fw::VirtualHeight = 240;
        savedText_[0] = fw::TextShadowX;
        savedText_[1] = fw::TextShadowY;
        savedText_[2] = fw::TextShadowAlpha;
        savedText_[3] = fw::TextAlpha;
        plat::StartRecording();
        plat::ClearRecordedCalls();
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1);
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetScale(1, 1);
        plat::SetRotation(0);
        plat::FlushEvent();
        fw::FlushKeyTables();
        fw::Game = plat::New<fw::TGame>();
        fw::Game->FixedRateLogic->Init();
        fw::Delta = 1.0f;
    }
    void TearDown() override {
        fw::Game = nullptr;
        fw::Delta = 1.0f;
        // Tests that run after these in the same program find the recorder
        // empty and the shared text style as it was.
        plat::ClearRecordedCalls();
        plat::StopRecording();
        fw::SetShadowStyle(savedText_[0], savedText_[1], savedText_[2]);
        fw::TextAlpha = savedText_[3];
        plat::FlushEvent();
        fw::FlushKeyTables();
        fw::ScreenWidth = savedScreen_[0];
        fw::ScreenHeight = savedScreen_[1];
        fw::UseVirtualResolution = savedScreen_[2];
        fw::VirtualWidth = savedScreen_[3];
        fw::VirtualHeight = savedScreen_[4];
    }

public:
    // A picture of w x h with `frames` frames, opaque white, handled at its
    // middle when mid is 1.
    static plat::Ref<fw::TGameImage> Picture(int w, int h, int frames = 1, int mid = 0,
                                             const std::string& name = "pic") {
        auto image = plat::CreateImage(w, h, frames, 0);
        for (auto& p : image->pixmaps) std::fill(p->pixels.begin(), p->pixels.end(), 0xFFFFFFFFu);
        return fw::TGameImage::CreateFromImage(image, name, mid);
    }

protected:
    static std::vector<plat::DrawRecord> Calls(plat::DrawRecord::Kind kind) {
        std::vector<plat::DrawRecord> out;
        for (const auto& c : plat::RecordedCalls())
            if (c.kind == kind) out.push_back(c);
        return out;
    }

    // Runs `n` ticks of `step`.
    template <class F>
    static void Ticks(int n, F step) {
        for (int i = 0; i < n; ++i) step();
    }

private:
    int savedScreen_[5] = {};
    float savedText_[4] = {};
};

}  // namespace periphery
