#pragma once
// Shared by the graphics tests: a window opened once per process, a clean
// drawing state per test, and pixel read-back from the back buffer.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pixmap.h"

namespace gfxtest {

inline void ResetDrawState() {
    plat::SetColor(255, 255, 255);
    plat::SetAlpha(1);
    plat::SetBlend(plat::ALPHABLEND);
    plat::SetScale(1, 1);
    plat::SetRotation(0);
    plat::SetOrigin(0, 0);
    plat::SetHandle(0, 0);
    plat::SetClsColor(0, 0, 0);
    plat::SetLineWidth(1);
    plat::SetImageFont(nullptr);
    plat::SetMaskColor(0, 0, 0);
    plat::AutoImageFlags(0);
    plat::AutoMidHandle(false);
}

// A window of w x h with the virtual resolution vw x vh, cleared.
class GfxTest : public ::testing::Test {
protected:
    void Open(int w, int h, float vw, float vh) {
        ASSERT_TRUE(plat::Graphics(w, h, 0, 60)) << "no GL window (SDL_VIDEODRIVER=offscreen?)";
        plat::SetVirtualResolution(vw, vh);
        ResetDrawState();
        plat::Cls();
    }
    void SetUp() override { Open(320, 240, 320, 240); }

    // The back buffer's colour at device pixel (x, y) as 0xRRGGBB.
    static std::uint32_t Pixel(int x, int y) {
        auto p = plat::GrabBackBuffer();
        return p ? (p->Read(x, y) & 0xFFFFFFu) : 0xDEADBEEFu;
    }
};

// Channels within `tol` of each other.
inline ::testing::AssertionResult NearColor(std::uint32_t got, std::uint32_t want, int tol = 2) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((got >> shift) & 255), b = static_cast<int>((want >> shift) & 255);
        if (std::abs(a - b) > tol)
            return ::testing::AssertionFailure()
                   << std::hex << "got 0x" << got << ", want 0x" << want;
    }
    return ::testing::AssertionSuccess();
}

inline plat::Ref<plat::TImage> SolidImage(int w, int h, std::uint32_t argb, int flags = 0) {
    auto p = plat::CreatePixmap(w, h);
    for (auto& px : p->pixels) px = argb;
    return plat::LoadImage(p, flags);
}

}  // namespace gfxtest
