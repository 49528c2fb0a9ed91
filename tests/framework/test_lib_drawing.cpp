// Drawing helpers: ARGB packing, pixel copies and blends on real pixmaps,
// the BMP writer's bytes, word wrapping and the text shadow through the
// recording renderer.

#include <gtest/gtest.h>

#include "framework/drawing.h"
#include "platform/core/error.h"
#include "platform/gfx/display.h"
#include "platform/gfx/draw.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/io/stream.h"
#include "test_lib_util.h"

namespace {

plat::Ref<plat::TImage> ImageOf(int w, int h, const std::vector<std::uint32_t>& pixels) {
    auto image = plat::CreateImage(w, h, 1, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->pixmaps[0]->Write(x, y, pixels[static_cast<std::size_t>(y * w + x)]);
    return image;
}

std::vector<std::uint32_t> PixelsOf(const plat::Ref<plat::TImage>& image) { return image->pixmaps[0]->pixels; }

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        plat::StartRecording();
        plat::ClearRecordedCalls();
        plat::SetImageFont(nullptr);
        plat::SetColor(255, 255, 255);
        plat::SetAlpha(1);
        plat::SetBlend(plat::ALPHABLEND);
        plat::SetScale(1, 1);
        fw::TextAlpha = 1;
        fw::SetShadowStyle(1, 1, 0.5f);
    }
    void TearDown() override {
        fw::TextAlpha = 1;
        plat::StopRecording();
    }
};

TEST(Argb, PackingIsUnsignedAndClamped) {
    EXPECT_EQ(fw::MakeARGB(255, 1, 2, 3), 0xFF010203u);
    EXPECT_EQ(fw::MakeARGB(300, -4, 128, 256), 0xFF0080FFu);
    EXPECT_EQ(fw::MakeARGB(-1, 0, 0, 0), 0u);
    EXPECT_EQ(fw::ARGBRed(0x80FF4020u), 255);
    EXPECT_EQ(fw::ARGBAlpha(0x80FF4020u), 128);
    EXPECT_EQ(fw::ARGBGreen(0x80FF4020u), 64);
    EXPECT_EQ(fw::ARGBBlue(0x80FF4020u), 32);
}

TEST(Pixels, CopyImageRectCutsToBothImages) {
    std::vector<std::uint32_t> src(16);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = 0xFF000000u + static_cast<std::uint32_t>(i);
    auto s = ImageOf(4, 4, src);
    auto d = ImageOf(3, 3, std::vector<std::uint32_t>(9, 0));
    fw::CopyImageRect(s, 1, 1, 10, 10, d, 1, 1);
    EXPECT_EQ(PixelsOf(d), (std::vector<std::uint32_t>{0, 0, 0, 0, src[5], src[6], 0, src[9], src[10]}));
    auto untouched = PixelsOf(d);
    fw::CopyImageRect(s, 4, 0, 1, 1, d, 0, 0);   // start outside the source
    fw::CopyImageRect(s, 0, 0, 1, 1, d, -1, 0);  // start outside the target
    fw::CopyImageRect(nullptr, 0, 0, 1, 1, d, 0, 0);
    EXPECT_EQ(PixelsOf(d), untouched);
}

TEST(Pixels, CopyImageRectFlippedModes) {
    const std::uint32_t A = 0xFF0000AAu, B = 0xFF0000BBu, C = 0xFF0000CCu, D = 0xFF0000DDu;
    auto s = ImageOf(2, 2, {A, B, C, D});
    const std::pair<int, std::vector<std::uint32_t>> cases[] = {
        {0, {A, B, C, D}}, {1, {B, A, D, C}}, {2, {C, D, A, B}}, {3, {D, C, B, A}}};
    for (const auto& [mode, expected] : cases) {
        auto d = ImageOf(2, 2, std::vector<std::uint32_t>(4, 0));
        fw::CopyImageRectFlipped(s, 0, 0, 2, 2, d, 0, 0, mode);
        EXPECT_EQ(PixelsOf(d), expected) << "mode " << mode;
    }
    // Mode 1 copies the last column of the rectangle to dx.
    auto wide = ImageOf(3, 1, {A, B, C});
    auto d = ImageOf(3, 1, std::vector<std::uint32_t>(3, 0));
    fw::CopyImageRectFlipped(wide, 0, 0, 3, 1, d, 0, 0, 1);
    EXPECT_EQ(PixelsOf(d), (std::vector<std::uint32_t>{C, B, A}));
}

TEST(Pixels, CopyImageKeepsFramesHandleAndPixels) {
    auto s = plat::CreateImage(2, 1, 3, 0);
    for (int f = 0; f < 3; ++f) s->pixmaps[static_cast<std::size_t>(f)]->Write(1, 0, 0xFF000000u + static_cast<std::uint32_t>(f));
    plat::SetImageHandle(s, 1, 0.5f);
    auto c = fw::CopyImage(s);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->Frames(), 3);
    EXPECT_FLOAT_EQ(c->handleX, 1);
    EXPECT_FLOAT_EQ(c->handleY, 0.5f);
    EXPECT_EQ(c->pixmaps[2]->Read(1, 0), 0xFF000002u);
    c->pixmaps[2]->Write(1, 0, 0);
    EXPECT_EQ(s->pixmaps[2]->Read(1, 0), 0xFF000002u) << "a real copy";
    EXPECT_EQ(fw::CopyImage(nullptr), nullptr);
}

TEST(Pixels, BlendIntoPixmapClampsChannels) {
    auto image = ImageOf(2, 1, {fw::MakeARGB(255, 200, 100, 50), fw::MakeARGB(0, 255, 255, 255)});
    auto target = plat::CreatePixmap(3, 1);
    target->Write(0, 0, fw::MakeARGB(255, 100, 100, 100));
    target->Write(1, 0, fw::MakeARGB(0, 10, 20, 30));
    target->Write(2, 0, 0x12345678u);
    fw::BlendImageIntoPixmap(image, 0, target, 0, 0, 1.0f, 1.0f);
    // 200 + 100 would be 300: clamped, never wrapped into the next channel.
    EXPECT_EQ(target->Read(0, 0), fw::MakeARGB(255, 255, 200, 150));
    EXPECT_EQ(target->Read(1, 0), fw::MakeARGB(0, 10, 20, 30)) << "transparent source leaves the target";
    EXPECT_EQ(target->Read(2, 0), 0x12345678u) << "outside the image";
    fw::BlendImageIntoPixmap(image, 0, target, 2, 0, 1.0f, 1.0f);  // half outside the pixmap
    try {
        fw::BlendImageIntoPixmap(nullptr, 0, target, 0, 0, 1, 1);
        FAIL();
    } catch (const plat::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "image doesnt exist");
    }
}

TEST(Bmp, ThreeByTwoPixmap) {
    testlib::TempDir dir;
    auto image = ImageOf(3, 2, {0xFF010203u, 0xFF040506u, 0xFF070809u,
                                0xFF0A0B0Cu, 0xFF0D0E0Fu, 0xFF101112u});
    const std::string path = dir / "x.bmp";
    ASSERT_TRUE(fw::SaveImageBMP(image, path));
    const auto bytes = testlib::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 78u);
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32(2), 78u);
    EXPECT_EQ(u32(10), 54u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 3u);
    EXPECT_EQ(u32(22), 2u);
    EXPECT_EQ(bytes[26] | bytes[27] << 8, 1);
    EXPECT_EQ(bytes[28] | bytes[29] << 8, 24);
    EXPECT_EQ(u32(34), 24u);
    EXPECT_EQ(u32(38), 2834u);
    EXPECT_EQ(u32(42), 2834u);
    // Bottom row first, blue-green-red, padded to 12 bytes.
    const std::vector<std::uint8_t> rows = {0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0, 0, 0,
                                            0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()), rows);
    EXPECT_FALSE(fw::SaveImageBMP(image, dir / "no/folder/x.bmp"));
}

TEST_F(Recording, WrapTextLines) {
    // The default font advances 8 pixels: "one two" is exactly 56 wide.
    const auto out = fw::WrapTextLines({"one two six", "", "one  two   six"}, 56, nullptr, 1.0f);
    EXPECT_EQ(out, (std::vector<std::string>{"one two", "six", "", "one two", "six"}));
    EXPECT_EQ(fw::WrapTextLines({"one two six"}, 56, nullptr, 2.0f),
              (std::vector<std::string>{"one", "two", "six"}));
    EXPECT_EQ(fw::WrapTextLines({"averyveryverylongword x"}, 16, nullptr, 1.0f),
              (std::vector<std::string>{"averyveryverylongword", "x"}));
    EXPECT_EQ(fw::WordWrapLines({"aa bb cc dd"}, 40, 16, 1, nullptr, 1.0f),
              (std::vector<std::string>{"aa bb", "cc", "dd"}));
}

TEST_F(Recording, ShadowedTextDrawsShadowThenText) {
    fw::TextAlpha = 0.5f;
    plat::SetColor(10, 20, 30);
    fw::DrawTextShadowed(100, 50, "HI", 1);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, plat::DrawRecord::TEXT);
    EXPECT_FLOAT_EQ(calls[0].alpha, 0.25f);
    EXPECT_EQ(calls[0].r + calls[0].g + calls[0].b, 0);
    EXPECT_FLOAT_EQ(calls[0].x, 100 - 8 + 1);
    EXPECT_FLOAT_EQ(calls[0].y, 51);
    EXPECT_FLOAT_EQ(calls[1].alpha, 0.5f);
    EXPECT_EQ(calls[1].r, 10);
    EXPECT_EQ(calls[1].b, 30);
    EXPECT_FLOAT_EQ(calls[1].x, 92);
    EXPECT_EQ(calls[1].blend, plat::ALPHABLEND);
    int r, g, b;
    plat::GetColor(r, g, b);
    EXPECT_EQ(r, 10);
}

TEST_F(Recording, RectOutlineAndDarkening) {
    fw::DrawRectOutline(100, 250, 600, 100);
    fw::DarkenRect(0.5f, 0, 0, 20, 10);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 5u);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[static_cast<std::size_t>(i)].kind, plat::DrawRecord::LINE);
        for (float x : {calls[static_cast<std::size_t>(i)].x, calls[static_cast<std::size_t>(i)].x2}) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        }
        for (float y : {calls[static_cast<std::size_t>(i)].y, calls[static_cast<std::size_t>(i)].y2}) {
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    EXPECT_EQ(minX, 100);
    EXPECT_EQ(maxX, 699);
    EXPECT_EQ(minY, 250);
    EXPECT_EQ(maxY, 349);
    EXPECT_EQ(calls[4].kind, plat::DrawRecord::RECT);
    EXPECT_FLOAT_EQ(calls[4].alpha, 0.5f);
    EXPECT_EQ(calls[4].r, 0);
    EXPECT_FLOAT_EQ(plat::GetAlpha(), 1.0f);
}

TEST(Pixels, ImageOverlapsRectSeesOnlyOpaquePixels) {
    // A 4 x 4 image whose right half is transparent.
    std::vector<std::uint32_t> px(16, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) px[static_cast<std::size_t>(y * 4 + x)] = 0xFF00FF00u;
    auto image = ImageOf(4, 4, px);
    struct Case {
        float rx, ry, rw, rh;
        int hit;
    } cases[] = {
        {10, 10, 2, 2, 1},   // over the opaque left half
        {12, 10, 2, 4, 0},   // only over the transparent half
        {14, 10, 5, 5, 0},   // beside the image
        {11, 13, 1, 1, 1},   // the bottom-left corner pixel
        {8, 8, 2, 2, 0},     // touching diagonally, outside
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::ImageOverlapsRect(image, 10, 10, 0, c.rx, c.ry, c.rw, c.rh), c.hit)
            << c.rx << "," << c.ry << " " << c.rw << "x" << c.rh;
    EXPECT_EQ(fw::ImageOverlapsRect(nullptr, 10, 10, 0, 0, 0, 100, 100), 0);
}

TEST_F(Recording, AdditiveAndClippedDrawingPutTheStateBack) {
    plat::SetVirtualResolution(320, 240);
    auto image = plat::CreateImage(4, 4, 1, 0);
    fw::DrawImageAdditive(image, 3, 4, 0.5f, 1.0f, 0.5f, 0.0f, 0);
    fw::DrawImageClipped(image, 10, 20, 30, 40, 0);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].blend, plat::LIGHTBLEND);
    EXPECT_EQ(calls[0].r, 127);
    EXPECT_EQ(calls[0].g, 63);
    EXPECT_EQ(calls[0].b, 0);
    EXPECT_EQ(calls[1].vpX, 10);
    EXPECT_EQ(calls[1].vpW, 30);
    EXPECT_EQ(calls[1].vpH, 40);
    EXPECT_EQ(calls[1].blend, plat::ALPHABLEND);
    EXPECT_EQ(calls[1].r + calls[1].g + calls[1].b, 3 * 255);
    int x, y, w, h;
    plat::GetViewport(x, y, w, h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 320) << "the viewport covers the whole drawing space again";
    EXPECT_EQ(h, 240);
}

TEST_F(Recording, DigitsUseTheirValueAsFrame) {
    auto digits = plat::CreateImage(6, 8, 10, 0);
    fw::DrawImageDigits("12a3", 10, 5, digits, 0, 0, 0);
    const auto& calls = plat::RecordedCalls();
    ASSERT_EQ(calls.size(), 4u);
    const int frames[] = {1, 2, 0, 3};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[i].frame, frames[i]);
        EXPECT_FLOAT_EQ(calls[i].x, 10 + 6.0f * static_cast<float>(i));
    }
    plat::ClearRecordedCalls();
    const std::vector<float> widths = {4, 2, 4, 4, 4, 4, 4, 4, 4, 4};
    const std::vector<float> offsets(10, 0);
    EXPECT_FLOAT_EQ(fw::ImageDigitsWidth("101", widths, offsets, 1, 1), 10);
    EXPECT_EQ(fw::DrawImageDigitsProportional("101", 20, 0, digits, widths, offsets, 1, 1, 0, 1), 10);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_FLOAT_EQ(calls[0].x, 15);
    EXPECT_FLOAT_EQ(calls[1].x, 18);
    EXPECT_FLOAT_EQ(calls[2].x, 23);

    // At scale 2 the digits span 4 + 2 + 8 + 2 + 4 = 20 pixels: centred on
    // 20 they start at 10 and the last ends at 30; the width returned is 20.
    plat::ClearRecordedCalls();
    EXPECT_EQ(fw::DrawImageDigitsProportional("101", 20, 0, digits, widths, offsets, 1, 1, 0, 2), 20);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_FLOAT_EQ(calls[0].x, 10);
    EXPECT_FLOAT_EQ(calls[1].x, 16);
    EXPECT_FLOAT_EQ(calls[2].x, 26);
    EXPECT_FLOAT_EQ(calls[2].x + 2 * widths[1], 30);
}

}  // namespace
