// The recording renderer, collision layers, frame pacing and texture reuse.

#include <vector>

#include "platform/core/clock.h"
#include "test_gfx_support.h"

using namespace plat;
using gfxtest::GfxTest;
using gfxtest::SolidImage;

TEST(GfxRecord, LogsCallsWithTheirStateWithoutAWindow) {
    EndGraphics();
    gfxtest::ResetDrawState();
    StartRecording();
    ClearRecordedCalls();
    ASSERT_TRUE(IsRecording());
    auto img = CreateImage(24, 21, 2, 0);
    SetImageHandle(img, 12, 10);
    SetColor(10, 20, 30);
    SetAlpha(0.5f);
    SetBlend(LIGHTBLEND);
    SetScale(2, 3);
    SetRotation(45);
    SetOrigin(5, 6);
    SetViewport(1, 2, 3, 4);
    DrawImage(img, 100, 50, 1);
    gfxtest::ResetDrawState();
    SetViewport(0, 0, 320, 240);
    DrawRect(1, 2, 3, 4);
    DrawLine(0, 0, 9, 0, false);
    DrawText("HI", 7, 8);
    Cls();
    const auto& calls = RecordedCalls();
    ASSERT_EQ(calls.size(), 5u);
    const DrawRecord& im = calls[0];
    EXPECT_EQ(im.kind, DrawRecord::IMAGE);
    EXPECT_EQ(im.image, img.get());
    EXPECT_EQ(im.frame, 1);
    EXPECT_EQ(im.x, 100);
    EXPECT_EQ(im.w, 24);
    EXPECT_EQ(im.hx, 12);
    EXPECT_EQ(im.hy, 10);
    EXPECT_EQ(im.r, 10);
    EXPECT_EQ(im.b, 30);
    EXPECT_FLOAT_EQ(im.alpha, 0.5f);
    EXPECT_EQ(im.blend, LIGHTBLEND);
    EXPECT_FLOAT_EQ(im.scaleY, 3);
    EXPECT_FLOAT_EQ(im.rotation, 45);
    EXPECT_FLOAT_EQ(im.originX, 5);
    EXPECT_EQ(im.vpH, 4);
    EXPECT_EQ(calls[1].kind, DrawRecord::RECT);
    EXPECT_EQ(calls[1].blend, ALPHABLEND);
    EXPECT_EQ(calls[1].h, 4);
    EXPECT_EQ(calls[2].kind, DrawRecord::LINE);
    EXPECT_EQ(calls[2].x2, 9);
    EXPECT_EQ(calls[3].kind, DrawRecord::TEXT);
    EXPECT_EQ(calls[3].text, "HI");
    EXPECT_EQ(calls[3].w, 16) << "measured in the current font";
    EXPECT_EQ(calls[4].kind, DrawRecord::CLS);
    // Out-of-range frames and null images are not drawn at all.
    ClearRecordedCalls();
    DrawImage(img, 0, 0, 2);
    DrawImage(nullptr, 0, 0);
    EXPECT_TRUE(RecordedCalls().empty());
    StopRecording();
    EXPECT_FALSE(IsRecording());
}

TEST(GfxCollide, OpaquePixelsCollideAndTransparentOnesDoNot) {
    gfxtest::ResetDrawState();
    ResetCollisions();
    // A 4 x 4 image whose left half is transparent.
    auto p = CreatePixmap(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x) p->Write(x, y, 0xFFFFFFFF);
    auto img = LoadImage(p, 0);
    auto a = New<Object>(), b = New<Object>();
    EXPECT_TRUE(CollideImage(img, 10, 10, 0, 0, 1, a).empty());
    EXPECT_TRUE(CollideImage(img, 30, 10, 0, 0, 2, b).empty());
    // Overlapping only a's transparent half: no hit.
    EXPECT_TRUE(CollideImage(img, 8, 10, 0, 1, 0).empty());
    // Overlapping its opaque half: a is hit; b lives in another layer.
    auto hits = CollideImage(img, 10, 12, 0, 1, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], a);
    hits = CollideRect(32, 11, 1, 1, 3, 0);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], b);
    // Scale places the shape as drawing does.
    SetScale(4, 4);
    // A 1x1 rectangle at scale 4 covers 4x4 from its position: from x 8 it
    // meets only a's transparent half (10..12), from x 9 its opaque half too.
    EXPECT_TRUE(CollideRect(8, 10, 1, 1, 1, 0).empty());
    EXPECT_EQ(CollideRect(9, 10, 1, 1, 1, 0).size(), 1u);
    SetScale(1, 1);
    ResetCollisions(1);
    EXPECT_TRUE(CollideImage(img, 10, 12, 0, 1, 0).empty());
    EXPECT_EQ(CollideImage(img, 30, 10, 0, 2, 0).size(), 1u);
    ResetCollisions();
    EXPECT_TRUE(CollideImage(img, 30, 10, 0, 2, 0).empty());
}

TEST_F(GfxTest, FlipPacesToTheRefreshRateOnAManualClock) {
    ASSERT_TRUE(Graphics(320, 240, 0, 60));
    ManualClock clock(5000);
    for (int i = 0; i < 60; ++i) Flip(-1);
    EXPECT_EQ(clock.Now(), 6000) << "60 frames at 60 Hz";
    Flip(0);
    EXPECT_EQ(clock.Now(), 6000) << "no pacing without sync";
    ASSERT_TRUE(Graphics(320, 240, 0, 50));
    Flip(-1);
    const auto t = clock.Now();
    Flip(-1);
    EXPECT_EQ(clock.Now() - t, 20);
}

TEST_F(GfxTest, SmallImagesReuseTheirTextureSlots) {
    SetBlend(SOLIDBLEND);
    // Far more small images over time than one page holds at once.
    for (int round = 0; round < 5; ++round) {
        std::vector<Ref<TImage>> imgs;
        for (int i = 0; i < 400; ++i) {
            const std::uint32_t c = 0xFF000000u | static_cast<std::uint32_t>(round * 400 + i);
            imgs.push_back(SolidImage(8, 8, c));
            DrawImage(imgs.back(), static_cast<float>((i % 40) * 8), static_cast<float>((i / 40) * 8));
        }
        auto back = GrabBackBuffer();
        for (int i = 0; i < 400; i += 37)
            EXPECT_EQ(back->Read((i % 40) * 8 + 3, (i / 40) * 8 + 3) & 0xFFFFFF,
                      static_cast<std::uint32_t>(round * 400 + i))
                << "round " << round << " image " << i;
    }
}
